#pragma once

#include <vector>

#include "data/tournament.h"

namespace pairweb::data {

// Sets totalScore, progressive and wins of rounds 1 to r (r from 1).
void computeRunningTotals(Player& p, int r);

// Sets buchholz and medianBuchholz of round r from the opponents' totals after round r.
// An opponent id that matches no player contributes 0.
void computeBuchholz(Player& p, int r, const std::vector<Player>& players,
                     const PlayerIndex& index);

// Sets the round's commenced mark: some board with two players has a recorded result.
void computeCommenced(RoundRecord& round);

// Runs the whole computation for rounds 1 to roundCount, in the order the values need.
void computeTournament(Tournament& t);

// One entry of an order: the player's index in players and the points it was sorted with.
struct RankedPlayer {
    int index = 0;
    float points = 0;
};

// The first playerCount players (at most 400), best first, after round index i: points,
// tiebreaks 1 to 4, with ties kept in the order the insertion leaves them.
std::vector<RankedPlayer> standingsOrder(const std::vector<Player>& players, int playerCount,
                                         int i);

// The players by ascending start rank, built by the same insertion; each entry carries the
// points after round index i.
std::vector<RankedPlayer> startRankOrder(const std::vector<Player>& players, int playerCount,
                                         int i);

}  // namespace pairweb::data

#pragma once

#include <string>
#include <vector>

namespace pairweb::testing {

// One row of a players table.
struct PlayerRow {
    int order = 0;
    int id = 0;
    std::string surname;
    std::string firstName;
    std::string federation;
    std::string club;
    int intlRating = 0;
    int localRating = 0;
    std::string title;  // the digit code as stored ("1" is GM)
    bool deleted = false;
    // Requested byes, as stored; the table gets BONUS, ABSENT and LATE_ENTRY columns only
    // when some row sets one of them.
    std::string bonus = {};
    std::string absent = {};
    std::string lateEntry = {};
};

// One row of a games table; scores in half points as stored (2 a win, 1 a draw).
struct GameRow {
    int round = 0;
    int white = 0;
    int black = 0;
    int whiteScore = 0;
    int blackScore = 0;
    int whiteType = 0;
    bool deleted = false;
};

// Writes base + ".trn" and base + ".sco".
bool writeTournament(const std::string& base, const std::vector<PlayerRow>& players,
                     const std::vector<GameRow>& games);

// Players 1..n with ORDER = ID = k, surname "Player<k>", first name "P<k>".
std::vector<PlayerRow> numberedPlayers(int n);

}  // namespace pairweb::testing

#include "data/tournament.h"

namespace pairweb::testing {

// Writes the two tables under base, loads them as a run does and computes every round.
data::Tournament loadTournament(const std::string& base, const std::vector<PlayerRow>& players,
                                const std::vector<GameRow>& games);

// Five players and four rounds with a win, a draw, byes of one and half a point, forfeits of
// type 34, 35, 352 and 36, and a last round paired but not played.
std::vector<PlayerRow> smallEventPlayers();
std::vector<GameRow> smallEventGames();

}  // namespace pairweb::testing

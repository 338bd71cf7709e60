#pragma once

// The player lines of a TRF file as the reader takes them apart, and the rounds built from
// them: the part of the TRF reader that makes the games.

#include <array>
#include <optional>
#include <vector>

#include "data/tournament.h"

namespace pairweb::data {

// One round of a player line: the opponent's start rank (0: none), the colour (lower case)
// and the result code (upper case); blanks where the line has nothing.
struct TrfEntry {
    int opponent = 0;
    char32_t colour = U' ';
    char32_t code = U' ';
};

// A player line as read: the player, its rounds and its points column.
struct TrfLine {
    Player player;
    std::array<TrfEntry, kMaxRounds> rounds{};
    std::optional<double> points;
};

// The points a code without an opponent gives, or nothing when it gives no entry.
std::optional<float> trfUnpairedPoints(char32_t code);

// Whether a round of a line holds something: an opponent, or a code that gives an entry.
bool trfHasEntry(const TrfEntry& e);

// Builds the rounds of t from the player lines (player i of t.players is lines[i]) as a
// games table would hold them, and counts in t.skipped the games only one line shows and
// the players whose points column differs from their results.
void buildTrfRounds(Tournament& t, const std::vector<TrfLine>& lines);

}  // namespace pairweb::data

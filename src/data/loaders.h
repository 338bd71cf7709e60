#pragma once

#include <string>
#include <vector>

#include "data/tournament.h"
#include "platform/platform.h"

namespace pairweb::data {

// Number of records of the players table (a header count of 0 is taken as 26), or -1 when
// the table cannot be opened.
int countTableRecords(const std::string& trnPath,
                      const platform::Platform& files = platform::systemPlatform());

// Names of the three selectable tiebreaks, as the settings hold them.
struct TiebreakNames {
    std::string first;
    std::string second;
    std::string third;
};

// Builds the players of the players table into players (which the caller sized with
// countTableRecords), in table order; rows with ORDER 0 are not players. Rows whose ID lies
// outside 0-399, and rows beyond the size of players or beyond 400 players, are skipped.
// Returns the number built; 0 when the table cannot be opened. Skipped rows are counted in
// skipped when it is given.
int loadPlayers(const std::string& trnPath, std::vector<Player>& players,
                const TiebreakNames& tiebreaks, SkippedRows* skipped = nullptr,
                const platform::Platform& files = platform::systemPlatform());

// Reads the games table into rounds and the players' per-round entries. Records with a
// ROUND outside 1-40 are ignored; a 201st board or 401st unpaired entry of a round is
// dropped (and counted in skipped when it is given). Returns the highest round number, or -1
// when the table cannot be opened (then nothing changes).
int loadPairings(const std::string& scoPath, std::array<RoundRecord, kMaxRounds>& rounds,
                 std::vector<Player>& players, int playerCount,
                 SkippedRows* skipped = nullptr,
                 const platform::Platform& files = platform::systemPlatform());

}  // namespace pairweb::data

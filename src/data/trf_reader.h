#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "data/loaders.h"
#include "data/tournament.h"
#include "platform/platform.h"

namespace pairweb::data {

// FIDE's Tournament Report File (TRF16 and its 2026 revision, which keep the player line),
// written by nearly every pairing program. Only the player lines (001) and the event's name
// (012) are read; the games are rebuilt from the players' round columns as the games table
// of the SwissPerfect tables would hold them.
//
// Text: a file that is valid UTF-8 (with or without a byte-order mark) is UTF-8, any other
// Windows-1252; columns are counted in characters after decoding. Texts reach the model in
// Windows-1252, a character that Windows-1252 lacks as "?" (counted in the notes).

// Largest TRF file read; real ones hold a few hundred kilobytes.
constexpr std::size_t kMaxTrfBytes = 16u * 1024 * 1024;

// True when path ends in ".trf", in any case.
bool isTrfPath(std::string_view path);

// How reading a TRF file ended.
enum class TrfStatus {
    Loaded,
    Unreadable,  // the file cannot be read, or is larger than kMaxTrfBytes
    NoPlayers,   // no player line gave a player
};

// Builds the tournament of a TRF text into t (which starts empty): the players in line order,
// each with id and start rank from columns 5-8, then the rounds as Tournament describes them.
// Lines outside the model's bounds are skipped and counted in t.skipped, where the notes of
// what the site shows otherwise than the file writes it go too. Never throws; reads no byte
// outside text.
TrfStatus readTrf(std::string_view text, Tournament& t, const TiebreakNames& tiebreaks);

// readTrf on the file at path.
TrfStatus loadTrf(const std::string& path, Tournament& t, const TiebreakNames& tiebreaks,
                  const platform::Platform& files = platform::systemPlatform());

// The event's name from the first 012 line of a TRF text, without blanks around it, in
// Windows-1252; nothing when there is no such line or it is empty.
std::optional<std::string> trfTournamentNameOf(std::string_view text);

// trfTournamentNameOf on the file at path; nothing when it cannot be read.
std::optional<std::string> trfTournamentName(
    const std::string& path, const platform::Platform& files = platform::systemPlatform());

}  // namespace pairweb::data

#pragma once

#include <string>
#include <vector>

#include "data/tournament.h"

namespace pairweb::testing {

// The character set a TRF text is written in.
enum class TrfEncoding { Utf8, Windows1252 };

// A loaded tournament written as a TRF text, as a pairing program exports it: the 012 line,
// then one 001 line per player in players order (start rank, title letter, "surname, first
// name", rating, federation, points after the last round, and per round the opponent's
// start rank, colour and result code). Games come from the players' entries and their
// boards: a board without a result gets blank codes, forfeits "+" and "-"; unpaired entries
// are written "0000 - U", "H" or "Z" by their points. Texts of the model are Windows-1252.
std::string trfText(const data::Tournament& t, const std::string& title, TrfEncoding encoding);

// One player line written by hand (ASCII or Windows-1252, a byte a column): start rank,
// name from column 15, points column, then the rounds from column 92, each as "OOOO C R"
// (opponent, colour, code) padded to 10 columns.
std::string trfLine(const std::string& startRank, const std::string& name,
                    const std::string& points, const std::vector<std::string>& rounds);

}  // namespace pairweb::testing

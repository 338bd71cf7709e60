#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace pairweb::data {

// SwissPerfect keeps an .ini file beside the tables (the .trn path with ".ini" in place of
// its extension) whose [Tournament Info] section holds the event's Name=, in Windows-1252.

// The ini file's path for a .trn path.
std::string tournamentIniPath(const std::string& trnPath);

// The Name= value of the [Tournament Info] section of an ini text; nothing when the section
// or the key is missing or the name is empty.
std::optional<std::string> tournamentNameFromIni(std::string_view iniText);

// The event's name from the ini file beside a .trn; nothing when there is no such file, it
// cannot be read, or it names no event.
std::optional<std::string> tournamentName(
    const std::string& trnPath, const platform::Platform& files = platform::systemPlatform());

}  // namespace pairweb::data

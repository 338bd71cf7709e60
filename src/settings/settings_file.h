#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/settings.h"

namespace pairweb::settings {

// Path of the settings file of one slot: the program's folder, then "pairweb", the slot text
// as typed (no checks), and ".cfg".
std::string settingsFilePath(std::string_view programPath, std::string_view slot,
                             const platform::Platform& files = platform::systemPlatform());

// The whole file for these settings: 57 lines "Key [value]" with CR LF, in the fixed order.
std::string settingsFileText(const Settings& settings);

// Writes the settings file, replacing the former one only once the new one is complete.
// False when the file could not be written.
[[nodiscard]] bool writeSettingsFile(const std::string& path, const Settings& settings,
                                     platform::Platform& files = platform::systemPlatform());

enum class LoadResult {
    Loaded,      // every recognised line was applied
    Missing,     // no file system entry of that name; nothing changed
    Unreadable,  // the entry exists but cannot be read (a folder, no permission); nothing changed
};

// Message for a slot whose file does not exist.
constexpr std::string_view kMissingSettingsFileMessage = "That preference file does not exist!";

// Applies the lines of a settings file's text to the settings: only keys present change.
void applySettingsText(std::string_view text, Settings& settings,
                       const platform::Platform& files = platform::systemPlatform());

// Settings files larger than this are unreadable: a real one holds a few kilobytes.
constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

// Reads the settings file at path into settings.
[[nodiscard]] LoadResult readSettingsFile(
    const std::string& path, Settings& settings,
    const platform::Platform& files = platform::systemPlatform());

}  // namespace pairweb::settings

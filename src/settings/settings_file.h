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

// The whole file for these settings: 62 lines "Key [value]" with CR LF, in the fixed order.
std::string settingsFileText(const Settings& settings);

// How reading or writing a settings file ended.
enum class SettingsOutcome {
    Loaded,      // every recognised line was applied
    Saved,       // the file was written whole
    Missing,     // no file system entry of that name; nothing changed
    Unreadable,  // the entry exists but cannot be read (a folder, no permission); nothing changed
    NotSaved,    // the file could not be written; a former file stays as it was
};

// Messages of the failures: a slot whose file does not exist or cannot be read, and the
// start of the one for a file that could not be written (its path follows).
constexpr std::string_view kMissingSettingsFileMessage = "That preference file does not exist!";
constexpr std::string_view kUnreadableSettingsMessage = "That preference file cannot be read!";
constexpr std::string_view kNotSavedMessage = "The settings could not be saved to ";

// The end of a read or write: how it ended, the message for the user (empty on success) and
// the file's path.
struct SettingsResult {
    SettingsOutcome outcome = SettingsOutcome::Loaded;
    std::string message;
    std::string path;
    [[nodiscard]] bool ok() const {
        return outcome == SettingsOutcome::Loaded || outcome == SettingsOutcome::Saved;
    }
};

// Writes the settings file, replacing the former one only once the new one is complete.
[[nodiscard]] SettingsResult writeSettingsFile(
    const std::string& path, const Settings& settings,
    platform::Platform& files = platform::systemPlatform());

// Applies the lines of a settings file's text to the settings: only keys present change.
void applySettingsText(std::string_view text, Settings& settings,
                       const platform::Platform& files = platform::systemPlatform());

// Settings files larger than this are unreadable: a real one holds a few kilobytes.
constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

// Reads the settings file at path into settings.
[[nodiscard]] SettingsResult readSettingsFile(
    const std::string& path, Settings& settings,
    const platform::Platform& files = platform::systemPlatform());

}  // namespace pairweb::settings

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/password_hash.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace pairweb::site {

// The site's admin password: its hash goes into the PGN folder as a PHP file that returns
// it, so a web server runs it rather than serving it as text.

constexpr std::size_t kMinAdminPasswordLength = 8;  // characters
constexpr std::string_view kPasswordTooShort =
    "Error: the admin password must have at least 8 characters.";
constexpr std::string_view kPasswordNotHashed = "Error: the admin password could not be hashed.";
constexpr std::string_view kPasswordSet = "Admin password set in ";

// Computes the hash of a password (the system's cryptography, or a stand-in in tests).
using HashPassword = std::function<std::optional<platform::PasswordHash>(std::string_view)>;

// The file's text for a hash.
std::string adminPasswordFileText(const platform::PasswordHash& hash);

// How setting the admin password ended.
enum class PasswordOutcome {
    Set,
    InvalidOutputPath,
    NoOutputFolder,
    TooShort,
    NotHashed,
    CouldNotWrite,
};

// The end of setting the password: how it ended, the message for the user, and the password
// file's path when it was written or could not be.
struct PasswordResult {
    PasswordOutcome outcome = PasswordOutcome::Set;
    std::string message;
    std::string path;
    [[nodiscard]] bool ok() const { return outcome == PasswordOutcome::Set; }
};

// Sets the admin password of the site the settings describe (the home page's folder must
// exist; the PGN folder is made when missing). The message is kPasswordSet and the file's
// path, or what was refused.
PasswordResult setAdminPassword(const settings::Settings& s, std::string_view password,
                                const HashPassword& hash, platform::Platform& platform);

}  // namespace pairweb::site

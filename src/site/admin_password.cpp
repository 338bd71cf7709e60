#include "site/admin_password.h"

#include "data/windows1252.h"
#include "site/driver.h"
#include "site/layout.h"

namespace pairweb::site {
namespace {

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

std::size_t characters(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) data::nextUtf8(utf8, i);
    return count;
}

}  // namespace

std::string adminPasswordFileText(const platform::PasswordHash& hash) {
    return "<?php\n"
           "// The admin password of this site's game entry, as a salted PBKDF2-SHA256 hash.\n"
           "// Written by \"pairweb-gen --admin-password\"; generating the site never touches it.\n"
           "return array('algorithm' => 'pbkdf2-sha256', 'iterations' => " +
           std::to_string(hash.iterations) + ", 'salt' => '" + hex(hash.salt) + "', 'hash' => '" +
           hex(hash.hash) + "');\n";
}

PasswordResult setAdminPassword(const settings::Settings& s, std::string_view password,
                                const HashPassword& hash, platform::Platform& platform) {
    using enum PasswordOutcome;
    if (s.OutputIndex.find(platform.separator()) == std::string::npos) {
        return {InvalidOutputPath, std::string(kInvalidOutputPath), {}};
    }
    const SitePaths paths = derivePaths(s, platform.programPath(), platform.separator());
    if (!platform.exists(paths.outputFolder)) {
        return {NoOutputFolder, std::string(kNoOutputFolder), {}};
    }
    if (characters(password) < kMinAdminPasswordLength) {
        return {TooShort, std::string(kPasswordTooShort), {}};
    }
    const std::optional<platform::PasswordHash> h = hash(password);
    if (!h) {
        return {NotHashed, std::string(kPasswordNotHashed), {}};
    }
    if (!platform.exists(paths.pgnFolder)) {
        platform.createDirectory(paths.pgnFolder);
    }
    const std::string path = paths.pgnFolder + std::string(layout::kAdminPasswordFile);
    if (!platform.writeFile(path, adminPasswordFileText(*h))) {
        return {CouldNotWrite, std::string(kCouldNotWrite) + path, path};
    }
    return {Set, std::string(kPasswordSet) + path, path};
}

}  // namespace pairweb::site

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/password_store.h"

namespace pairweb::publish {

// How the site travels to the host.
enum class Protocol {
    FtpTls,    // ftp:// with TLS required (explicit, "AUTH TLS")
    PlainFtp,  // ftp:// without encryption, only when the settings allow it
    Sftp,      // sftp://
};

// Where the site goes: read from the PublishUrl setting.
struct Target {
    Protocol protocol = Protocol::FtpTls;
    std::string user;
    std::string host;    // as written, an IPv6 address in its brackets
    std::string port;    // digits, or empty for the protocol's default
    std::string folder;  // the remote folder, decoded, starting and ending with "/"

    // The address as shown to the user and kept in the manifest ("ftp://club@host/www/").
    std::string shown() const;
    // The address of a file or folder below the folder (path relative, "/" between folders,
    // a folder ending with "/"), percent-encoded for libcurl.
    std::string url(std::string_view relativePath) const;
};

// The key under which the system's password store keeps the password of the target: the
// scheme ("ftp" for both kinds of FTP, "sftp"), the host without IPv6 brackets, the user.
platform::PasswordKey passwordKey(const Target& target);

// Reads the setting; plainFtpAllowed is PublishPlainFtp. On failure, nothing, and problem
// says why in a sentence.
std::optional<Target> parseTarget(std::string_view publishUrl, bool plainFtpAllowed,
                                  std::string& problem);

}  // namespace pairweb::publish

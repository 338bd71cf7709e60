#pragma once

// Passwords for the web host that the system keeps for the user: on Windows the Credential
// Manager (a generic credential per protocol, host and user), elsewhere the netrc file of
// the user's home, the one curl reads too. One implementation file per OS
// (password_store_posix.cpp, password_store_windows.cpp) behind one interface.
//
// Threads: the system's store may be used from any thread; it keeps no state of its own
// between calls. Two writes of one entry at once leave one of the two passwords. Texts are
// UTF-8; a password never appears in a message or a log.

#include <optional>
#include <string>

namespace pairweb::platform {

// Which password: the protocol's scheme ("ftp", "sftp"), the host as the address names it
// (an IPv6 address without its brackets) and the user name.
struct PasswordKey {
    std::string protocol;
    std::string host;
    std::string user;
    bool operator==(const PasswordKey&) const = default;
};

enum class ForgetResult { Removed, NotKept, Failed };

class PasswordStore {
  public:
    virtual ~PasswordStore() = default;
    // The kept password, or nothing.
    virtual std::optional<std::string> find(const PasswordKey& key) const = 0;
    // Keeps password for key, replacing one kept before; false when the store cannot be
    // written.
    [[nodiscard]] virtual bool remember(const PasswordKey& key, const std::string& password) = 0;
    // Removes the password kept for key.
    virtual ForgetResult forget(const PasswordKey& key) = 0;
    // Where the passwords are kept, for messages: "the netrc file /home/ann/.netrc",
    // "Windows Credential Manager".
    virtual std::string where() const = 0;
};

// The system's own store.
PasswordStore& systemPasswordStore();

}  // namespace pairweb::platform

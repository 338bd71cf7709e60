#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "publish/target.h"

namespace pairweb::publish {

// Why a step of a publish failed, in the words the user is shown.
enum class Reason {
    None,
    WrongPassword,
    HostKeyNotTrusted,
    CertificateNotTrusted,
    NoEncryption,
    HostNotReachable,
    ConnectionLost,
    PermissionDenied,
    NoSpace,
    NotFound,
    Failed,
};

// The plain words for a reason ("wrong password", "host not reachable", ...).
std::string_view reasonText(Reason reason);

// What a step gave: no reason when it worked; detail adds what the user needs (the server's
// host key fingerprint, for one).
struct Step {
    Reason reason = Reason::None;
    std::string detail;
    [[nodiscard]] bool ok() const { return reason == Reason::None; }
    // The reason's words and the detail, for a message.
    std::string text() const;
};

// What a connection needs besides the address.
struct Credentials {
    std::string password;       // from the environment; empty: the netrc file is asked
    std::string netrcFile;      // the netrc file to read the password from
    std::string caFile;         // an extra certificate file to trust (FTP with TLS)
    std::string hostKey;        // the pinned SFTP host key, "SHA256:..."
    std::string privateKeyFile; // an SFTP private key file, or empty
};

// Bytes of the file in flight sent so far.
using ByteProgress = std::function<void(std::uint64_t sent)>;

// One connection to the host, reused for every step. Folders are given below the target's
// folder ("" for the folder itself, "pgn/"), names without folders.
class RemoteSession {
  public:
    RemoteSession(const Target& target, const Credentials& credentials);
    ~RemoteSession();
    RemoteSession(const RemoteSession&) = delete;
    RemoteSession& operator=(const RemoteSession&) = delete;

    // The names in a folder; NotFound when the folder does not exist.
    Step list(const std::string& folder, std::vector<std::string>& names);
    // Sends content to temporary in the folder (made when missing), then renames it over
    // name, so the name never stands for a partial file.
    Step upload(const std::string& folder, const std::string& name, std::string_view content,
                const std::string& temporary, const ByteProgress& progress);
    // Removes a file of the folder.
    Step remove(const std::string& folder, const std::string& name);
    // The fingerprint of the host key an SFTP server showed ("SHA256:..."); empty before.
    std::string serverHostKey() const;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace pairweb::publish

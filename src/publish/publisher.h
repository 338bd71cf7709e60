#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/password_store.h"
#include "publish/remote.h"
#include "settings/settings.h"

namespace pairweb::publish {

// How a publish ended.
enum class PublishOutcome {
    Published,     // every file that had to go was sent (or, dry run, listed)
    NotSet,        // PublishUrl is empty
    BadSetting,    // PublishUrl or another publishing setting cannot be used
    SiteUnreadable,
    Stopped,       // a step failed: see the message's file and reason
    Cancelled,     // asked to stop; the files sent so far are kept and recorded
};

// The end of a publish: how it ended, its one line for the user, the file it stopped at,
// and what was sent.
struct PublishResult {
    PublishOutcome outcome = PublishOutcome::Published;
    std::string message;
    std::string path;
    Reason reason = Reason::None;
    // HostKeyNotTrusted: the fingerprint of the key the server showed ("SHA256:...").
    std::string serverHostKey;
    int sent = 0;             // files uploaded
    int total = 0;            // files of the site
    std::uint64_t bytes = 0;  // bytes uploaded
    std::vector<std::string> planned;  // dry run: the files that would be sent, in order
    [[nodiscard]] bool ok() const { return outcome == PublishOutcome::Published; }
};

struct PublishOptions {
    bool everything = false;  // every file but the server's own, whatever the manifest says
    bool dryRun = false;      // list what would be sent; connect to nothing, send nothing
};

// Where a publish is while it runs: the file being sent (index from 0 of count) and the
// bytes of all files sent so far of the total.
struct PublishProgress {
    std::string path;
    int index = 0;
    int count = 0;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};
using ProgressReport = std::function<void(const PublishProgress&)>;

// The password and key files for the settings: the password from PAIRWEB_PUBLISH_PASSWORD
// when it is set, else the one the system's password store keeps for the address's
// protocol, host and user (the Credential Manager on Windows, the netrc file elsewhere),
// else none (libcurl then reads the netrc file of the user's home itself).
Credentials credentialsFor(const settings::Settings& s,
                           const platform::PasswordStore& store = platform::systemPasswordStore());

// A new temporary name of ours for a remote file ("pairweb-upload-....tmp"): a publish removes
// such files that an earlier one left behind.
std::string temporaryName();

// The store's key of the address in PublishUrl; nothing when it cannot be read.
std::optional<platform::PasswordKey> passwordKeyFor(const settings::Settings& s);

// Publishes the generated site (the folder of the settings' home page) to PublishUrl: the
// files that changed since the manifest, the server's own round files only when it lacks
// them, each through a temporary name, the index pages and then the home page last.
// cancel (when given) is looked at between files.
PublishResult publishSite(const settings::Settings& s, const Credentials& credentials,
                          const PublishOptions& options, const ProgressReport& progress = {},
                          const std::atomic<bool>* cancel = nullptr);

}  // namespace pairweb::publish

#pragma once

#include <string>

#include "publish/remote.h"
#include "settings/settings.h"

namespace pairweb::publish {

// How a test of the connection to the web host ended.
enum class CheckOutcome {
    Passed,      // connected, logged in, the folder is there (or was made), a file was written
    NotSet,      // PublishUrl is empty
    BadSetting,  // PublishUrl cannot be used
    Failed,      // a step failed: see reason and the message
};

// The end of a test of the connection: its outcome, what it says in plain words (a few
// sentences), the step's reason, and the server's host key when it was not trusted.
struct ConnectionCheck {
    CheckOutcome outcome = CheckOutcome::Passed;
    std::string message;
    Reason reason = Reason::None;
    std::string serverHostKey;   // HostKeyNotTrusted: the key the server showed
    bool folderCreated = false;  // the remote folder was not there and the test made it
    [[nodiscard]] bool ok() const { return outcome == CheckOutcome::Passed; }
};

// Connects to the host of PublishUrl and logs in, checks that the remote folder exists or
// makes it, writes a small temporary file of ours there and removes it again. The file has
// a temporary name that a publish would clean up, should the test be cut off.
ConnectionCheck checkConnection(const settings::Settings& s, const Credentials& credentials);

}  // namespace pairweb::publish

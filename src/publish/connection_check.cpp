#include "publish/connection_check.h"

#include "publish/publisher.h"
#include "publish/target.h"

namespace pairweb::publish {
namespace {

constexpr std::string_view kCheckContent = "pairweb connection test: this file may be removed\n";

ConnectionCheck failed(const RemoteSession& remote, const Step& step, std::string message) {
    ConnectionCheck c;
    c.outcome = CheckOutcome::Failed;
    c.reason = step.reason;
    if (step.reason == Reason::HostKeyNotTrusted) c.serverHostKey = remote.serverHostKey();
    c.message = std::move(message) + ": " + step.text() + ".";
    return c;
}

}  // namespace

ConnectionCheck checkConnection(const settings::Settings& s, const Credentials& credentials) {
    ConnectionCheck check;
    if (s.PublishUrl.empty()) {
        check.outcome = CheckOutcome::NotSet;
        check.message = "There is nowhere to publish to: the host is not set.";
        return check;
    }
    std::string problem;
    const std::optional<Target> target = parseTarget(s.PublishUrl, s.PublishPlainFtp != 0, problem);
    if (!target) {
        check.outcome = CheckOutcome::BadSetting;
        check.message = problem;
        return check;
    }
    const std::string shown = target->shown();
    RemoteSession remote(*target, credentials);

    // Listing the folder connects and logs in; a folder that is not there is made by the
    // upload below.
    std::vector<std::string> names;
    const Step listed = remote.list("", names);
    if (!listed.ok() && listed.reason != Reason::NotFound) {
        return failed(remote, listed, "Could not connect to " + shown);
    }
    check.folderCreated = listed.reason == Reason::NotFound;
    const std::string connected = "Connected and logged in to " + shown;

    const std::string name = temporaryName();
    if (const Step sent = remote.upload("", name, kCheckContent, temporaryName(), {}); !sent.ok()) {
        return failed(
            remote, sent,
            connected + ", but " +
                (check.folderCreated ? "the folder " + target->folder + " could not be made there"
                                     : "no file could be written in the folder " + target->folder));
    }
    if (const Step removed = remote.remove("", name); !removed.ok()) {
        return failed(remote, removed,
                      connected + " and wrote a test file in " + target->folder +
                          ", but could not remove it again (" + name + ")");
    }
    check.message = connected + ". The folder " + target->folder +
                    (check.folderCreated ? " was not there and has been made" : " is there") +
                    ", and a test file was written in it and removed again.";
    return check;
}

}  // namespace pairweb::publish

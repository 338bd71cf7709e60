#include "app/publish_flow.h"

namespace pairweb::app {
namespace {

using publish::Reason;

constexpr std::string_view kRemember = "Remember this password";

std::string kilobytes(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024); }

std::string sessionId(const platform::PasswordKey& key) {
    return key.protocol + "\n" + key.host + "\n" + key.user;
}

// Reasons that come before the server could take or refuse a password: a password given
// then is not known to be right.
bool passwordUntried(Reason reason) {
    return reason == Reason::WrongPassword || reason == Reason::HostNotReachable ||
           reason == Reason::HostKeyNotTrusted || reason == Reason::CertificateNotTrusted ||
           reason == Reason::NoEncryption;
}

std::string hostOf(PublishService& service, const settings::Settings& s) {
    const auto key = service.passwordKey(s);
    return key ? key->host : std::string("the host");
}

}  // namespace

std::string changedHostKeyText(const std::string& host, const std::string& trusted,
                               const std::string& shown) {
    return "The host key of " + host + " has changed: the server now shows " + shown +
           ", but the key trusted before is " + trusted +
           ". Someone may stand between you and the host. Ask the host whether it changed "
           "its key; only then clear the SFTP host key on the Publish page, so that the new "
           "key can be checked and trusted.";
}

PublishFlow::PublishFlow(Prompts& prompts, std::string caption)
    : m_prompts(prompts),
      m_caption(std::move(caption)),
      m_own(makePublishService(platform::systemPasswordStore())),
      m_service(m_own.get()),
      m_store(&platform::systemPasswordStore()) {}

PublishFlow::~PublishFlow() = default;

void PublishFlow::setStore(platform::PasswordStore& store) {
    const bool ownService = m_service == m_own.get();
    m_store = &store;
    m_own = makePublishService(store);
    if (ownService) m_service = m_own.get();
}

void PublishFlow::tell(const std::string& text, MessageKind kind) {
    m_prompts.message(m_caption, text, kind);
}

void PublishFlow::runModal(BackgroundTask& task) {
    if (m_runProgress) m_runProgress(task);
    task.wait();
}

std::optional<PasswordAnswer> PublishFlow::askPassword(const platform::PasswordKey& key,
                                                       bool refused) {
    const std::string who = key.user + " on " + key.host;
    return m_prompts.askPassword(
        {"Password",
         refused ? "The server did not accept the password. The password of " + who + ":"
                 : "The password of " + who + " for publishing:",
         std::string(kRemember)});
}

bool PublishFlow::askTrust(const settings::Settings& s, const std::string& hostKey) {
    return m_prompts.ask(
        "Host key",
        "The SFTP server " + hostOf(*m_service, s) + " shows this host key:\n\n" + hostKey +
            "\n\nIt has not been trusted before. Trust it only when it is the key that your host "
            "gives you (in its control panel, or by mail). Trust this key and go on?");
}

PublishFlow::Attempt PublishFlow::attempt(
    settings::Settings& s, const std::function<Reply(const publish::Credentials&)>& once) {
    m_note.clear();
    const std::optional<platform::PasswordKey> key = m_service->passwordKey(s);
    publish::Credentials credentials = m_service->credentials(s);
    std::optional<PasswordAnswer> given;
    if (credentials.password.empty() && key) {
        if (const auto known = m_session.find(sessionId(*key)); known != m_session.end()) {
            credentials.password = known->second;
        } else if (!(key->protocol == "sftp" && !s.PublishKeyFile.empty())) {
            // An SFTP key file may be all the login needs; otherwise ask before connecting.
            given = askPassword(*key, false);
            if (!given) return {End::NoPassword, {}};
            credentials.password = given->password;
        }
    }
    for (;;) {
        const Reply reply = once(credentials);
        if (reply.reason == Reason::WrongPassword && key) {
            given = askPassword(*key, true);
            if (!given) return {End::Done, reply};
            credentials.password = given->password;
            continue;
        }
        if (reply.reason == Reason::HostKeyNotTrusted && !reply.serverHostKey.empty()) {
            // A key trusted before and another one now is never trusted silently.
            if (!s.PublishHostKey.empty()) return {End::KeyChanged, reply};
            if (!askTrust(s, reply.serverHostKey)) return {End::NotTrusted, reply};
            s.PublishHostKey = reply.serverHostKey;
            credentials.hostKey = reply.serverHostKey;
            continue;
        }
        if (given && key && !passwordUntried(reply.reason)) {
            m_session[sessionId(*key)] = given->password;
            if (given->remember && !m_store->remember(*key, given->password)) {
                m_note = "The password could not be kept in " + m_store->where() + ".";
            }
        }
        return {End::Done, reply};
    }
}

publish::PublishResult PublishFlow::runPublish(const settings::Settings& s,
                                               const publish::Credentials& credentials) {
    BackgroundTask task("Publishing", "Connecting to " + s.PublishUrl,
                        "Cancelling: the file being sent is finished first");
    publish::PublishResult result;
    task.start([this, &result, &credentials, copy = s](BackgroundTask& t) {
        const auto progress = [&t](const publish::PublishProgress& p) {
            const int percent =
                p.bytesTotal == 0 ? 0 : static_cast<int>(p.bytesDone * 100 / p.bytesTotal);
            t.report("Sending " + p.path,
                     "File " + std::to_string(p.index + 1) + " of " + std::to_string(p.count) +
                         ", " + kilobytes(p.bytesDone) + " of " + kilobytes(p.bytesTotal) + " KB",
                     percent);
        };
        result = m_service->publish(copy, credentials, progress, t.cancelRequested());
    });
    runModal(task);
    return result;
}

publish::ConnectionCheck PublishFlow::runCheck(const settings::Settings& s,
                                               const publish::Credentials& credentials) {
    BackgroundTask task("Test connection", "Connecting to " + s.PublishUrl, "");
    publish::ConnectionCheck check;
    task.start([this, &check, &credentials, copy = s](BackgroundTask&) {
        check = m_service->check(copy, credentials);
    });
    runModal(task);
    return check;
}

FlowMessage PublishFlow::publishGenerated(settings::Settings& s, const std::string& generated) {
    const auto then = [&generated, this](std::string more, MessageKind kind) {
        if (!m_note.empty()) more += " " + m_note;
        return FlowMessage{generated + "\n\n" + more, kind};
    };
    if (s.PublishUrl.empty()) {
        m_note.clear();
        return then("Not published: no host is set on the Publish page of the options.",
                    MessageKind::Warning);
    }
    publish::PublishResult result;
    const Attempt a = attempt(s, [&](const publish::Credentials& credentials) {
        result = runPublish(s, credentials);
        return Reply{result.reason, result.serverHostKey};
    });
    switch (a.end) {
        case End::NoPassword:
            return then("Not published: no password was given.", MessageKind::Information);
        case End::NotTrusted:
            return then("Not published: the server's host key was not trusted.",
                        MessageKind::Information);
        case End::KeyChanged:
            return then("Error: not published. " + changedHostKeyText(hostOf(*m_service, s),
                                                                      s.PublishHostKey,
                                                                      a.last.serverHostKey),
                        MessageKind::Warning);
        case End::Done:
            break;
    }
    if (result.ok()) {
        std::string text = "Web page generated and published (" + std::to_string(result.sent) +
                           " of " + std::to_string(result.total) + " files, " +
                           kilobytes(result.bytes) + " KB).";
        if (!m_note.empty()) text += " " + m_note;
        return {text, MessageKind::Information};
    }
    return then(result.message, result.outcome == publish::PublishOutcome::Cancelled
                                    ? MessageKind::Information
                                    : MessageKind::Warning);
}

void PublishFlow::testConnection(settings::Settings& s) {
    if (s.PublishUrl.empty()) {
        tell("There is nothing to test yet: fill in the host and the user name.",
             MessageKind::Warning);
        return;
    }
    const std::string keyBefore = s.PublishHostKey;
    publish::ConnectionCheck check;
    const Attempt a = attempt(s, [&](const publish::Credentials& credentials) {
        check = runCheck(s, credentials);
        return Reply{check.reason, check.serverHostKey};
    });
    switch (a.end) {
        case End::NoPassword:
        case End::NotTrusted:
            return;  // the user stopped it
        case End::KeyChanged:
            tell(changedHostKeyText(hostOf(*m_service, s), s.PublishHostKey, a.last.serverHostKey),
                 MessageKind::Warning);
            return;
        case End::Done:
            break;
    }
    std::string text = check.message;
    if (keyBefore.empty() && !s.PublishHostKey.empty()) {
        text += " The server's host key is now trusted and shown on the Publish page.";
    }
    if (!m_note.empty()) text += " " + m_note;
    tell(text, messageKind(check.ok()));
}

void PublishFlow::forgetPassword(const settings::Settings& s) {
    const std::optional<platform::PasswordKey> key = m_service->passwordKey(s);
    if (!key) {
        tell("There is no password to forget: the host and the user name are not set.",
             MessageKind::Information);
        return;
    }
    m_session.erase(sessionId(*key));
    const std::string who = key->user + " on " + key->host;
    switch (m_store->forget(*key)) {
        case platform::ForgetResult::Removed:
            tell("The password of " + who + " is no longer kept in " + m_store->where() + ".",
                 MessageKind::Information);
            break;
        case platform::ForgetResult::NotKept:
            tell("No password of " + who + " is kept in " + m_store->where() + ".",
                 MessageKind::Information);
            break;
        case platform::ForgetResult::Failed:
            tell("The password of " + who + " could not be removed from " + m_store->where() + ".",
                 MessageKind::Warning);
            break;
    }
}

}  // namespace pairweb::app

#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/background_task.h"
#include "app/prompts.h"
#include "app/publish_service.h"
#include "platform/password_store.h"
#include "settings/settings.h"

namespace pairweb::app {

// The one message box a flow ends with: its text and icon.
struct FlowMessage {
    std::string text;
    MessageKind kind = MessageKind::Information;
    bool operator==(const FlowMessage&) const = default;
};

// Publishing from the apps: the password (from the system's store, or asked for with
// "Remember this password"), trusting an SFTP server's host key on the first connection and
// refusing a changed one, the work on a thread of its own under a progress dialog with
// Cancel, and the texts of the end. The front ends give the questions (Prompts) and the
// progress dialog (RunProgress); everything else is decided here.
class PublishFlow {
  public:
    // caption: the caption of the message boxes (the application's title).
    PublishFlow(Prompts& prompts, std::string caption);
    ~PublishFlow();

    // What publishes (the layer over libcurl unless a test gives its own) and where
    // passwords are kept (the system's store unless a test gives its own).
    void setService(PublishService& service) { m_service = &service; }
    void setStore(platform::PasswordStore& store);
    // The front end's progress dialog; without one, the work is simply waited for.
    void setProgressRunner(RunProgress run) { m_runProgress = std::move(run); }

    // After a generation whose message is generated: publishes the site of s. A host key
    // trusted on the way goes into s.PublishHostKey. The one message of Generate.
    FlowMessage publishGenerated(settings::Settings& s, const std::string& generated);
    // "Test connection" with the Publish page's values s (a host key trusted on the way goes
    // into s); shows what it found.
    void testConnection(settings::Settings& s);
    // "Forget password": the store no longer keeps the password of s's address.
    void forgetPassword(const settings::Settings& s);

  private:
    // How a step's tries ended: the reason and host key of the last reply.
    struct Reply {
        publish::Reason reason = publish::Reason::None;
        std::string serverHostKey;
    };
    enum class End { Done, NoPassword, NotTrusted, KeyChanged };
    struct Attempt {
        End end = End::Done;
        Reply last;
    };

    // Runs once with the credentials of s until it needs nothing more: asks for a password
    // when none is known and again when the server refused it, asks to trust an unknown
    // host key, keeps an accepted password for the session (and in the store when asked).
    Attempt attempt(settings::Settings& s,
                    const std::function<Reply(const publish::Credentials&)>& once);
    std::optional<PasswordAnswer> askPassword(const platform::PasswordKey& key, bool refused);
    bool askTrust(const settings::Settings& s, const std::string& hostKey);
    publish::PublishResult runPublish(const settings::Settings& s,
                                      const publish::Credentials& credentials);
    publish::ConnectionCheck runCheck(const settings::Settings& s,
                                      const publish::Credentials& credentials);
    void runModal(BackgroundTask& task);
    void tell(const std::string& text, MessageKind kind);

    Prompts& m_prompts;
    std::string m_caption;
    std::unique_ptr<PublishService> m_own;
    PublishService* m_service;
    platform::PasswordStore* m_store;
    RunProgress m_runProgress;
    // Passwords the server accepted in this session, never written anywhere.
    std::map<std::string, std::string> m_session;
    // What the last attempt adds to its message (a password that could not be kept).
    std::string m_note;
};

// The text of a changed host key: it says that the key changed, the two keys, and what to do.
std::string changedHostKeyText(const std::string& host, const std::string& trusted,
                               const std::string& shown);

}  // namespace pairweb::app

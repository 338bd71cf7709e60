// The apps' publishing flow with a publisher and a password store of the test's own: the
// password asked for, remembered and asked again when refused, host keys trusted or refused,
// the progress dialog's view, Cancel, and the one message at the end.
#include "app/publish_flow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "app/app_test_support.h"
#include "app/main_dialog.h"
#include "app/publish_address.h"
#include "support/test_env.h"

namespace pairweb::app {
namespace {

using platform::ForgetResult;
using platform::PasswordKey;
using publish::Reason;
using settings::Settings;

std::string id(const PasswordKey& k) { return k.protocol + " " + k.host + " " + k.user; }

class MemoryStore : public platform::PasswordStore {
  public:
    std::optional<std::string> find(const PasswordKey& key) const override {
        const auto it = kept.find(id(key));
        return it == kept.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool remember(const PasswordKey& key, const std::string& password) override {
        if (failWrites) return false;
        kept[id(key)] = password;
        return true;
    }
    ForgetResult forget(const PasswordKey& key) override {
        if (failWrites) return ForgetResult::Failed;
        return kept.erase(id(key)) > 0 ? ForgetResult::Removed : ForgetResult::NotKept;
    }
    std::string where() const override { return "the test's store"; }

    std::map<std::string, std::string> kept;
    bool failWrites = false;
};

// A host with one password and, for SFTP, one host key; a publish sends its files one by one
// and looks at Cancel between them, as the publishing layer does.
class FakeHost : public PublishService {
  public:
    explicit FakeHost(MemoryStore& store) : m_store(store) {}

    publish::Credentials credentials(const Settings& s) override {
        publish::Credentials c;
        c.hostKey = s.PublishHostKey;
        if (const auto key = passwordKey(s)) c.password = m_store.find(*key).value_or("");
        return c;
    }
    std::optional<PasswordKey> passwordKey(const Settings& s) override {
        const PublishAddress a = readAddress(s);
        if (a.host.empty()) return std::nullopt;
        return PasswordKey{a.protocol == "SFTP" ? "sftp" : "ftp", a.host, a.user};
    }
    publish::PublishResult publish(const Settings& s, const publish::Credentials& c,
                                   const publish::ProgressReport& progress,
                                   const std::atomic<bool>& cancel) override {
        passwordsTried.push_back(c.password);
        hostKeysTried.push_back(c.hostKey);
        const auto shownBy = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (dialogShown != nullptr && !*dialogShown &&
               std::chrono::steady_clock::now() < shownBy) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        publish::PublishResult r;
        r.total = 7;
        if (const Reason refused = login(s, c); refused != Reason::None) {
            r.outcome = publish::PublishOutcome::Stopped;
            r.reason = refused;
            r.serverHostKey = refused == Reason::HostKeyNotTrusted ? hostKey : "";
            r.message = "Error: publishing stopped at " + s.PublishUrl + ": " +
                        std::string(refused == Reason::WrongPassword      ? "wrong password"
                                    : refused == Reason::HostNotReachable ? "host not reachable"
                                                                          : "host key not trusted");
            return r;
        }
        for (int k = 0; k < files; ++k) {
            if (cancel) {
                r.outcome = publish::PublishOutcome::Cancelled;
                r.message = "Publishing cancelled after " + std::to_string(r.sent) + " of " +
                            std::to_string(files) + " files.";
                return r;
            }
            progress({"page" + std::to_string(k) + ".html", k, files, r.bytes, 5000});
            // The file in flight is finished even when Cancel comes meanwhile.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (k == holdAt && !cancel && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            ++r.sent;
            r.bytes += 1000;
        }
        r.message = "Published";
        return r;
    }
    publish::ConnectionCheck check(const Settings& s, const publish::Credentials& c) override {
        passwordsTried.push_back(c.password);
        hostKeysTried.push_back(c.hostKey);
        publish::ConnectionCheck check;
        if (const Reason refused = login(s, c); refused != Reason::None) {
            check.outcome = publish::CheckOutcome::Failed;
            check.reason = refused;
            check.serverHostKey = refused == Reason::HostKeyNotTrusted ? hostKey : "";
            check.message = "Could not connect.";
            return check;
        }
        check.message = "Connected and logged in.";
        return check;
    }

    std::string password = "right";
    std::string hostKey = "SHA256:host";
    bool reachable = true;
    int files = 5;
    std::atomic<int> holdAt{-1};
    // When given, a publish starts once the progress dialog has shown its first view.
    const std::atomic<bool>* dialogShown =
        nullptr;  // the file during which the publish waits for Cancel
    std::vector<std::string> passwordsTried;
    std::vector<std::string> hostKeysTried;

  private:
    Reason login(const Settings& s, const publish::Credentials& c) const {
        if (!reachable) return Reason::HostNotReachable;
        if (s.PublishUrl.starts_with("sftp") && c.hostKey != hostKey) {
            return Reason::HostKeyNotTrusted;
        }
        return c.password == password ? Reason::None : Reason::WrongPassword;
    }
    MemoryStore& m_store;
};

struct Fixture {
    RecordingPrompts prompts;
    MemoryStore store;
    FakeHost host{store};
    PublishFlow flow{prompts, "pairweb"};
    Settings s;
    std::vector<BackgroundTask::View> views;  // what the progress dialog showed, in turn
    bool cancelAtThirdFile = false;
    std::atomic<bool> dialogShown{false};

    explicit Fixture(const char* url = "ftp://club@ftp.example.org/www/") {
        s.PublishUrl = url;
        flow.setStore(store);
        flow.setService(host);
        host.dialogShown = &dialogShown;
        // The progress dialog: shows the view until the work ends; Cancel at the third file.
        flow.setProgressRunner([this](BackgroundTask& task) {
            while (!task.finished()) {
                const BackgroundTask::View v = task.view();
                if (views.empty() || !(views.back() == v)) views.push_back(v);
                dialogShown = true;
                if (cancelAtThirdFile && v.counts.starts_with("File 3 of")) task.cancel();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            views.push_back(task.view());  // as the dialog shows it at the end
        });
    }
    FlowMessage publish() { return flow.publishGenerated(s, "Web page generated!"); }
    void keep(const std::string& password) { store.kept["ftp ftp.example.org club"] = password; }
};

TEST(PublishFlow, AKeptPasswordPublishesWithoutAQuestionUnderTheProgressDialog) {
    Fixture f;
    f.keep("right");
    f.host.holdAt = 2;  // slow enough to be seen at the third file
    f.cancelAtThirdFile = false;
    std::thread release([&f] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        f.host.holdAt = -1;
    });
    const FlowMessage end = f.publish();
    release.join();
    EXPECT_EQ(end, (FlowMessage{"Web page generated and published (5 of 7 files, 5 KB).",
                                MessageKind::Information}));
    EXPECT_TRUE(f.prompts.passwordAsked.empty());
    ASSERT_FALSE(f.views.empty());
    EXPECT_EQ(f.views.front().caption, "Publishing");
    EXPECT_EQ(f.views.front().action, "Connecting to ftp://club@ftp.example.org/www/");
    bool sawThird = false;
    for (const BackgroundTask::View& v : f.views) {
        if (v.action == "Sending page2.html") {
            sawThird = true;
            EXPECT_EQ(v.counts, "File 3 of 5, 2 of 5 KB");
            EXPECT_EQ(v.percent, 40);
            EXPECT_TRUE(v.canCancel);
        }
    }
    EXPECT_TRUE(sawThird);
}

// A refused password is asked for again; the one the server took is kept when "Remember"
// was ticked, in place of the old one.
TEST(PublishFlow, WrongPasswordThenRight) {
    Fixture f;
    f.keep("old");
    f.prompts.passwordAnswers = {"wrong", "right"};
    f.prompts.rememberAnswer = true;
    const FlowMessage end = f.publish();
    EXPECT_EQ(end.kind, MessageKind::Information);
    EXPECT_EQ(end.text, "Web page generated and published (5 of 7 files, 5 KB).");
    EXPECT_EQ(f.host.passwordsTried, (std::vector<std::string>{"old", "wrong", "right"}));
    ASSERT_EQ(f.prompts.passwordAsked.size(), 2u);
    EXPECT_EQ(f.prompts.passwordAsked[0].text,
              "The server did not accept the password. The password of club on "
              "ftp.example.org:");
    EXPECT_EQ(f.prompts.passwordAsked[0].rememberText, "Remember this password");
    EXPECT_EQ(f.store.kept.at("ftp ftp.example.org club"), "right");
}

// Without a kept password the question comes first; without "Remember" nothing is kept, but
// the session knows it; a cancelled question publishes nothing.
TEST(PublishFlow, AskedPasswordIsKeptForTheSessionOrRemembered) {
    Fixture f;
    f.prompts.passwordAnswer = "right";
    EXPECT_EQ(f.publish().kind, MessageKind::Information);
    EXPECT_EQ(f.prompts.passwordAsked.size(), 1u);
    EXPECT_EQ(f.prompts.passwordAsked[0].text,
              "The password of club on ftp.example.org for publishing:");
    EXPECT_TRUE(f.store.kept.empty());
    f.publish();
    EXPECT_EQ(f.prompts.passwordAsked.size(), 1u);  // the session's password

    Fixture g;
    EXPECT_EQ(g.publish(), (FlowMessage{"Web page generated!\n\nNot published: no password was "
                                        "given.",
                                        MessageKind::Information}));
    EXPECT_TRUE(g.host.passwordsTried.empty());

    Fixture h;
    h.prompts.passwordAnswer = "right";
    h.prompts.rememberAnswer = true;
    h.store.failWrites = true;
    EXPECT_EQ(h.publish().text,
              "Web page generated and published (5 of 7 files, 5 KB). The password could not be "
              "kept in the test's store.");
}

TEST(PublishFlow, CancelInTheMiddleStopsAfterTheFileInFlight) {
    Fixture f;
    f.keep("right");
    f.host.holdAt = 2;
    f.cancelAtThirdFile = true;
    const FlowMessage end = f.publish();
    EXPECT_EQ(end, (FlowMessage{"Web page generated!\n\nPublishing cancelled after 3 of 5 files.",
                                MessageKind::Information}));
    ASSERT_FALSE(f.views.empty());
    EXPECT_TRUE(f.views.back().cancelling);
    EXPECT_EQ(f.views.back().action, "Cancelling: the file being sent is finished first");
}

// SFTP without a trusted key: the server's key is shown and asked about; Yes keeps it in the
// settings and goes on, No publishes nothing.
TEST(PublishFlow, UntrustedHostKeyIsAskedAbout) {
    for (const bool trust : {false, true}) {
        Fixture f("sftp://club@ssh.example.org/www/");
        f.store.kept["sftp ssh.example.org club"] = "right";
        f.prompts.questionAnswer = trust;
        const FlowMessage end = f.publish();
        ASSERT_EQ(f.prompts.questions.size(), 1u);
        EXPECT_NE(f.prompts.questions[0].find("The SFTP server ssh.example.org shows this host "
                                              "key:\n\nSHA256:host\n\n"),
                  std::string::npos);
        if (trust) {
            EXPECT_EQ(end.text, "Web page generated and published (5 of 7 files, 5 KB).");
            EXPECT_EQ(f.s.PublishHostKey, "SHA256:host");
            EXPECT_EQ(f.host.hostKeysTried, (std::vector<std::string>{"", "SHA256:host"}));
        } else {
            EXPECT_EQ(end, (FlowMessage{"Web page generated!\n\nNot published: the server's host "
                                        "key was not trusted.",
                                        MessageKind::Information}));
            EXPECT_EQ(f.s.PublishHostKey, "");
        }
    }
}

TEST(PublishFlow, ChangedHostKeyIsRefusedWithAWarningThatSaysSo) {
    Fixture f("sftp://club@ssh.example.org/www/");
    f.store.kept["sftp ssh.example.org club"] = "right";
    f.s.PublishHostKey = "SHA256:before";
    f.prompts.questionAnswer = true;  // never asked
    const FlowMessage end = f.publish();
    EXPECT_EQ(end.kind, MessageKind::Warning);
    EXPECT_EQ(end.text.rfind("Web page generated!\n\nError: not published. The host key of "
                             "ssh.example.org has changed: the server now shows SHA256:host, but "
                             "the key trusted before is SHA256:before.",
                             0),
              0u)
        << end.text;
    EXPECT_TRUE(f.prompts.questions.empty());
    EXPECT_EQ(f.s.PublishHostKey, "SHA256:before");
    EXPECT_EQ(f.host.hostKeysTried.size(), 1u);
}

// A publish that cannot reach the host: the generation's message, then the publish's error
// in a warning; a password given on the way is not kept, the server never took it.
TEST(PublishFlow, NetworkFailureWarnsAndKeepsNoPassword) {
    Fixture f;
    f.host.reachable = false;
    f.prompts.passwordAnswer = "right";
    f.prompts.rememberAnswer = true;
    EXPECT_EQ(f.publish(), (FlowMessage{"Web page generated!\n\nError: publishing stopped at "
                                        "ftp://club@ftp.example.org/www/: host not reachable",
                                        MessageKind::Warning}));
    EXPECT_TRUE(f.store.kept.empty());
    f.host.reachable = true;
    f.publish();
    EXPECT_EQ(f.prompts.passwordAsked.size(), 2u);  // not known from the failed try either
}

TEST(PublishFlow, NoAddressAndKeyFileLogins) {
    Fixture f("");
    EXPECT_EQ(f.publish(), (FlowMessage{"Web page generated!\n\nNot published: no host is set on "
                                        "the Publish page of the options.",
                                        MessageKind::Warning}));
    // An SFTP key file may be the whole login: nothing is asked before trying it.
    Fixture g("sftp://club@ssh.example.org/www/");
    g.s.PublishHostKey = "SHA256:host";
    g.s.PublishKeyFile = "/home/club/.ssh/id_rsa";
    g.host.password = "";
    EXPECT_EQ(g.publish().kind, MessageKind::Information);
    EXPECT_TRUE(g.prompts.passwordAsked.empty());
}

TEST(PublishFlow, TestConnectionSaysWhatItFoundAndTrustsAKey) {
    Fixture f("sftp://club@ssh.example.org/www/");
    f.prompts.passwordAnswer = "right";
    f.prompts.questionAnswer = true;
    f.flow.testConnection(f.s);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].text,
              "Connected and logged in. The server's host key is now trusted and shown on the "
              "Publish page.");
    EXPECT_EQ(f.prompts.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(f.prompts.messages[0].caption, "pairweb");
    EXPECT_EQ(f.s.PublishHostKey, "SHA256:host");
    ASSERT_FALSE(f.views.empty());
    EXPECT_EQ(f.views.front().caption, "Test connection");
    EXPECT_FALSE(f.views.front().canCancel);

    f.host.reachable = false;
    f.flow.testConnection(f.s);
    EXPECT_EQ(f.prompts.messages.back().text, "Could not connect.");
    EXPECT_EQ(f.prompts.messages.back().kind, MessageKind::Warning);

    f.host.reachable = true;
    f.s.PublishHostKey = "SHA256:other";
    f.flow.testConnection(f.s);
    EXPECT_NE(f.prompts.messages.back().text.find("has changed"), std::string::npos);
    EXPECT_EQ(f.prompts.messages.back().kind, MessageKind::Warning);

    Fixture empty("");
    empty.flow.testConnection(empty.s);
    EXPECT_EQ(empty.prompts.messages.back().text,
              "There is nothing to test yet: fill in the host and the user name.");
}

TEST(PublishFlow, ForgetPasswordRemovesItFromTheStoreAndTheSession) {
    Fixture f;
    f.prompts.passwordAnswer = "right";
    f.prompts.rememberAnswer = true;
    f.publish();
    ASSERT_EQ(f.store.kept.size(), 1u);
    f.flow.forgetPassword(f.s);
    EXPECT_TRUE(f.store.kept.empty());
    EXPECT_EQ(f.prompts.messages.back().text,
              "The password of club on ftp.example.org is no longer kept in the test's store.");
    f.flow.forgetPassword(f.s);
    EXPECT_EQ(f.prompts.messages.back().text,
              "No password of club on ftp.example.org is kept in the test's store.");
    f.store.failWrites = true;
    f.flow.forgetPassword(f.s);
    EXPECT_EQ(f.prompts.messages.back().kind, MessageKind::Warning);
    f.publish();
    EXPECT_EQ(f.prompts.passwordAsked.size(), 2u);  // the session forgot it too
}

// Generate with "Publish after Generate HTML": the sample site is generated, then published,
// and one message box says both; without the flag nothing is published.
TEST(PublishFlow, GenerateThenPublishFromTheMainDialog) {
    testing::TempDir dir;
    testing::FixedPlatform platform{dir / "pairweb.exe", 1796652309};
    AnsweringFileDialogs files;
    RecordingPrompts prompts;
    MemoryStore store;
    FakeHost host{store};
    GeneratorDialog dialog{dir / "pairweb.exe", platform, files, prompts};
    dialog.publishing().setStore(store);
    dialog.publishing().setService(host);
    std::filesystem::create_directories(std::filesystem::path(dir / "site"));
    Settings& s = dialog.settings();
    s.strFilename = std::string(PAIRWEB_SOURCE_DIR) + "/samples/round_robin.trn";
    s.OutputIndex = dir / "site/index.html";
    s.PublishUrl = "ftp://club@ftp.example.org/www/";
    prompts.passwordAnswer = "right";
    dialog.generate();
    EXPECT_TRUE(host.passwordsTried.empty());
    EXPECT_EQ(prompts.messages.back().text, "Web page generated!");
    s.PublishAfterGenerate = 1;
    dialog.generate();
    EXPECT_EQ(host.passwordsTried, std::vector<std::string>{"right"});
    EXPECT_EQ(prompts.messages.back().text,
              "Web page generated and published (5 of 7 files, 5 KB).");
    s.strFilename = dir / "missing.trn";
    dialog.generate();  // a failed generation publishes nothing
    EXPECT_EQ(host.passwordsTried.size(), 1u);
    EXPECT_EQ(prompts.messages.back().kind, MessageKind::Warning);
}

}  // namespace
}  // namespace pairweb::app

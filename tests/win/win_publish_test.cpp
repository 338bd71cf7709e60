// The Windows app publishing for real under wine: the Publish page filled by window
// messages, Generate HTML, a wrong password and then the right one asked for and remembered
// in the Credential Manager, the progress dialog, and the sample site on the loopback FTP
// server that with_test_server started for this run; a second run of the app, and
// pairweb-gen's publishing, find the password again. Run as:
//   with_test_server ftp wine win_publish_tests.exe
// The server speaks plain FTP: under wine, Schannel does not finish the TLS handshake of an
// FTP data connection (a listing from vsftpd waits until the stall bound), so FTP with TLS is
// tested with the Linux build only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "app/app_test_support.h"
#include "cli/publish_command.h"
#include "platform/os.h"
#include "platform/password_store.h"
#include "support/test_env.h"
#include "win/main_dialog.h"
#include "win/resource.h"
#include "win/win_util.h"
#include "win_driver.h"

namespace pairweb::win {
namespace {

namespace fs = std::filesystem;
using namespace testing;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// A path of the Linux side as wine shows it ("Z:\tmp\...").
std::string fromLinux(const std::string& path) {
    std::string out = "Z:" + path;
    for (char& c : out) c = c == '/' ? '\\' : c;
    return out;
}

std::map<std::string, std::string> readTree(const std::string& folder) {
    using platform::os::fromNative;
    using platform::os::toNative;
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(toNative(folder))) {
        if (!entry.is_regular_file()) continue;
        std::string path = fromNative(fs::relative(entry.path(), toNative(folder)));
        for (char& c : path) c = c == '\\' ? '/' : c;
        if (path != ".pairweb-published") {
            tree[path] = pairweb::testing::readFile(fromNative(entry.path()));
        }
    }
    return tree;
}

TEST(WinPublish, PublishesTheSampleSiteAndFindsThePasswordAgain) {
    const std::string url = environment("PAIRWEB_TEST_SERVER_URL");
    ASSERT_FALSE(url.empty()) << "no test server: run this program through with_test_server";
    const std::string password = environment("PAIRWEB_TEST_SERVER_PASSWORD");
    const std::string remote = fromLinux(environment("PAIRWEB_TEST_SERVER_FOLDER"));
    const std::string port = url.substr(url.rfind(':') + 1, url.find('/', 8) - url.rfind(':') - 1);
    const platform::PasswordKey key{"ftp", "127.0.0.1", "organiser"};
    platform::PasswordStore& store = platform::systemPasswordStore();
    (void)store.forget(key);  // from an earlier run in this wine prefix

    pairweb::testing::TempDir dir;
    fs::create_directories(platform::os::toNative(dir / "site"));
    const std::string site = dir / "site";
    pairweb::testing::FixedPlatform platform{dir / "pairweb.exe", 1796652309};
    app::AnsweringFileDialogs files;
    app::RecordingPrompts prompts;
    prompts.passwordAnswers = {"wrong", password};
    prompts.rememberAnswer = true;
    auto dialog = std::make_unique<MainDialog>(dir / "pairweb.exe", platform, files, prompts);
    HWND w = dialog->create();
    ASSERT_NE(w, nullptr) << "no window: wine needs a display";
    ShowWindow(w, SW_SHOW);
    settings::Settings& s = dialog->model().settings();
    s.strFilename = std::string(PAIRWEB_SOURCE_DIR) + "/samples/round_robin.trn";
    s.OutputIndex = site + "\\index.html";
    dialog->model().updateData(false);

    // The Publish page, filled by window messages, then OK.
    bool filled = false;
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        HWND page = showPage(sheet, app::kPublishPage);
        SendDlgItemMessageW(page, app::kPublishProtocol, CB_SETCURSEL, 2, 0);
        SetDlgItemTextW(page, app::kPublishHost, L"127.0.0.1");
        SetDlgItemTextW(page, app::kPublishPort, wide(port).c_str());
        SetDlgItemTextW(page, app::kPublishUser, L"organiser");
        SetDlgItemTextW(page, app::kPublishFolder, L"/");
        click(page, app::kPublishAfterGenerate);
        filled = true;
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    click(w, app::control::kOptions);
    ASSERT_TRUE(filled);
    EXPECT_EQ(s.PublishUrl, url);
    EXPECT_EQ(s.PublishAfterGenerate, 1);
    EXPECT_EQ(s.PublishPlainFtp, 1);

    // Generate: the progress dialog comes while the files are sent, and goes. (The first try,
    // with the wrong password, has a progress dialog of its own that sends nothing: the
    // script looks again in the next one.)
    std::string action;
    bool mainAnswered = false;
    int looks = 0;
    std::function<void()> look = [&] {
        if (HWND progress = findDialog(L"Publishing")) {
            for (int k = 0; k < 25 && action.rfind("Sending ", 0) != 0; ++k) {
                pump(20);
                action = windowText(GetDlgItem(progress, IDC_PROGRESS_ACTION));
            }
            if (action.rfind("Sending ", 0) == 0) {
                DWORD_PTR result = 0;
                mainAnswered =
                    SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
                return;
            }
        }
        if (++looks < 100) whileModal(look);
    };
    whileModal(look);
    click(w, app::control::kGenerate);
    const std::map<std::string, std::string> local = readTree(site);
    ASSERT_GT(local.size(), 20u);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.rfind("Web page generated and published (" +
                                                 std::to_string(local.size()) + " of " +
                                                 std::to_string(local.size()) + " files, ",
                                             0),
              0u)
        << prompts.messages[0].text;
    EXPECT_EQ(action.rfind("Sending ", 0), 0u) << "the progress dialog showed: " << action;
    EXPECT_TRUE(mainAnswered);
    EXPECT_EQ(findDialog(L"Publishing"), nullptr);
    EXPECT_TRUE(readTree(remote) == local);
    ASSERT_EQ(prompts.passwordAsked.size(), 2u);
    EXPECT_EQ(prompts.passwordAsked[1].text.rfind("The server did not accept the password.", 0),
              0u);
    EXPECT_EQ(store.find(key), password);  // in the Credential Manager

    // A second run of the app: nothing asked, nothing changed travels.
    const settings::Settings kept = s;
    DestroyWindow(w);
    dialog.reset();
    app::RecordingPrompts again;
    MainDialog second(dir / "pairweb.exe", platform, files, again);
    HWND w2 = second.create();
    second.model().settings() = kept;
    second.model().updateData(false);
    click(w2, app::control::kGenerate);
    EXPECT_TRUE(again.passwordAsked.empty());
    ASSERT_EQ(again.messages.size(), 1u);
    EXPECT_EQ(again.messages[0].text, "Web page generated and published (0 of " +
                                          std::to_string(local.size()) + " files, 0 KB).");
    DestroyWindow(w2);

    // pairweb-gen's publishing takes the password from the Credential Manager too.
    const cli::PublishReport report = cli::publishGenerated(kept, {});
    EXPECT_TRUE(report.ok) << report.message;
    EXPECT_EQ(report.message.rfind("Published 0 of " + std::to_string(local.size()) + " files", 0),
              0u)
        << report.message;
    EXPECT_EQ(store.forget(key), platform::ForgetResult::Removed);
}

}  // namespace
}  // namespace pairweb::win

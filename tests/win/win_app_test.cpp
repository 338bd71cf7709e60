// The Windows app's real dialogs driven by window messages under wine (or Windows).
#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_test_support.h"
#include "app/palette.h"
#include "settings/settings_file.h"
#include "support/test_env.h"
#include "win/colour_button.h"
#include "win/main_dialog.h"
#include "win/progress_dialog.h"
#include "win/resource.h"
#include "win/win_services.h"
#include "win/win_util.h"
#include "win_driver.h"

namespace pairweb::win {
namespace {

using namespace testing;
namespace id = app::control;

// Whether windows can be shown here at all (wine needs a display).
bool canShowWindows() {
    static const bool can = [] {
        HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (probe == nullptr) return false;
        DestroyWindow(probe);
        return true;
    }();
    return can;
}

// A run that cannot show windows has not tested the dialogs: it fails rather than skips.
#define NEEDS_WINDOWS()                                     \
    if (!canShowWindows())                                  \
    FAIL() << "no display: windows cannot be created here " \
              "(wine needs an X display such as Xvfb)"

struct Fixture {
    pairweb::testing::TempDir dir;
    pairweb::testing::FixedPlatform platform{dir / "pairweb.exe", 1796652309};
    app::AnsweringFileDialogs files;
    app::RecordingPrompts prompts;
    MainDialog dialog{dir / "pairweb.exe", platform, files, prompts};
    HWND w = nullptr;

    Fixture() {
        w = dialog.create();
        ShowWindow(w, SW_SHOW);
    }
    ~Fixture() {
        if (IsWindow(w)) DestroyWindow(w);
    }
    settings::Settings& s() { return dialog.model().settings(); }
    void type(int control, const std::wstring& text) { SetDlgItemTextW(w, control, text.c_str()); }
    std::string text(int control) { return windowText(GetDlgItem(w, control)); }
};

TEST(WinApp, MainDialogShowsTheLayersTextsAndTypingReachesTheSettings) {
    NEEDS_WINDOWS();
    Fixture f;
    EXPECT_EQ(windowText(f.w), "PAIRWEB");
    EXPECT_EQ(f.text(id::kBrowse), "&Browse");
    EXPECT_EQ(f.text(id::kVersionLine), "PAIRWEB version 1.0.3");
    EXPECT_EQ(f.text(id::kTrnFile), "TRN filename: please select");
    EXPECT_EQ(SendDlgItemMessageW(f.w, id::kSlot, CB_GETCOUNT, 0, 0), 8);
    f.type(id::kTrnFile, L"C:\\data\\open.trn");
    EXPECT_EQ(f.s().strFilename, "C:\\data\\open.trn");
    f.type(id::kTitle, L"K\u00f6ln \u2013 \u010c");  // "Č" has no Windows-1252 byte
    EXPECT_EQ(f.text(id::kTitle), "K\xC3\xB6ln \xE2\x80\x93 ");
    EXPECT_EQ(f.s().TourneyName, "K\xF6ln \x96 ");
    EXPECT_EQ(refusalNoteOf(GetDlgItem(f.w, id::kTitle)), app::refusalNote(0x10C));
}

TEST(WinApp, TabOrderFollowsTheDialog) {
    NEEDS_WINDOWS();
    Fixture f;
    std::vector<int> order;
    HWND c = GetDlgItem(f.w, id::kBrowse);
    for (int k = 0; k < 13; ++k) {
        order.push_back(GetDlgCtrlID(c));
        c = GetNextDlgTabItem(f.w, c, FALSE);
    }
    EXPECT_EQ(order, app::mainDialogTabOrder());
}

TEST(WinApp, ButtonsBrowseOpenSaveLoadAndGenerate) {
    NEEDS_WINDOWS();
    Fixture f;
    f.files.answer = f.dir / "open.trn";
    click(f.w, id::kBrowse);
    EXPECT_EQ(f.text(id::kTrnFile), f.dir / "open.trn");
    EXPECT_EQ(f.files.calls.back().request.title, "Select SwissPerfect Tournament file");
    f.files.answer.reset();
    click(f.w, id::kOpen);  // cancelled: the proposed name
    EXPECT_EQ(f.text(id::kHomePage), "index.html");

    f.type(id::kSlot, L"3");
    f.type(id::kTitle, L"County Open");
    click(f.w, id::kSave);
    ASSERT_TRUE(pairweb::testing::fileExists(f.dir / "pairweb3.cfg"));
    f.type(id::kTitle, L"changed");
    click(f.w, id::kLoad);
    EXPECT_EQ(f.text(id::kTitle), "County Open");
    EXPECT_TRUE(f.prompts.messages.empty());

    std::filesystem::create_directories(std::filesystem::path(f.dir / "site"));
    f.type(id::kTrnFile,
           pairweb::win::wide(std::string(PAIRWEB_SOURCE_DIR) + "/samples/round_robin.trn"));
    f.type(id::kHomePage, wide(f.dir / "site/index.html"));
    click(f.w, id::kGenerate);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].text, "Web page generated!");
    EXPECT_EQ(f.prompts.messages[0].caption, "pairweb");
    EXPECT_TRUE(pairweb::testing::fileExists(f.dir / "site/crosstable.html"));
}

TEST(WinApp, OkGeneratesThenCloses) {
    NEEDS_WINDOWS();
    Fixture f;
    click(f.w, IDOK);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].text, "Error: please select a valid .trn file.");
    EXPECT_EQ(f.prompts.messages[0].kind, app::MessageKind::Warning);
    EXPECT_FALSE(IsWindow(f.w));
}

// The sheet: a size typed on Fonts is committed by leaving the page, a colour picked with
// the keyboard on Colours is kept by Cancel, a label typed on the page shown at Cancel is
// dropped.
TEST(WinApp, OptionsSheetPagesAndPaletteByKeyboard) {
    NEEDS_WINDOWS();
    Fixture f;
    int tabs = 0;
    bool applyShown = true;
    bool paletteOpened = false;
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        tabs =
            static_cast<int>(SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETITEMCOUNT, 0, 0));
        HWND apply = GetDlgItem(sheet, 0x3021);
        applyShown = apply != nullptr && IsWindowVisible(apply);
        HWND fonts = showPage(sheet, 3);
        SetDlgItemTextW(fonts, 1026, L"13");
        HWND colours = showPage(sheet, 1);
        click(colours, 1006);  // Table BG Colour: #EAEAFF, cell 2
        HWND palette = paletteOf(colours, 1006);
        paletteOpened = palette != nullptr;
        if (palette != nullptr) {
            key(palette, VK_RIGHT);
            key(palette, VK_RETURN);
        }
        HWND labels = showPage(sheet, 4);
        SetDlgItemTextW(labels, 1020, L"free");
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    click(f.w, id::kOptions);
    EXPECT_EQ(tabs, 7);
    EXPECT_FALSE(applyShown);
    EXPECT_TRUE(paletteOpened);
    EXPECT_EQ(f.s().TextSize, "13");
    EXPECT_EQ(f.s().BGColourTable, app::paletteCells()[3].colour);
    EXPECT_EQ(f.s().Bye, "bye");
}

TEST(WinApp, PaletteDefaultBoxEscapeAndOk) {
    NEEDS_WINDOWS();
    Fixture f;
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        HWND colours = showPage(sheet, 1);
        click(colours, 1002);  // Text Colour: black, the first cell
        if (HWND palette = paletteOf(colours, 1002)) {
            key(palette, VK_UP);  // from the top row to the default box
            key(palette, VK_SPACE);
        }
        click(colours, 1005);  // Title Colour
        if (HWND palette = paletteOf(colours, 1005)) {
            key(palette, VK_RIGHT);
            key(palette, VK_DOWN);
            key(palette, VK_ESCAPE);
        }
        HWND pgn = showPage(sheet, 5);
        click(pgn, 1008);  // Generate PGN Files
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    click(f.w, id::kOptions);
    EXPECT_EQ(f.s().TextColour1, app::kAutomaticColour);
    EXPECT_EQ(f.s().TitleColour, settings::Settings{}.TitleColour);
    EXPECT_EQ(f.s().MakePGN, 1);
}

// The icon a message box shows: that of its icon static.
HICON iconOf(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(c, name, 16);
        if (_wcsicmp(name, L"Static") == 0 &&
            (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}

TEST(WinApp, AboutBoxAndMessageBoxIcons) {
    NEEDS_WINDOWS();
    Fixture f;
    std::string about;
    whenDialogShown(L"About pairweb", [&](HWND box) {
        about = windowText(GetDlgItem(box, id::kAboutText));
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
    click(f.w, id::kAbout);
    EXPECT_EQ(about, "pairweb tournament web site generator, Version 1.0.3");

    WinPrompts real;
    const std::pair<app::MessageKind, LPCWSTR> kinds[] = {
        {app::MessageKind::Warning, IDI_WARNING}, {app::MessageKind::Information, IDI_INFORMATION}};
    for (const auto& [kind, icon] : kinds) {
        HICON shown = nullptr;
        whenDialogShown(L"pairweb", [&shown](HWND box) {
            shown = iconOf(box);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        real.message("pairweb", "text", kind);
        EXPECT_EQ(shown, LoadIconW(nullptr, icon));
    }
}

TEST(WinApp, SetAdminPasswordButtonOnThePgnPage) {
    NEEDS_WINDOWS();
    Fixture f;
    std::filesystem::create_directories(std::filesystem::path(f.dir / "site"));
    f.type(id::kHomePage, wide(f.dir / "site/index.html"));
    f.prompts.passwordAnswer = "board one, e4";
    std::string caption;
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        HWND pgn = showPage(sheet, 5);
        caption = windowText(GetDlgItem(pgn, app::kSetPasswordButton));
        click(pgn, app::kSetPasswordButton);
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    click(f.w, id::kOptions);
    EXPECT_EQ(caption, "Set admin password...");
    ASSERT_FALSE(f.prompts.messages.empty());
    EXPECT_EQ(f.prompts.messages.back().text,
              "Admin password set in " + (f.dir / "site/pgn/admin_password.php"));
}

// Every item the layer describes has its control in the page's resource, by the same
// identifier, and shows the layer's text; labels and colour descriptions too.
TEST(WinApp, EveryPageItemHasItsControlInTheResource) {
    NEEDS_WINDOWS();
    Fixture f;
    std::vector<std::string> missing;
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        for (int k = 0; k < app::kOptionPageCount; ++k) {
            HWND page = showPage(sheet, k);
            for (const app::PageItem& item :
                 app::optionPages()[static_cast<std::size_t>(k)].items) {
                if (item.kind == app::ItemKind::EndGroup) continue;
                const std::string where = app::optionPages()[static_cast<std::size_t>(k)].tab + " ";
                HWND control = GetDlgItem(page, item.id);
                const bool captioned =
                    item.kind == app::ItemKind::Group || item.kind == app::ItemKind::Note ||
                    item.kind == app::ItemKind::Check || item.kind == app::ItemKind::Button ||
                    item.kind == app::ItemKind::Colour;
                if (control == nullptr || (captioned && windowText(control) != item.text)) {
                    missing.push_back(where + std::to_string(item.id));
                }
                const std::string label =
                    item.kind == app::ItemKind::Colour ? item.description : item.text;
                if (item.labelId != 0 && windowText(GetDlgItem(page, item.labelId)) != label) {
                    missing.push_back(where + "label " + std::to_string(item.labelId));
                }
            }
        }
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    click(f.w, id::kOptions);
    EXPECT_EQ(missing, std::vector<std::string>{});
}

// The Publish page: the protocol a drop-down list, its note shown with FTP without
// encryption, the parts typed going back as one address, and Test connection trying what the
// page shows (a port where nothing listens: the layer's own words come back).
TEST(WinApp, PublishPageEditsTheAddressAndTestsTheConnection) {
    NEEDS_WINDOWS();
    Fixture f;
    f.s().PublishUrl = "sftp://club@ssh.example.org:2222/~/www/";
    f.prompts.passwordAnswer = "secret";
    std::string protocol, port, testCaption;
    LRESULT entries = 0;
    LONG style = 0;
    bool noteAtFirst = true, noteLater = false;
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        HWND page = showPage(sheet, app::kPublishPage);
        HWND list = GetDlgItem(page, app::kPublishProtocol);
        protocol = windowText(list);
        port = windowText(GetDlgItem(page, app::kPublishPort));
        entries = SendMessageW(list, CB_GETCOUNT, 0, 0);
        style = GetWindowLongW(list, GWL_STYLE);
        noteAtFirst = IsWindowVisible(GetDlgItem(page, app::kPlainFtpNote)) != FALSE;
        SendMessageW(list, CB_SETCURSEL, 2, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(app::kPublishProtocol, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        noteLater = IsWindowVisible(GetDlgItem(page, app::kPlainFtpNote)) != FALSE;
        SetDlgItemTextW(page, app::kPublishHost, L"127.0.0.1");
        SetDlgItemTextW(page, app::kPublishPort, L"1");
        testCaption = windowText(GetDlgItem(page, app::kTestConnectionButton));
        click(page, app::kTestConnectionButton);
        click(page, app::kPublishAfterGenerate);
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    click(f.w, id::kOptions);
    EXPECT_EQ(protocol, "SFTP");
    EXPECT_EQ(port, "2222");
    EXPECT_EQ(entries, 3);
    EXPECT_EQ(style & 0x3, CBS_DROPDOWNLIST);
    EXPECT_FALSE(noteAtFirst);
    EXPECT_TRUE(noteLater);
    EXPECT_EQ(testCaption, "Test connection");
    ASSERT_EQ(f.prompts.passwordQuestions.size(), 1u);
    ASSERT_FALSE(f.prompts.messages.empty());
    EXPECT_EQ(f.prompts.messages.back().text,
              "Could not connect to ftp://club@127.0.0.1:1/~/www/: host not reachable.");
    EXPECT_EQ(f.prompts.messages.back().kind, app::MessageKind::Warning);
    EXPECT_EQ(f.s().PublishUrl, "ftp://club@127.0.0.1:1/~/www/");
    EXPECT_EQ(f.s().PublishPlainFtp, 1);
    EXPECT_EQ(f.s().PublishAfterGenerate, 1);
}

// The password box offers "Remember" only when asked to; questions have Yes and No.
TEST(WinApp, PasswordBoxAndQuestions) {
    NEEDS_WINDOWS();
    Fixture f;
    WinPrompts real;
    for (const bool offer : {true, false}) {
        bool rememberShown = !offer;
        std::string rememberText;
        whenDialogShown(L"Password", [&](HWND box) {
            HWND remember = GetDlgItem(box, IDC_REMEMBER);
            rememberShown = IsWindowVisible(remember) != FALSE;
            rememberText = windowText(remember);
            SetDlgItemTextW(box, IDC_PASSWORD, L"p\u00e4ss word");
            if (offer) CheckDlgButton(box, IDC_REMEMBER, BST_CHECKED);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        const auto answer =
            real.askPassword({"Password", "The password:", offer ? "Remember this password" : ""});
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->password, "p\xC3\xA4ss word");
        EXPECT_EQ(answer->remember, offer);
        EXPECT_EQ(rememberShown, offer);
        if (offer) {
            EXPECT_EQ(rememberText, "Remember this password");
        }
    }
    for (const bool yes : {true, false}) {
        whenDialogShown(L"Host key",
                        [yes](HWND box) { SendMessageW(box, WM_COMMAND, yes ? IDYES : IDNO, 0); });
        EXPECT_EQ(real.ask("Host key", "Trust it?"), yes);
    }
}

// The progress dialog shows the task's view and its message loop runs while the work does;
// Cancel asks the work to stop, and the dialog closes when the work has ended.
TEST(WinApp, ProgressDialogShowsTheWorkAndCancelStopsIt) {
    NEEDS_WINDOWS();
    Fixture f;
    app::BackgroundTask task("Publishing", "Connecting", "Cancelling now");
    task.start([](app::BackgroundTask& t) {
        t.report("Sending index.html", "File 2 of 4, 3 of 9 KB", 33);
        for (int k = 0; k < 10000 && !t.cancelRequested(); ++k) Sleep(1);
    });
    std::string action, counts, afterCancel;
    LRESULT position = -1;
    bool mainAnswered = false;
    whenDialogShown(L"Publishing", [&](HWND box) {
        pump(200);  // a few of the dialog's timer ticks
        action = windowText(GetDlgItem(box, IDC_PROGRESS_ACTION));
        counts = windowText(GetDlgItem(box, IDC_PROGRESS_COUNTS));
        position = SendDlgItemMessageW(box, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
        // The main window still answers while the work runs.
        DWORD_PTR result = 0;
        mainAnswered = SendMessageTimeoutW(f.w, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
        click(box, IDCANCEL);
        afterCancel = windowText(GetDlgItem(box, IDC_PROGRESS_ACTION));
    });
    runProgressDialog(f.w, task);
    EXPECT_TRUE(task.finished());
    EXPECT_EQ(action, "Sending index.html");
    EXPECT_EQ(counts, "File 2 of 4, 3 of 9 KB");
    EXPECT_EQ(position, 33);
    EXPECT_TRUE(mainAnswered);
    EXPECT_EQ(afterCancel, "Cancelling now");
    EXPECT_EQ(findDialog(L"Publishing"), nullptr);
}

TEST(WinApp, FileDialogFiltersInTheDialogsForm) {
    const auto filters = app::CommonDialog::parseFilter("Tournament files|*.trn|All Files|*.*");
    EXPECT_EQ(WinFileDialogs::filterList(filters),
              std::wstring(L"Tournament files\0*.trn\0All Files\0*.*\0\0", 38));
}

}  // namespace
}  // namespace pairweb::win

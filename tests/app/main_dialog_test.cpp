#include "app/main_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/app_test_support.h"
#include "support/test_env.h"

namespace pairweb::app {
namespace {

namespace id = control;

// The main dialog's edits and slot as a map; filling one fires the change notice, as
// toolkits do.
class FakeDialog : public MainDialogControls {
  public:
    GeneratorDialog* model = nullptr;
    std::map<int, std::string> texts;
    std::string text(int control) const override {
        const auto it = texts.find(control);
        return it != texts.end() ? it->second : std::string();
    }
    void setText(int control, const std::string& utf8) override {
        texts[control] = utf8;
        if (control != id::kSlot) model->textChanged();
    }
    void type(int control, const std::string& utf8) {
        texts[control] = utf8;
        model->textChanged();
    }
};

struct Fixture {
    testing::TempDir dir;
    testing::FixedPlatform platform{dir / "pairweb.exe", 1796652309};
    AnsweringFileDialogs files;
    RecordingPrompts prompts;
    GeneratorDialog model{dir / "pairweb.exe", platform, files, prompts};
    FakeDialog view;
    Fixture() {
        view.model = &model;
        model.setControls(&view);
        model.updateData(false);
    }
};

TEST(MainDialog, FillingTheControlsKeepsEveryMember) {
    Fixture f;
    EXPECT_EQ(f.view.texts[id::kTrnFile], "TRN filename: please select");
    EXPECT_EQ(f.view.texts[id::kTitle], "Tournament Name: please edit");
    EXPECT_EQ(f.view.texts[id::kHomePage], "Website homepage");
    EXPECT_EQ(f.model.appTitle(), "pairweb");
    f.view.type(id::kTitle, "K\xC3\xB6ln");
    EXPECT_EQ(f.model.settings().TourneyName, "K\xF6ln");  // Windows-1252
    f.model.settings().strFilename = "a.trn";
    f.model.settings().OutputIndex = "b.html";
    f.model.updateData(false);  // each edit's change notice must not read the others back
    EXPECT_EQ(f.model.settings().strFilename, "a.trn");
    EXPECT_EQ(f.model.settings().OutputIndex, "b.html");
    EXPECT_EQ(f.view.texts[id::kTitle], "K\xC3\xB6ln");
}

TEST(MainDialog, BrowseAndOpenAskWithTheirTitlesAndFilters) {
    Fixture f;
    f.model.browse();  // cancelled: nothing changes
    ASSERT_EQ(f.files.calls.size(), 1u);
    EXPECT_FALSE(f.files.calls[0].save);
    EXPECT_EQ(f.files.calls[0].request.title, "Select SwissPerfect Tournament file");
    EXPECT_EQ(f.files.calls[0].request.filters,
              (std::vector<FileFilter>{{"Tournament files (*.trn;*.trf)", "*.trn;*.trf"},
                                       {"SwissPerfect tables (*.trn)", "*.trn"},
                                       {"TRF files (*.trf)", "*.trf"},
                                       {"All Files", "*.*"}}));
    EXPECT_EQ(f.model.settings().strFilename, "TRN filename: please select");
    f.files.answer = "/data/open.trn";
    f.model.browse();
    EXPECT_EQ(f.view.texts[id::kTrnFile], "/data/open.trn");

    f.files.answer.reset();
    f.model.open();  // cancelled: the proposed name stays
    EXPECT_TRUE(f.files.calls.back().save);
    EXPECT_EQ(f.files.calls.back().request.title, "Select Output index filename");
    EXPECT_EQ(f.files.calls.back().request.proposed, "index.html");
    EXPECT_EQ(f.files.calls.back().request.filters,
              (std::vector<FileFilter>{{"HTML files", "*.html"}, {"All Files", "*.*"}}));
    EXPECT_EQ(f.model.settings().OutputIndex, "index.html");
    EXPECT_EQ(f.model.settings().strFilename, "/data/open.trn");
}

TEST(MainDialog, BrowseFillsAPromptTitleFromATrfFilesEventName) {
    Fixture f;
    testing::writeFile(f.dir / "open.TRF", "012  K\xC3\xB6ln Open \r\n022 K\xC3\xB6ln\r\n");
    testing::writeFile(f.dir / "open.ini", "[Tournament Info]\r\nName=Not this\r\n");
    f.files.answer = f.dir / "open.TRF";
    f.model.browse();
    EXPECT_EQ(f.model.settings().TourneyName, "K\xF6ln Open");  // Windows-1252
    EXPECT_EQ(f.view.texts[id::kTitle], "K\xC3\xB6ln Open");
    // A title of the user's own stays.
    testing::writeFile(f.dir / "other.trf", "012 Other\n");
    f.files.answer = f.dir / "other.trf";
    f.model.browse();
    EXPECT_EQ(f.model.settings().TourneyName, "K\xF6ln Open");
}

TEST(MainDialog, FilterTextsParseIntoPairs) {
    EXPECT_EQ(CommonDialog::parseFilter("A|*.a|B|*.b"),
              (std::vector<FileFilter>{{"A", "*.a"}, {"B", "*.b"}}));
    EXPECT_EQ(CommonDialog::parseFilter("A|*.a|B"), (std::vector<FileFilter>{{"A", "*.a"}}));
    EXPECT_TRUE(CommonDialog::parseFilter("").empty());
}

TEST(MainDialog, MessagesAndTheirIcons) {
    Fixture f;
    f.view.type(id::kSlot, "club night");
    f.model.loadSettings();
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].caption, "pairweb");
    EXPECT_EQ(f.prompts.messages[0].text, "That preference file does not exist!");
    EXPECT_EQ(f.prompts.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(f.model.settingsPath(), f.dir / "pairwebclub night.cfg");

    f.model.generate();
    EXPECT_EQ(f.prompts.messages.back().text, "Error: please select a valid .trn file.");
    EXPECT_EQ(f.prompts.messages.back().kind, MessageKind::Warning);

}

TEST(MainDialog, SaveThenLoadAndTheOptionsSheetsCopyBack) {
    Fixture f;
    f.view.type(id::kTitle, "County Open");
    f.view.type(id::kSlot, "1");
    f.model.options([](OptionsSheet& sheet) { sheet.colourChosen(1, 1002, 0x123456); });
    EXPECT_EQ(f.model.settings().TextColour1, 0x123456u);
    f.model.saveSettings();
    EXPECT_TRUE(f.prompts.messages.empty());
    const settings::Settings saved = f.model.settings();

    Fixture other;
    std::filesystem::copy_file(f.dir / "pairweb1.cfg", other.dir / "pairweb1.cfg");
    other.view.type(id::kSlot, "1");
    other.model.loadSettings();
    EXPECT_TRUE(other.model.settings() == saved);
    EXPECT_EQ(other.view.texts[id::kTitle], "County Open");

    std::filesystem::create_directory(f.dir / "pairweb2.cfg");
    f.view.type(id::kSlot, "2");
    f.model.saveSettings();
    EXPECT_EQ(f.prompts.messages.back().text,
              "The settings could not be saved to " + (f.dir / "pairweb2.cfg"));
}

// "Set admin password..." on the PGN page: asks, refuses short passwords with a warning,
// and writes the hash into the site's PGN folder; a cancelled question does nothing.
TEST(MainDialog, SetAdminPasswordFromTheOptionsSheet) {
    Fixture f;
    std::filesystem::create_directories(std::filesystem::path(f.dir / "site"));
    f.view.type(id::kHomePage, f.dir / "site/index.html");
    f.model.setPasswordHasher([](std::string_view password) {
        return std::optional<platform::PasswordHash>({1, "s", std::string(password)});
    });
    const auto press = [&](std::optional<std::string> answer) {
        f.prompts.passwordAnswer = std::move(answer);
        f.model.options([](OptionsSheet& sheet) { sheet.press(5, kSetPasswordButton); });
    };
    press(std::nullopt);
    EXPECT_EQ(f.prompts.passwordQuestions.size(), 1u);
    EXPECT_TRUE(f.prompts.messages.empty());
    press("short");
    EXPECT_EQ(f.prompts.messages.back().text,
              "Error: the admin password must have at least 8 characters.");
    EXPECT_EQ(f.prompts.messages.back().kind, MessageKind::Warning);
    press("long enough");
    EXPECT_EQ(f.prompts.messages.back().text,
              "Admin password set in " + (f.dir / "site/pgn/admin_password.php"));
    EXPECT_EQ(f.prompts.messages.back().kind, MessageKind::Information);
    EXPECT_TRUE(pairweb::testing::fileExists(f.dir / "site/pgn/admin_password.php"));
}

TEST(MainDialog, TextsTabOrderAndTitle) {
    std::set<int> captioned;
    for (const ControlText& t : mainDialogTexts()) captioned.insert(t.id);
    for (const int control : {id::kOk, id::kCancel, id::kAbout, id::kBrowse, id::kOpen,
                              id::kGenerate, id::kOptions, id::kLoad, id::kSave}) {
        EXPECT_TRUE(captioned.count(control)) << control;
    }
    EXPECT_EQ(mainDialogTabOrder().front(), id::kBrowse);
    EXPECT_EQ(mainDialogTabOrder()[1], id::kTrnFile);
    EXPECT_EQ(aboutText(), "pairweb tournament web site generator, Version 1.0.3");
    EXPECT_EQ(applicationTitle("C:\\Program Files\\pairweb\\pairweb.exe"), "pairweb");
    EXPECT_EQ(applicationTitle("/opt/my.tool.bin"), "my.tool");
}

}  // namespace
}  // namespace pairweb::app

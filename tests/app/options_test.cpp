#include "app/options.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "settings/settings_file.h"

namespace pairweb::app {
namespace {

using settings::Settings;

// A page's controls as a map, as a front end would hold them.
class FakeControls : public PageControls {
  public:
    explicit FakeControls(LineBreaks breaks = LineBreaks::Lf) : m_breaks(breaks) {}
    bool checked(int id) const override { return flags.at(id); }
    void setChecked(int id, bool on) override { flags[id] = on; }
    std::string text(int id) const override { return texts.at(id); }
    void setText(int id, const std::string& utf8) override { texts[id] = utf8; }
    void setColour(int id, std::uint32_t colour) override { colours[id] = colour; }
    void setShown(int id, bool on) override { shown[id] = on; }
    LineBreaks lineBreaks() const override { return m_breaks; }

    std::map<int, bool> flags;
    std::map<int, bool> shown;
    std::map<int, std::string> texts;
    std::map<int, std::uint32_t> colours;

  private:
    LineBreaks m_breaks;
};

TEST(OptionPages, EverySettingOfTheSheetHasOneControl) {
    const auto& pages = optionPages();
    ASSERT_EQ(pages.size(), std::size_t(kOptionPageCount));
    std::vector<std::string> tabs;
    std::multiset<std::string> names;
    for (const PageDef& page : pages) {
        tabs.push_back(page.tab);
        std::set<int> ids;
        for (const PageItem& item : page.items) {
            if (item.kind == ItemKind::EndGroup) continue;
            EXPECT_TRUE(ids.insert(item.id).second) << page.tab << " id " << item.id;
            if (item.labelId != 0) {
                EXPECT_TRUE(ids.insert(item.labelId).second) << item.labelId;
            }
            if (item.isControl()) names.insert(item.name);
            if (item.kind == ItemKind::Combo) {
                EXPECT_TRUE(std::is_sorted(item.items.begin(), item.items.end())) << item.name;
            }
        }
    }
    EXPECT_EQ(tabs, (std::vector<std::string>{"Options", "Colours", "Tiebreaks", "Fonts", "Labels",
                                              "PGN", "Publish"}));
    // The settings less the three of the main dialog and the publishing files, each once; the
    // address and its protocol shown as five controls.
    EXPECT_EQ(names.size(), std::size_t(63));
    for (const char* name : {"PublishProtocol", "PublishHost", "PublishPort", "PublishUser",
                             "PublishFolder", "PublishHostKey", "PublishAfterGenerate"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }
    EXPECT_EQ(names.count("PhonePages") + names.count("PublicUrl"), 2u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(names.count("strFilename") + names.count("TourneyName") + names.count("OutputIndex"),
              0u);
}

TEST(OptionsSheet, CancelKeepsLeftPagesAndColoursAndNeverShownPagesGiveBackTheirValues) {
    Settings s;
    s.TourneyType = "whatever";
    s.Disclaimer = "one\r\ntwo";
    OptionsSheet sheet(s);
    FakeControls options;
    sheet.show(0, options);
    EXPECT_EQ(options.texts.at(1000), "one\ntwo");
    EXPECT_EQ(options.texts.at(1026), "whatever");
    options.flags[1008] = true;  // Display titles
    options.texts[1000] = "three\nfour";
    sheet.commit(0, options);  // the page is left
    sheet.colourChosen(1, 1006, 0x123456);
    FakeControls labels;
    sheet.show(4, labels);
    labels.texts[1020] = "free";  // not committed: Cancel drops it

    Settings out = s;
    sheet.store(out);
    EXPECT_EQ(out.DisplayTitles, 1);
    EXPECT_EQ(out.Disclaimer, "three\r\nfour");
    EXPECT_EQ(out.BGColourTable, 0x123456u);
    EXPECT_EQ(out.Bye, "bye");
    Settings expected = s;
    expected.DisplayTitles = 1;
    expected.Disclaimer = "three\r\nfour";
    expected.BGColourTable = 0x123456;
    EXPECT_TRUE(out == expected);
}

TEST(OptionsSheet, TypedTextsAreStoredAsTypedInWindows1252) {
    Settings s;
    OptionsSheet sheet(s);
    FakeControls fonts(LineBreaks::CrLf);
    sheet.show(3, fonts);
    fonts.texts[1026] = "13";  // a size that is not in the list
    fonts.texts[1021] = "Caf\xC3\xA9 Sans";
    sheet.commit(3, fonts);
    FakeControls tiebreaks;
    sheet.show(2, tiebreaks);
    tiebreaks.texts[1026] = "Num";
    sheet.commit(2, tiebreaks);
    sheet.store(s);
    EXPECT_EQ(s.TextSize, "13");
    EXPECT_EQ(s.FontFamily, "Caf\xE9 Sans");
    EXPECT_EQ(s.FirstTB, "Num");
}

// The Publish page shows PublishUrl and PublishPlainFtp in five controls and writes what they
// hold back as one address.
TEST(PublishPage, ShowsTheAddressInPartsAndWritesItBack) {
    struct Case {
        const char* url;
        int plain;
        PublishAddress shown;
    };
    const Case cases[] = {
        {"", 0, {"FTP with TLS", "", "", "", ""}},
        {"", 1, {"FTP without encryption", "", "", "", ""}},
        {"ftp://club@ftp.example.org/www/",
         0,
         {"FTP with TLS", "ftp.example.org", "", "club", "/www/"}},
        {"ftp://club@host/", 1, {"FTP without encryption", "host", "", "club", "/"}},
        {"sftp://ann%40home@[::1]:2222/~/www/open%20K%C3%B6ln/",
         1,
         {"SFTP", "[::1]", "2222", "ann@home", "/~/www/open K\xC3\xB6ln/"}},
        {"SFTP://u@h/a%2Fb/", 0, {"SFTP", "h", "", "u", "/a/b/"}},
        // Not an address the page can show: parts left empty, and kept as written.
        {"ftp://no-user.example.org/www/", 0, {"FTP with TLS", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        Settings s;
        s.PublishUrl = c.url;
        s.PublishPlainFtp = c.plain;
        OptionsSheet sheet(s);
        FakeControls page;
        sheet.show(kPublishPage, page);
        const PublishAddress shown{page.texts[kPublishProtocol], page.texts[kPublishHost],
                                   page.texts[kPublishPort], page.texts[kPublishUser],
                                   page.texts[kPublishFolder]};
        EXPECT_EQ(shown, c.shown) << c.url;
        EXPECT_EQ(page.shown.at(kPlainFtpNote), c.shown.protocol == "FTP without encryption")
            << c.url;
        sheet.commit(kPublishPage, page);
        Settings out;
        sheet.store(out);
        EXPECT_EQ(readAddress(out), c.shown) << c.url;
        EXPECT_EQ(out.PublishUrl, c.url);  // nothing was changed on the page
        EXPECT_EQ(out.PublishPlainFtp, c.shown.protocol == "FTP without encryption" ? 1 : 0);
    }
}

TEST(PublishPage, TypedPartsMakeOneAddress) {
    struct Case {
        PublishAddress typed;
        const char* url;
        int plain;
    };
    const Case cases[] = {
        {{"FTP with TLS", "ftp.example.org", "", "club", "www"},
         "ftp://club@ftp.example.org/www/",
         0},
        {{"SFTP", " h ", "22", "a b", "/~/www/open/"}, "sftp://a%20b@h:22/~/www/open/", 0},
        {{"FTP without encryption", "h", "", "u", ""}, "ftp://u@h/", 1},
        {{"FTP with TLS", "h", "", "u@x", "K\xC3\xB6ln cup"}, "ftp://u%40x@h/K%C3%B6ln%20cup/", 0},
        {{"SFTP", "", "", "", "/www/"}, "", 0},  // nothing to publish to
    };
    for (const Case& c : cases) {
        OptionsSheet sheet(Settings{});
        FakeControls page;
        sheet.show(kPublishPage, page);
        page.texts[kPublishProtocol] = c.typed.protocol;
        page.texts[kPublishHost] = c.typed.host;
        page.texts[kPublishPort] = c.typed.port;
        page.texts[kPublishUser] = c.typed.user;
        page.texts[kPublishFolder] = c.typed.folder;
        sheet.commit(kPublishPage, page);
        Settings out;
        sheet.store(out);
        EXPECT_EQ(out.PublishUrl, c.url) << c.typed.host;
        EXPECT_EQ(out.PublishPlainFtp, c.plain) << c.typed.host;
    }
}

// A page never shown gives back an address as it was written by hand; the note follows the
// protocol chosen.
TEST(PublishPage, UnshownPageKeepsTheAddressAndTheNoteFollowsTheProtocol) {
    Settings s;
    s.PublishUrl = "ftp://u@h/www";  // no closing "/"
    s.PublishAfterGenerate = 1;
    OptionsSheet sheet(s);
    Settings out;
    sheet.store(out);
    EXPECT_EQ(out.PublishUrl, "ftp://u@h/www");
    EXPECT_EQ(out.PublishAfterGenerate, 1);

    FakeControls page;
    sheet.show(kPublishPage, page);
    EXPECT_FALSE(page.shown.at(kPlainFtpNote));
    EXPECT_TRUE(page.flags.at(kPublishAfterGenerate));
    page.texts[kPublishProtocol] = plainFtpName();
    sheet.choiceChanged(kPublishPage, page);
    EXPECT_TRUE(page.shown.at(kPlainFtpNote));
}

// The page's buttons act on what its controls hold, and what they change is shown again.
TEST(PublishPage, ButtonsCommitActAndShowAgain) {
    OptionsSheet sheet(Settings{});
    std::vector<std::string> tested;
    std::vector<std::string> forgotten;
    sheet.testConnection = [&](Settings& v) {
        tested.push_back(v.PublishUrl);
        v.PublishHostKey = "SHA256:trusted";
    };
    sheet.forgetPassword = [&](const Settings& v) { forgotten.push_back(v.PublishUrl); };
    FakeControls page;
    sheet.show(kPublishPage, page);
    page.texts[kPublishProtocol] = "SFTP";
    page.texts[kPublishHost] = "h";
    page.texts[kPublishUser] = "u";
    sheet.press(kPublishPage, kTestConnectionButton, &page);
    EXPECT_EQ(tested, std::vector<std::string>{"sftp://u@h/"});
    EXPECT_EQ(page.texts.at(kPublishHostKey), "SHA256:trusted");
    sheet.press(kPublishPage, kForgetPasswordButton, &page);
    EXPECT_EQ(forgotten, std::vector<std::string>{"sftp://u@h/"});
    sheet.press(kPgnPage, kTestConnectionButton);  // no such button there
    EXPECT_EQ(tested.size(), 1u);
    Settings out;
    sheet.store(out);
    EXPECT_EQ(out.PublishHostKey, "SHA256:trusted");
    EXPECT_EQ(out.PublishUrl, "sftp://u@h/");
}

}  // namespace
}  // namespace pairweb::app

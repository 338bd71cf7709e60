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
    LineBreaks lineBreaks() const override { return m_breaks; }

    std::map<int, bool> flags;
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
            EXPECT_TRUE(std::is_sorted(item.items.begin(), item.items.end())) << item.name;
        }
    }
    EXPECT_EQ(tabs, (std::vector<std::string>{"Options", "Colours", "Tiebreaks", "Fonts", "Labels",
                                              "PGN"}));
    // The settings less the three of the main dialog and the publishing ones, each once.
    EXPECT_EQ(names.size(), std::size_t(56));
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

}  // namespace
}  // namespace pairweb::app

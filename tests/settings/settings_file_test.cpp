#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_ops.h"
#include "support/test_env.h"

namespace pairweb::settings {
namespace {

using testing::crlfLines;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

TEST(SettingsTest, NewRecordHoldsTheDefaults) {
    const Settings s;
    EXPECT_EQ(s.Federation, "Fed");
    EXPECT_EQ(s.Rating_1, "FIDE");
    EXPECT_EQ(s.Rating_2, "Local");
    EXPECT_EQ(s.Bye, "bye");
    EXPECT_EQ(s.TitleColour, 0x800000u);
    EXPECT_EQ(s.BGColourTable, 0xFFEAEAu);
    EXPECT_EQ(s.HeadHoverColour, 0x00FFFFu);
    EXPECT_EQ(s.TextHoverColour, 0x996666u);
    EXPECT_EQ(s.FontFamily, "Times");
    EXPECT_EQ(s.rrCrosstableSize, "12px");
    EXPECT_EQ(s.TourneyType, "Swiss");
    EXPECT_EQ(s.strFilename, "TRN filename: please select");
    EXPECT_EQ(s.OutputIndex, "Website homepage");
    EXPECT_EQ(s.PhonePages, 1);
    EXPECT_EQ(s.PublicUrl, "");
}

TEST(SettingsFileTest, DefaultFileIsByteExact) {
    const std::string expected =
        "DisplayTiebreaks [0]\r\nMakePGN [0]\r\nLinkPGN [0]\r\nFnamePrefix []\r\n"
        "PGNSite [*]\r\nPGNDate [*]\r\nFontFamily [Times]\r\nTextColour1 [0]\r\n"
        "TitleColour [8388608]\r\nBGColourMain [16777215]\r\nBGColourTable [16771818]\r\n"
        "BGColourHead [8388608]\r\nHeadTextColour [16777215]\r\nLinkTextColour [8388608]\r\n"
        "HeadHoverColour [65535]\r\nTextHoverColour [10053222]\r\nFirstTB [Sum Prog]\r\n"
        "SecondTB [Buchholz]\r\nThirdTB [MBuchholz]\r\nDisplayRating [0]\r\n"
        "DisplayRating_2 [0]\r\nDisplaySeed [0]\r\nDisplayTitles [0]\r\n"
        "TourneyName [Tournament Name: please edit]\r\nDisplayFed [0]\r\nDisplayClub [0]\r\n"
        "CrossStartrank [0]\r\nTourneyType [Swiss]\r\nDisclaimer []\r\n"
        "OutputIndex [Website homepage]\r\nstrFilename [TRN filename: please select]\r\n"
        "Player_List [Player List]\r\nPairings [Pairings]\r\nStandings [Standings]\r\n"
        "Crosstable [Crosstable]\r\nRound [Round]\r\nName [Name]\r\nRank [Rank]\r\n"
        "Seed [Seed]\r\nScore [Score]\r\nFederation [Fed]\r\nRating [Rating]\r\n"
        "Rating_1 [FIDE]\r\nRating_2 [Local]\r\nBye [bye]\r\nPrevious [prev]\r\n"
        "Next [next]\r\nResult [Result]\r\nBoard [Board]\r\nClub [Club]\r\n"
        "ToptitleSize [20px]\r\nTopSize [16px]\r\nTitleSize [16px]\r\nHeadSize [10px]\r\n"
        "TextSize [10px]\r\nCrosstableSize [10px]\r\nrrCrosstableSize [12px]\r\n"
        "PublishUrl []\r\nPublishPlainFtp [0]\r\nPublishCaFile []\r\nPublishHostKey []\r\n"
        "PublishKeyFile []\r\nPhonePages [1]\r\nPublicUrl []\r\nPublishAfterGenerate [0]\r\n";
    EXPECT_EQ(settingsFileText(Settings{}), expected);
    EXPECT_EQ(crlfLines(expected).size(), 65u);
}

// Every field set to a value other than its default.
Settings everythingChanged() {
    Settings s;
    int n = 0;
    const auto text = [&n](const char* base) { return std::string(base) + std::to_string(++n); };
    s.Player_List = text("pl");
    s.Pairings = text("pa");
    s.Standings = text("st");
    s.Crosstable = text("cr");
    s.Rank = text("ra");
    s.Round = text("ro");
    s.Name = text("na");
    s.Seed = text("se");
    s.Score = text("sc");
    s.Board = text("bo");
    s.Federation = text("fe");
    s.Club = text("cl");
    s.Rating = text("rt");
    s.Rating_1 = text("r1");
    s.Rating_2 = text("r2");
    s.Bye = text("by");
    s.Previous = text("pr");
    s.Next = text("ne");
    s.Result = text("re");
    s.ToptitleSize = "21px";
    s.TitleSize = "17px";
    s.TopSize = "15px";
    s.HeadSize = "9px";
    s.TextSize = "11px";
    s.CrosstableSize = "12";
    s.rrCrosstableSize = "13px";
    s.DisplayTiebreaks = 1;
    s.MakePGN = 1;
    s.LinkPGN = -7;
    s.FnamePrefix = "open";
    s.PGNSite = "Cork IRL";
    s.PGNDate = "2026.12.08";
    s.FontFamily = "\"Times New Roman\"";
    s.TextColour1 = kAutomaticColour;
    s.TitleColour = 1;
    s.BGColourMain = 2;
    s.BGColourTable = 3;
    s.BGColourHead = 4;
    s.HeadTextColour = 5;
    s.LinkTextColour = 6;
    s.HeadHoverColour = 0xFFFFFFFFu;
    s.TextHoverColour = 8;
    s.FirstTB = "Num Wins";
    s.SecondTB = "Start Rank";
    s.ThirdTB = "Buchholz";
    s.DisplayRating = 1;
    s.DisplayRating_2 = 1;
    s.DisplaySeed = 1;
    s.DisplayTitles = 1;
    s.DisplayFed = 1;
    s.DisplayClub = 1;
    s.CrossStartrank = 1;
    s.TourneyType = "Round-Robin";
    s.PublishUrl = "sftp://club@example.org:2222/~/www/open/";
    s.PublishPlainFtp = 1;
    s.PublishCaFile = "/etc/club/ca.pem";
    s.PublishHostKey = "SHA256:abc";
    s.PublishKeyFile = "/home/club/.ssh/id_ed25519";
    s.PhonePages = 0;
    s.PublicUrl = "https://club.example.org/open2026/";
    s.PublishAfterGenerate = 1;
    s.Disclaimer = "  Results are provisional";
    s.strFilename = "/data/open.trn";
    s.TourneyName = "Cork Open 2026";
    s.OutputIndex = "/var/www/open/index.html";
    return s;
}

TEST(SettingsFileTest, RoundTripRestoresEveryValue) {
    TempDir dir;
    const Settings saved = everythingChanged();
    ASSERT_TRUE(writeSettingsFile(dir / "pairweb1.cfg", saved).ok());
    Settings loaded;
    ASSERT_TRUE(readSettingsFile(dir / "pairweb1.cfg", loaded).ok());
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(loaded.TextColour1, kAutomaticColour);
    const std::vector<std::string> lines = crlfLines(readFile(dir / "pairweb1.cfg"));
    ASSERT_EQ(lines.size(), 65u);
    EXPECT_EQ(lines[2], "LinkPGN [-7]");
    EXPECT_EQ(lines[7], "TextColour1 [4278190080]");
    EXPECT_EQ(lines[14], "HeadHoverColour [4294967295]");
}

TEST(SettingsFileTest, PartialFileChangesOnlyItsKeys) {
    Settings s = everythingChanged();
    const Settings before = s;
    applySettingsText("MakePGN [0]\r\nBye [free]\r\n", s);
    Settings expected = before;
    expected.MakePGN = 0;
    expected.Bye = "free";
    EXPECT_EQ(s, expected);
}

TEST(SettingsFileTest, IgnoresUnknownAndMalformedLines) {
    Settings s;
    applySettingsText(
        "displayrating [1]\n"    // keys are case-sensitive
        "Unknown [x]\n"
        "\n"
        "DisplaySeed[1]\n"       // no blank: no key
        "DisplayFed 1\n"         // no "[": no value
        "DisplayClub [1]",       // last line without line end still counts
        s);
    Settings expected;
    expected.DisplayClub = 1;
    EXPECT_EQ(s, expected);
}

TEST(SettingsFileTest, ValueEndsAtFirstClosingBracket) {
    Settings s;
    s.TourneyName = "Open [A] ]";
    TempDir dir;
    ASSERT_TRUE(writeSettingsFile(dir / "p.cfg", s).ok());
    EXPECT_EQ(crlfLines(readFile(dir / "p.cfg"))[23], "TourneyName [Open [A] ]]");
    Settings loaded;
    ASSERT_TRUE(readSettingsFile(dir / "p.cfg", loaded).ok());
    EXPECT_EQ(loaded.TourneyName, "Open [A");

    applySettingsText("Round [Rnd", loaded);  // no "]": the value runs to the line's end
    EXPECT_EQ(loaded.Round, "Rnd");
}

TEST(SettingsFileTest, DisclaimerWithLineBreaksKeepsOnlyItsFirstLine) {
    Settings s;
    s.Disclaimer = "Provisional\r\nBye [Free point]\r\nSee board";
    TempDir dir;
    ASSERT_TRUE(writeSettingsFile(dir / "p.cfg", s).ok());
    Settings loaded;
    ASSERT_TRUE(readSettingsFile(dir / "p.cfg", loaded).ok());
    EXPECT_EQ(loaded.Disclaimer, "Provisional");
    // The second line of the text reads as a line of its own, with a real key.
    EXPECT_EQ(loaded.Bye, "bye");  // overwritten again by the later Bye line of the file
    Settings only;
    applySettingsText("Disclaimer [Provisional\r\nBye [Free point]\r\nSee board]\r\n", only);
    EXPECT_EQ(only.Bye, "Free point");
}

TEST(SettingsFileTest, NumbersSkipBlanksAndWrapModulo2To32) {
    Settings s;
    applySettingsText(
        "MakePGN [ 1]\r\n"
        "LinkPGN [\t+12abc]\r\n"
        "DisplaySeed [x]\r\n"
        "TextColour1 [-1]\r\n"
        "TitleColour [4294967296]\r\n"
        "BGColourMain [4294967297]\r\n"
        "DisplayFed [4294967295]\r\n",
        s);
    EXPECT_EQ(s.MakePGN, 1);
    EXPECT_EQ(s.LinkPGN, 12);
    EXPECT_EQ(s.DisplaySeed, 0);
    EXPECT_EQ(s.TextColour1, 0xFFFFFFFFu);
    EXPECT_EQ(s.TitleColour, 0u);
    EXPECT_EQ(s.BGColourMain, 1u);
    EXPECT_EQ(s.DisplayFed, -1);
}

TEST(SettingsFileTest, TextValuesKeepBlanksAndOnlyCrBeforeLfIsDropped) {
    Settings s;
    applySettingsText("PGNSite [  Cork  ]\r\nPGNDate [x\r]\nFontFamily [Arial]\r", s);
    EXPECT_EQ(s.PGNSite, "  Cork  ");
    EXPECT_EQ(s.PGNDate, "x\r");
    EXPECT_EQ(s.FontFamily, "Arial");  // the value stops at "]" before the stray CR
}

TEST(SettingsFileTest, MissingOrUnreadableFileChangesNothing) {
    TempDir dir;
    Settings s = everythingChanged();
    const Settings before = s;
    EXPECT_EQ(readSettingsFile(dir / "pairweb7.cfg", s).outcome, SettingsOutcome::Missing);
    std::filesystem::create_directory(dir / "pairweb8.cfg");
    EXPECT_EQ(readSettingsFile(dir / "pairweb8.cfg", s).outcome, SettingsOutcome::Unreadable);
    EXPECT_EQ(s, before);
    EXPECT_EQ(kMissingSettingsFileMessage, "That preference file does not exist!");
}

TEST(SettingsFileTest, WriteFailureIsReportedAndKeepsTheFormerFile) {
    TempDir dir;
    EXPECT_FALSE(writeSettingsFile(dir / "no-such-folder/pairweb1.cfg", Settings{}).ok());
    std::filesystem::create_directory(dir / "pairweb2.cfg");
    EXPECT_FALSE(writeSettingsFile(dir / "pairweb2.cfg", Settings{}).ok());

    writeFile(dir / "pairweb3.cfg", "Bye [kept]\r\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    const bool written = writeSettingsFile(dir / "pairweb3.cfg", Settings{}).ok();
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    if (!written) {  // root may write anywhere; everyone else is refused here
        EXPECT_EQ(readFile(dir / "pairweb3.cfg"), "Bye [kept]\r\n");
    }
    // No temporary file is left behind by the failed writes.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"pairweb2.cfg", "pairweb3.cfg"}));
}

TEST(SettingsFileTest, AnsiPathsAreReadAsWindows1252WhereTheSystemWritesThem) {
    Settings s;
    applySettingsText("strFilename [K\xF6ln.trn]\r\nOutputIndex [K\xC3\xB6ln/i.html]\r\n"
                      "TourneyName [K\xF6ln]\r\n",
                      s);
    // Paths already in UTF-8 and texts of the site stay as they are.
    EXPECT_EQ(s.OutputIndex, "K\xC3\xB6ln/i.html");
    EXPECT_EQ(s.TourneyName, "K\xF6ln");
    EXPECT_EQ(s.strFilename,
              platform::ansiPathsMayAppear() ? "K\xC3\xB6ln.trn" : "K\xF6ln.trn");
}

TEST(SettingsFileTest, FileNameIsProgramFolderPlusSlot) {
    using testing::native;
    EXPECT_EQ(settingsFilePath(native("/opt/pairweb/bin/pairweb"), "3"),
              native("/opt/pairweb/bin/pairweb3.cfg"));
    EXPECT_EQ(settingsFilePath(native("/opt/pairweb/bin/pairweb"), ""),
              native("/opt/pairweb/bin/pairweb.cfg"));
    EXPECT_EQ(settingsFilePath(native("/opt/bin/pairweb"), "club night"),
              native("/opt/bin/pairwebclub night.cfg"));
}

}  // namespace
}  // namespace pairweb::settings

#include "site/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>

#include "page_test_support.h"
#include "platform/file_ops.h"
#include "site/page_options.h"

namespace pairweb::site {
namespace {

namespace fs = std::filesystem;
using testing::crlfLines;
using testing::fileExists;
using testing::filesIn;
using testing::readFile;
using testing::writeFile;

class DriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::useUtc();
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "site");
        s.strFilename = dir / "event.trn";
        s.OutputIndex = dir / "site/index.html";
        s.TourneyName = "County Open";
    }
    void writeEvent(const std::vector<testing::PlayerRow>& players,
                    const std::vector<testing::GameRow>& games) {
        ASSERT_TRUE(testing::writeTournament(dir / "event", players, games));
    }
    std::string run() { return generateSite(s, platform).message; }

    testing::TempDir dir;
    settings::Settings s;
    testing::FixedPlatform platform{dir / "bin/pairweb", kTestTime};
};

TEST_F(DriverTest, DefaultsFailTheFirstCheckAndWriteNothing) {
    EXPECT_EQ(generateSite(settings::Settings{}, platform).message, kNoTrnFile);
}

TEST_F(DriverTest, ChecksComeInOrderWithTheirMessages) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    fs::create_directories(dir / "folder.trn");
    writeFile(dir / "nodot", "x");
    writeFile(dir / "nodot.sco", "x");
    writeFile(dir / "lonely.trn", "x");
    writeFile(dir / "upper.TRN", "x");
    writeFile(dir / "upper.sco", "x");
    writeFile(dir / "mixed.Trn", "x");
    writeFile(dir / "mixed.sco", "x");
    const struct {
        std::string trn;
        std::string index;
        std::string_view message;
        RunOutcome outcome;
    } cases[] = {
        {dir / "missing.trn", dir / "site/index.html", kNoTrnFile, RunOutcome::NoTrnFile},
        {dir / "event.trn", "index.html", kInvalidOutputPath, RunOutcome::InvalidOutputPath},
        {dir / "missing.trn", "index.html", kNoTrnFile, RunOutcome::NoTrnFile},
        {dir / "nodot", dir / "site/index.html", kNotTrnExtension, RunOutcome::NotTrnExtension},
        {dir / "nodot", "index.html", kInvalidOutputPath, RunOutcome::InvalidOutputPath},
        {dir / "lonely.trn", dir / "site/index.html", kNoScoFile, RunOutcome::NoScoFile},
        {dir / "lonely.trn", dir / "nowhere/index.html", kNoScoFile, RunOutcome::NoScoFile},
        {dir / "event.trn", dir / "nowhere/index.html", kNoOutputFolder,
         RunOutcome::NoOutputFolder},
        {dir / "event.trn", dir / "event.trn/index.html", kNoOutputFolder,
         RunOutcome::NoOutputFolder},
        {dir / "mixed.Trn", dir / "site/index.html", kNotTrnExtension, RunOutcome::NotTrnExtension},
        {dir / "mixed.Trn", dir / "site/index.Html", kNotTrnExtension, RunOutcome::NotTrnExtension},
        {dir / "event.trn", dir / "site/index.Html", kNotHtmlExtension,
         RunOutcome::NotHtmlExtension},
        {dir / "event.trn", dir / "site/index.txt", kNotHtmlExtension,
         RunOutcome::NotHtmlExtension},
        {dir / "event.trn", dir / "site/index", kNotHtmlExtension, RunOutcome::NotHtmlExtension},
        {dir / "event.trn", dir / "site/index.HTML", kGenerated, RunOutcome::Generated},
        {dir / "event.trn", dir / "site/index.htm", kGenerated, RunOutcome::Generated},
        {dir / "upper.TRN", dir / "site/index.html", kCannotOpenTrn, RunOutcome::CannotOpenTrn},
        {dir / "folder.trn", dir / "site/index.html", kNoScoFile, RunOutcome::NoScoFile},
    };
    std::ostringstream quiet;
    auto* old = std::cerr.rdbuf(quiet.rdbuf());
    for (const auto& c : cases) {
        s.strFilename = c.trn;
        s.OutputIndex = c.index;
        const RunResult result = generateSite(s, platform);
        EXPECT_EQ(result.message, c.message) << c.trn << " / " << c.index;
        EXPECT_EQ(result.outcome, c.outcome) << c.trn << " / " << c.index;
    }
    std::cerr.rdbuf(old);
}

TEST_F(DriverTest, FailedChecksWriteNothing) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    s.MakePGN = s.LinkPGN = 1;
    s.OutputIndex = dir / "site/index.Html";
    EXPECT_EQ(run(), kNotHtmlExtension);
    EXPECT_TRUE(filesIn(dir / "site").empty());
}

TEST_F(DriverTest, PrefixThatLeavesThePgnFolderIsRefusedBeforeAnyWrite) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    s.MakePGN = s.LinkPGN = 1;
    const struct {
        std::string prefix;
        std::string shown;
    } cases[] = {{"../../x", "../../x"},
                 {"a/b", "a/b"},
                 {"a\\b", "a\\b"},
                 {std::string("ev\0il", 5), "ev\\0il"}};
    for (const auto& c : cases) {
        s.FnamePrefix = c.prefix;
        EXPECT_EQ(run(), "Error: the file name prefix \"" + c.shown +
                             "\" may not contain \"/\", \"\\\" or a NUL byte.");
        EXPECT_TRUE(filesIn(dir / "site").empty()) << c.shown;
        EXPECT_TRUE(filesIn(dir.path()) ==
                    (std::vector<std::string>{"bin", "event.sco", "event.trn", "site"}));
    }
}

TEST_F(DriverTest, StaleTemporaryFilesOfAKilledRunAreRemoved) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    s.MakePGN = 1;
    fs::create_directories(dir / "site/pgn");
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(11);
    for (const std::string folder : {"site/", "site/pgn/"}) {
        for (const std::string name :
             {".pwtmp-0old0abc", ".pwtmp-young123", ".pwtmp-OLD", "keep"}) {
            writeFile(dir / (folder + name), "partial");
            if (name != ".pwtmp-young123") fs::last_write_time(dir / (folder + name), old);
        }
    }
    ASSERT_EQ(run(), kGenerated);
    for (const std::string folder : {"site/", "site/pgn/"}) {
        EXPECT_FALSE(fileExists(dir / (folder + ".pwtmp-0old0abc"))) << folder;
        for (const std::string kept : {".pwtmp-young123", ".pwtmp-OLD", "keep"}) {
            EXPECT_TRUE(fileExists(dir / (folder + kept))) << folder << kept;
        }
    }
}

TEST_F(DriverTest, UnreadableTablesEndTheRunBeforeAnyPage) {
    std::ostringstream quiet;
    auto* old = std::cerr.rdbuf(quiet.rdbuf());
    writeFile(dir / "event.trn", std::string("\x83", 1) + std::string(64, '\0'));
    writeFile(dir / "event.sco", "x");
    s.MakePGN = 1;
    EXPECT_EQ(run(), kCannotOpenTrn);
    EXPECT_EQ(filesIn(dir / "site"), std::vector<std::string>{"pgn"});
    EXPECT_TRUE(filesIn(dir / "site/pgn").empty());

    writeEvent(testing::numberedPlayers(2), {});
    fs::remove(dir / "event.sco");
    fs::create_directories(dir / "event.sco");  // exists, but cannot be read as a table
    EXPECT_EQ(run(), kCannotOpenSco);
    EXPECT_EQ(filesIn(dir / "site"), std::vector<std::string>{"pgn"});
    std::cerr.rdbuf(old);
}

TEST_F(DriverTest, DerivedPaths) {
    using testing::native;
    s.strFilename = native("/data/events.2026/open.TRN");
    s.OutputIndex = native("/var/www/open/home.htm");
    const SitePaths p =
        derivePaths(s, native("/opt/pairweb/bin/pairweb"), platform::pathSeparator());
    EXPECT_EQ(p.scoFile, native("/data/events.2026/open.sco"));
    EXPECT_EQ(p.outputFolder, native("/var/www/open/"));
    EXPECT_EQ(p.homeFile, "home.htm");
    EXPECT_EQ(p.pgnFolder, native("/var/www/open/pgn/"));
    EXPECT_EQ(p.viewerSource, native("/opt/pairweb/bin/pgnviewer/"));
}

TEST(PageOptionsTest, ColourTexts) {
    EXPECT_EQ(colourText(0), "#000000");
    EXPECT_EQ(colourText(0x00FFFF), "#ffff00");
    EXPECT_EQ(colourText(0x800000), "#000080");
    EXPECT_EQ(colourText(0xFFEAEA), "#eaeaff");
    EXPECT_EQ(colourText(255), "#ff0000");
    EXPECT_EQ(colourText(settings::kAutomaticColour), "#0000ff");
    EXPECT_EQ(colourText(0x01000000), "#000010");
}

TEST(PageOptionsTest, FontListsByGroup) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"Arial Black\"", "\"Arial Black\",Helvetica,sans-serif"},
        {"Arial", "Arial,Helvetica,sans-serif"},
        {"\"Comic Sans MS\"", "\"Comic Sans MS\",Helvetica,sans-serif"},
        {"Tahoma", "Tahoma,Helvetica,sans-serif"},
        {"Verdana", "Verdana,Helvetica,sans-serif"},
        {"Helvetica", "Helvetica,sans-serif"},
        {"\"Book Antiqua\"", "\"Book Antiqua\",Times,serif"},
        {"\"Times New Roman\"", "\"Times New Roman\",Times,serif"},
        {"\"Trebuchet MS\"", "\"Trebuchet MS\",Times,serif"},
        {"Palatino", "Palatino,Times,serif"},
        {"Garamond", "Garamond,Times,serif"},
        {"Georgia", "Georgia,Times,serif"},
        {"Times", "Times,serif"},
        {"Serif", "Serif"},
        {"verdana", "verdana"},
        {"Times New Roman", "Times New Roman"},
    };
    for (const auto& [family, list] : cases) {
        EXPECT_EQ(fontList(family), list);
    }
}

TEST(PageOptionsTest, PrefixAndCopiedFields) {
    settings::Settings s;
    EXPECT_EQ(makePageOptions(s).fnamePrefix, "");
    s.FnamePrefix = "open";
    s.BGColourTable = 0x010203;
    s.BGColourHead = 0x0A0B0C;
    const PageOptions o = makePageOptions(s);
    EXPECT_EQ(o.fnamePrefix, "open_");
    EXPECT_EQ(o.BGColourTable, "#030201");
    EXPECT_EQ(o.BGColourTableCopy, o.BGColourTable);
    EXPECT_EQ(o.BGColourHeadCopy, "#0c0b0a");
    const PageLabels labels = makePageLabels(s);
    EXPECT_EQ(labels.Federation, "Fed");
    EXPECT_EQ(labels.Rating_2, "Local");
    EXPECT_EQ(labels.Result, "Result");
}

TEST_F(DriverTest, WritesTheWholeSite) {
    writeEvent(testing::smallEventPlayers(), testing::smallEventGames());
    s.MakePGN = 1;
    s.FnamePrefix = "open";
    ASSERT_EQ(run(), kGenerated);
    EXPECT_EQ(
        filesIn(dir / "site"),
        (std::vector<std::string>{"admin.php", "contents.html", "crosstable.html", "index.html",
                                  "m", "pgn", "player_list.html", "results.html",
                                  "results_round1.html",
                                  "results_round2.html", "results_round3.html",
                                  "results_round4.html", "standings.html", "standings_round1.html",
                                  "standings_round2.html", "standings_round3.html", "style.css"}));
    EXPECT_EQ(
        filesIn(dir / "site/pgn"),
        (std::vector<std::string>{"open_round1.pgn", "open_round1_pgn.html", "open_round2.pgn",
                                  "open_round2_pgn.html", "open_round3.pgn", "open_round3_pgn.html",
                                  "open_round4.pgn", "open_round4_pgn.html"}));
    // Round 4 has no results: the standings index stops at round 3, and round 3 is the
    // latest standings (no link onwards).
    const std::vector<std::string> index = crlfLines(readFile(dir / "site/standings.html"));
    EXPECT_EQ(index[12],
              "<tr><td><a href=\"standings_round3.html\" target=\"main\">Round 3</a></td></tr>");
    EXPECT_EQ(index[13], footer()[0]);
    const std::string round3 = readFile(dir / "site/standings_round3.html");
    EXPECT_EQ(round3.find("standings_round4.html"), std::string::npos);
    EXPECT_NE(readFile(dir / "site/standings_round2.html").find("standings_round3.html"),
              std::string::npos);
    // The crosstable covers rounds 1 to 3, the last with results.
    EXPECT_EQ(crlfLines(readFile(dir / "site/crosstable.html"))[5],
              "<title>Crosstable: Round 3</title></head>");
}

TEST_F(DriverTest, SecondRunKeepsPgnFilesAndOldPages) {
    writeEvent(testing::smallEventPlayers(), testing::smallEventGames());
    s.MakePGN = 1;
    ASSERT_EQ(run(), kGenerated);
    writeFile(dir / "site/pgn/round1.pgn", "games entered by hand");
    writeFile(dir / "site/standings_round9.html", "old");
    std::vector<testing::GameRow> games = testing::smallEventGames();
    games.push_back({5, 1, 2, 1, 1});
    writeEvent(testing::smallEventPlayers(), games);
    ASSERT_EQ(run(), kGenerated);
    EXPECT_EQ(readFile(dir / "site/pgn/round1.pgn"), "games entered by hand");
    EXPECT_TRUE(fileExists(dir / "site/pgn/round5.pgn"));
    EXPECT_TRUE(fileExists(dir / "site/pgn/round5_pgn.html"));
    EXPECT_EQ(readFile(dir / "site/standings_round9.html"), "old");
    // No temporary files are left behind.
    for (const std::string& name : filesIn(dir / "site")) {
        EXPECT_NE(name[0], '.') << name;
    }
}

TEST_F(DriverTest, ARunWithoutChangesKeepsEveryFileAndAChangeRewritesOnlyItsPages) {
    writeEvent(testing::smallEventPlayers(), testing::smallEventGames());
    s.MakePGN = 1;
    ASSERT_EQ(run(), kGenerated);
    const auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir / "site")) {
            if (!entry.is_regular_file()) continue;
            files[fs::relative(entry.path(), fs::path(dir / "site")).generic_string()] =
                readFile(entry.path().string());
        }
        return files;
    };
    const auto first = snapshot();
    testing::FixedPlatform later{dir / "bin/pairweb", kTestTime + 60};
    ASSERT_EQ(generateSite(s, later).message, kGenerated);
    EXPECT_TRUE(snapshot() == first);

    std::vector<testing::GameRow> games = testing::smallEventGames();
    games.push_back({5, 1, 2, 1, 1});
    writeEvent(testing::smallEventPlayers(), games);
    ASSERT_EQ(generateSite(s, later).message, kGenerated);
    const auto second = snapshot();
    EXPECT_EQ(second.at("player_list.html"), first.at("player_list.html"));
    const std::string laterTime = "Mon Dec 07 14:06:09 2026";
    EXPECT_NE(second.at("crosstable.html").find(laterTime), std::string::npos);
    EXPECT_NE(second.at("results_round5.html").find(laterTime), std::string::npos);
}

TEST_F(DriverTest, LatestStandingsFlagLooksOnlyAtTheLastTwoRounds) {
    std::vector<testing::GameRow> games;
    for (int r = 1; r <= 5; ++r) games.push_back({r, 1, 2, 1, 1});
    games.push_back({6, 1, 2, 0, 0});
    writeEvent(testing::numberedPlayers(2), games);
    ASSERT_EQ(run(), kGenerated);
    EXPECT_EQ(readFile(dir / "site/standings_round5.html").find("standings_round6.html"),
              std::string::npos);

    games.push_back({7, 1, 2, 0, 0});
    writeEvent(testing::numberedPlayers(2), games);
    ASSERT_EQ(run(), kGenerated);
    EXPECT_NE(readFile(dir / "site/standings_round5.html").find("standings_round6.html"),
              std::string::npos);
}

TEST_F(DriverTest, RoundWithoutRecordsUsesItsOwnNumber) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}, {3, 2, 1, 1, 1}});
    ASSERT_EQ(run(), kGenerated);
    const std::vector<std::string> lines = crlfLines(readFile(dir / "site/results_round2.html"));
    EXPECT_EQ(lines[15],
              "<tr><td colspan=4><table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" "
              "width=45 align=left><a href=\"results_round1.html\">prev</a></td><td "
              "class=\"title\" align=center>Pairings: Round 2</td><td class=\"plain\" width=45 "
              "align=right><a href=\"results_round3.html\">next</a></td></tr></table></td></tr>");
}

TEST_F(DriverTest, MoreThan24PlayersAreAlwaysSwiss) {
    s.TourneyType = "Round-Robin";
    writeEvent(testing::numberedPlayers(24), {{1, 1, 2, 2, 0}});
    ASSERT_EQ(run(), kGenerated);
    EXPECT_NE(readFile(dir / "site/crosstable.html").find("blk_crosstable"), std::string::npos);
    writeEvent(testing::numberedPlayers(25), {{1, 1, 2, 2, 0}});
    ASSERT_EQ(run(), kGenerated);
    EXPECT_EQ(readFile(dir / "site/crosstable.html").find("blk_crosstable"), std::string::npos);
}

TEST_F(DriverTest, LinkPgnCopiesThePlainViewerFiles) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    s.LinkPGN = 1;
    ASSERT_EQ(run(), kGenerated);  // no viewer folder beside the program: fine
    EXPECT_TRUE(filesIn(dir / "site/pgn").empty());

    fs::create_directories(dir / "bin/pgnviewer/images");
    writeFile(dir / "bin/pgnviewer/ltpgnviewer.html", "viewer");
    writeFile(dir / "bin/pgnviewer/LICENSE", "licence");
    writeFile(dir / "bin/pgnviewer/images/board.png", "png");
    writeFile(dir / "site/pgn/ltpgnviewer.html", "stale");
    ASSERT_EQ(run(), kGenerated);
    EXPECT_EQ(filesIn(dir / "site/pgn"), (std::vector<std::string>{"LICENSE", "ltpgnviewer.html"}));
    EXPECT_EQ(readFile(dir / "site/pgn/ltpgnviewer.html"), "viewer");
    EXPECT_FALSE(fileExists(dir / "site/admin.php"));
}

TEST_F(DriverTest, UnwritableFileIsReportedAndTheRestIsWritten) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    fs::create_directories(dir / "site/style.css");
    fs::create_directories(dir / "site/crosstable.html");
    const RunResult result = generateSite(s, platform);
    EXPECT_EQ(result.message, std::string(kCouldNotWrite) + (dir / "site/style.css"));
    EXPECT_EQ(result.outcome, RunOutcome::CouldNotWrite);
    EXPECT_EQ(result.path, dir / "site/style.css");
    EXPECT_TRUE(fileExists(dir / "site/player_list.html"));
    EXPECT_TRUE(fileExists(dir / "site/results_round1.html"));
    EXPECT_TRUE(fileExists(dir / "site/contents.html"));
}

TEST_F(DriverTest, ReadOnlyOutputFolderIsReported) {
    writeEvent(testing::numberedPlayers(2), {{1, 1, 2, 2, 0}});
    fs::permissions(dir / "site", fs::perms::owner_read | fs::perms::owner_exec);
    const std::string message = run();
    fs::permissions(dir / "site", fs::perms::owner_all);
    if (filesIn(dir / "site").empty()) {  // root writes anyway; everyone else is refused
        EXPECT_EQ(message, std::string(kCouldNotWrite) + (dir / "site/style.css"));
    } else {
        EXPECT_EQ(message, kGenerated);
    }
}

}  // namespace
}  // namespace pairweb::site

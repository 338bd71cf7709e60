// Texts from the tables reach every page as text, never as markup; PGN tags hold them with
// the PGN escapes; the organiser's title cannot open PHP code in admin.php, and the file
// name prefix cannot end the script string of a viewer link.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "page_test_support.h"
#include "site/driver.h"

namespace pairweb::site {
namespace {

namespace fs = std::filesystem;
using testing::crlfLines;
using testing::readFile;

bool hasLine(const std::string& text, const std::string& line) {
    const std::vector<std::string> lines = crlfLines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(EscapingTest, HostileTextsAreTextOnEveryPage) {
    testing::useUtc();
    testing::TempDir dir;
    fs::create_directories(dir / "site");
    std::vector<testing::PlayerRow> players = testing::numberedPlayers(2);
    players[0].surname = "<img src=x onerror=f()>";
    players[0].firstName = "A&B";
    players[0].club = "Hull & District";
    players[0].federation = "\"X\"";
    players[1].surname = "O\"Brien\\";
    players[1].firstName = "Anne";
    ASSERT_TRUE(testing::writeTournament(dir / "event", players, {{1, 1, 2, 2, 0}}));
    settings::Settings s;
    s.strFilename = dir / "event.trn";
    s.OutputIndex = dir / "site/index.html";
    s.TourneyName = "Open <?php echo 1; ?>";
    s.PGNSite = "Cork \"City\"";
    s.FnamePrefix = "a'+alert(1)+'b";
    s.MakePGN = s.LinkPGN = s.DisplayClub = s.DisplayFed = 1;
    testing::FixedPlatform platform{dir / "bin/pairweb", kTestTime};
    ASSERT_EQ(generateSite(s, platform).message, kGenerated);

    const std::string first = "&lt;img src=x onerror=f()&gt;, A&amp;B";
    const std::string second = "O&quot;Brien\\, Anne";
    const struct {
        std::string page;
        std::vector<std::string> lines;
    } pages[] = {
        {"player_list.html",
         {"<td class=\"name\">" + first + "</td>", "<td>&quot;X&quot;</td>",
          "<td>Hull &amp; District</td>", "<td class=\"name\">" + second + "</td>"}},
        {"standings_round1.html",
         {"<td class=\"name\">" + first + "</td>", "<td class=\"name\">" + second + "</td>"}},
        {"crosstable.html",
         {"<td class=\"name\">" + first + "</td>", "<td class=\"name\">" + second + "</td>",
          "<td>Hull &amp; District</td>"}},
        {"results_round1.html",
         {"<td class=\"name\">" + first + " (0)</td>", "<td class=\"name\">" + second + " (0)</td>",
          // The prefix survives the browser's decoding of the script address as "%27".
          "<td class=\"bold\"><a class=\"game\" href=\"javascript:OpenLTPgnViewer("
          "'pgn/ltpgnviewer.html?a%2527+alert(1)+%2527b_round1_pgn.html&eval=ParsePgn(1,0)',"
          "780,400) \">1 - 0</a></td>"}},
        {"pgn/a'+alert(1)+'b_round1.pgn",
         {"[Event \"Open <?php echo 1; ?>\"]", "[Site \"Cork \\\"City\\\"\"]",
          "[White \"<img src=x onerror=f()>, A&B\"]", "[Black \"O\\\"Brien\\\\, Anne\"]"}},
        {"pgn/a'+alert(1)+'b_round1_pgn.html",
         {"<head>", "[Event \"Open &lt;?php echo 1; ?&gt;\"]",
          "[White \"&lt;img src=x onerror=f()&gt;, A&amp;B\"]",
          "[Black \"O\\\"Brien\\\\, Anne\"]"}},
        {"admin.php",
         {"<?php include \"pgn/password_protect_page.php\"; ?>",
          "<title>Open &lt;?php echo 1; ?> PGN Entry</title>",
          "<tr><td><a href=\"javascript:OpenLTPgnViewer('pgn/pgnviewer.php?"
          "a%2527+alert(1)+%2527b_round1_pgn.html&ParsePgn=1&AllowRecording=true',800,460)\">"
          "Round 1</a></td></tr>"}},
    };
    for (const auto& [page, lines] : pages) {
        const std::string text = readFile(dir / ("site/" + page));
        for (const std::string& line : lines)
            EXPECT_TRUE(hasLine(text, line)) << page << ": " << line;
        if (!page.ends_with(".pgn")) {
            EXPECT_EQ(text.find("<img"), std::string::npos) << page;
        }
    }
    // Only the one opening of admin.php's own include is PHP code.
    const std::string admin = readFile(dir / "site/admin.php");
    EXPECT_EQ(admin.find("<?", 1), std::string::npos);
}

TEST(EscapingTest, APrefixBeyondAsciiNamesTheFilesInUtf8AndTheLinksReachThem) {
    testing::useUtc();
    testing::TempDir dir;
    fs::create_directories(dir / "site");
    ASSERT_TRUE(testing::writeTournament(dir / "event", testing::numberedPlayers(2),
                                         {{1, 1, 2, 2, 0}}));
    settings::Settings s;
    s.strFilename = dir / "event.trn";
    s.OutputIndex = dir / "site/index.html";
    s.FnamePrefix = "K\xF6ln Open";  // a text of the site: Windows-1252
    s.MakePGN = s.LinkPGN = 1;
    testing::FixedPlatform platform{dir / "bin/pairweb", kTestTime};
    ASSERT_EQ(generateSite(s, platform).message, kGenerated);
    EXPECT_TRUE(testing::fileExists(dir / "site/pgn/K\xC3\xB6ln Open_round1.pgn"));
    EXPECT_TRUE(testing::fileExists(dir / "site/pgn/K\xC3\xB6ln Open_round1_pgn.html"));
    const std::string pairings = readFile(dir / "site/results_round1.html");
    EXPECT_NE(pairings.find("href=\"pgn/K%C3%B6ln Open_round1.pgn\""), std::string::npos);
    EXPECT_NE(pairings.find("?K%25C3%25B6ln Open_round1_pgn.html&eval="), std::string::npos);
    EXPECT_EQ(pairings.find("\xF6"), std::string::npos);
}

}  // namespace
}  // namespace pairweb::site

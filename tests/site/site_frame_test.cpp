#include <gtest/gtest.h>

#include "page_test_support.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

TEST(SiteFrameTest, FramesetClosesTwice) {
    EXPECT_EQ(crlfLines(framesetPage("County <b>Open</b>")),
              (std::vector<std::string>{
                  "<html>", "<head>", "<title>County <b>Open</b></title>", "</head>",
                  "<frameset rows=\"80,*\" framespacing=\"0\" border=\"0\" frameborder=\"0\">",
                  "<frame name=\"banner\" scrolling=\"no\" target=\"main\" src=\"contents.html\">",
                  "<frame name=\"main\" src=\"player_list.html\" target=\"_self\" "
                  "scrolling=\"auto\">",
                  "</frameset>", "<noframes>", "<body>",
                  "<p>This page uses frames, but your browser doesn't support them.</p>",
                  "</body>", "</noframes>", "</frameset>", "</html>"}));
}

TEST(SiteFrameTest, PairingsIndexListsEveryRound) {
    testing::useUtc();
    std::vector<std::string> expected = {"<html>", "<head>"};
    append(expected, noCacheBlock());
    append(expected, {kStylesheetLink, "<title>Open Pairings</title>", "</head>",
                      "<body><center>", "<table width=250>",
                      "<tr><td class=\"title\">Pairings</td></tr>",
                      "<tr><td><a href=\"results_round1.html\" target=\"main\">Round 1</a></td></tr>",
                      "<tr><td><a href=\"results_round2.html\" target=\"main\">Round 2</a></td></tr>",
                      "<tr><td><a href=\"results_round3.html\" target=\"main\">Round 3</a></td></tr>"});
    append(expected, footer());
    expected.push_back("</html>");
    EXPECT_EQ(crlfLines(pairingsIndexPage(3, "Open", optionsFor({}), makePageLabels({}),
                                          "index.html")),
              expected);
}

TEST(SiteFrameTest, StandingsIndexOpensBodyAndTableOnOneLine) {
    testing::useUtc();
    settings::Settings s;
    s.Round = "Rd";
    std::vector<std::string> expected = {"<html>", "<head>"};
    append(expected, noCacheBlock());
    append(expected, {kStylesheetLink, "<title>Open Standings</title>", "</head>",
                      "<body><center><table width=250>",
                      "<tr><td class=\"title\">Standings</td></tr>",
                      "<tr><td><a href=\"standings_round1.html\" target=\"main\">Rd 1</a></td></tr>",
                      "<tr><td><a href=\"standings_round2.html\" target=\"main\">Rd 2</a></td></tr>"});
    append(expected, footer());
    expected.push_back("</html>");
    EXPECT_EQ(crlfLines(standingsIndexPage(2, "Open", optionsFor(s), makePageLabels(s),
                                           "index.html")),
              expected);
    // No rounds: the title row alone.
    const std::vector<std::string> empty = crlfLines(
        standingsIndexPage(0, "Open", optionsFor(s), makePageLabels(s), "index.html"));
    EXPECT_EQ(empty[9], "<tr><td class=\"title\">Standings</td></tr>");
    EXPECT_EQ(empty[10], footer()[0]);
    EXPECT_EQ(empty.size(), 13u);
}

TEST(SiteFrameTest, AdminPageLinksEveryRoundInRecordingMode) {
    testing::useUtc();
    settings::Settings s;
    s.FnamePrefix = "Open";
    EXPECT_EQ(crlfLines(adminPage(2, "County Open", optionsFor(s))),
              (std::vector<std::string>{
                  "<?php include \"pgn/password_protect_page.php\"; ?>", "<html>", "<head>",
                  "<script language=\"JavaScript\">",
                  "function OpenLTPgnViewer(urlstr, width, height)",
                  "{ window.open(urlstr,\"PgnEditorWindow\",\"width=\"+width+\",height=\"+height+"
                  "\",menubar=no,locationbar=no,resizable=yes,status=no,scrollbars=no\");}",
                  "</script>", kStylesheetLink, "<title>County Open PGN Entry</title>",
                  "</head>", "<body><center>", "<table width=250>",
                  "<tr><td class=\"title\">PGN Entry: Admin only!</td></tr>",
                  "<tr><td><a href=\"javascript:OpenLTPgnViewer('pgn/pgnviewer.php?Open_round1_"
                  "pgn.html&ParsePgn=1&AllowRecording=true',800,460)\">Round 1</a></td></tr>",
                  "<tr><td><a href=\"javascript:OpenLTPgnViewer('pgn/pgnviewer.php?Open_round2_"
                  "pgn.html&ParsePgn=1&AllowRecording=true',800,460)\">Round 2</a></td></tr>",
                  "</table><br><br><p class=\"fnote\">Created by <a target=\"top\" "
                  "href=\"https://pairweb.org/\">pairweb version 1.0.3</a> on Mon Dec 07 "
                  "14:05:09 2026",
                  "</p></body></html>", "</html>"}));
}

TEST(SiteFrameTest, NoRoundsAndNoPrefix) {
    testing::useUtc();
    std::vector<std::string> expected = {"<html>", "<head>"};
    append(expected, noCacheBlock());
    append(expected, {kStylesheetLink, "<title>Open Pairings</title>", "</head>",
                      "<body><center>", "<table width=250>",
                      "<tr><td class=\"title\">Pairings</td></tr>"});
    append(expected, footer());
    expected.push_back("</html>");
    EXPECT_EQ(crlfLines(pairingsIndexPage(0, "Open", optionsFor({}), makePageLabels({}),
                                          "index.html")),
              expected);
    const std::vector<std::string> admin = crlfLines(adminPage(0, "Open", optionsFor({})));
    EXPECT_EQ(admin[12], "<tr><td class=\"title\">PGN Entry: Admin only!</td></tr>");
    EXPECT_EQ(admin.size(), 16u);
    EXPECT_EQ(crlfLines(adminPage(1, "Open", optionsFor({})))[13],
              "<tr><td><a href=\"javascript:OpenLTPgnViewer('pgn/pgnviewer.php?round1_pgn.html"
              "&ParsePgn=1&AllowRecording=true',800,460)\">Round 1</a></td></tr>");
}

TEST(SiteFrameTest, BannerHasTitleAndFourLinks) {
    settings::Settings s;
    s.Player_List = "Players";
    EXPECT_EQ(crlfLines(bannerPage("County Open", makePageLabels(s))),
              (std::vector<std::string>{
                  "<html>", "<head>", kStylesheetLink, "<title>County Open</title>", "</head>",
                  "<body>", "<center><table>",
                  "<tr><td class=\"toptitle\" colspan=4 align=center>County Open</td></tr>",
                  "<tr height=30><td class=\"top\" width=150 align=center><a class=\"top\" "
                  "href=\"player_list.html\" target=\"main\">Players</a></td><td class=\"top\" "
                  "width=150 align=center><a class=\"top\" href=\"results.html\" "
                  "target=\"main\">Pairings</a></td><td class=\"top\" width=150 align=center><a "
                  "class=\"top\" href=\"standings.html\" target=\"main\">Standings</a></td><td "
                  "class=\"top\" width=150 align=center><a class=\"top\" "
                  "href=\"crosstable.html\" target=\"main\">Crosstable</a></td></tr></table>"
                  "</center></body>",
                  "</html>"}));
}

}  // namespace
}  // namespace pairweb::site

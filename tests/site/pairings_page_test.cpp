#include <gtest/gtest.h>

#include "page_test_support.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

class PairingsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useUtc();
        t = testing::loadTournament(dir / "small", testing::smallEventPlayers(),
                                    testing::smallEventGames());
        ASSERT_EQ(t.roundCount, 4);
    }
    std::vector<std::string> page(int n, const settings::Settings& s) {
        return crlfLines(pairingsPage(t.rounds[static_cast<std::size_t>(n - 1)], n, t.players,
                                      t.playerCount, n == t.roundCount, optionsFor(s),
                                      makePageLabels(s), "index.html"));
    }
    testing::TempDir dir;
    data::Tournament t;
};

TEST_F(PairingsPageTest, FirstRoundWithOnlyTheSecondRating) {
    settings::Settings s;
    s.DisplayRating_2 = 1;
    std::vector<std::string> expected = headWithNoCache();
    append(expected, {
        kStylesheetLink,
        "<title></title></head>",
        "<body>",
        "<p align=\"center\">",
        "<center>",
        "<table>",
        "<col width=45>",
        "<col width=45>",
        "<col style=\"width: auto;\">",
        "<col width=80>",
        "<col style=\"width: auto;\">",
        "<col width=45>",
        "<tr><td colspan=6><table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" "
        "width=45 align=left></td><td class=\"title\" align=center>Pairings: Round 1</td><td "
        "class=\"plain\" width=45 align=right><a href=\"results_round2.html\">next</a></td>"
        "</tr></table></td></tr>",
        "<tr><td class=\"head\" align=\"right\">Board</td>",
        "<td class=\"head\">Rating</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">Result</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">Rating</td>",
        "</tr>",
        "<tr>",
        "<td  >1</td>",
        "<td >2400</td>",
        "<td class=\"name\">Adams, Mickey (0)</td>",
        "<td class=\"bold\">1 - 0</td>",
        "<td class=\"name\">Byrne, Ann (0)</td>",
        "<td >2250</td>",
        "</tr>",
        "<tr>",
        "<td  >2</td>",
        "<td >1800</td>",
        "<td class=\"name\">Cole, Tom (0)</td>",
        "<td class=\"bold\">&frac12 - &frac12</td>",
        "<td class=\"name\">Duffy, Sue (0)</td>",
        "<td >0</td>",
        "</tr>",
        "<tr>",
        "<td>3</td>",
        "<td >0</td>",
        "<td class=\"name\" >Egan, Pat (0)</td>",
        "<td class=\"bold\">1</td>",
        "<td class=\"name\">Bye</td>",
        "<td > </td>",
        "</tr>",
    });
    append(expected, footer());
    EXPECT_EQ(page(1, s), expected);
}

TEST_F(PairingsPageTest, LaterRoundWithAllOptionalColumnsAndTitles) {
    settings::Settings s;
    s.DisplaySeed = 1;
    s.DisplayRating = 1;
    s.DisplayRating_2 = 1;
    s.DisplayTitles = 1;
    s.Disclaimer = "not shown: the round has results";
    std::vector<std::string> expected = headWithNoCache();
    append(expected, {
        kStylesheetLink,
        "<title></title></head>",
        "<body>",
        "<p align=\"center\">",
        "<center>",
        "<table>",
        "<col width=45>",
        "<col width=45>",
        "<col width=45>",
        "<col width=45>",
        "<col style=\"width: auto;\">",
        "<col width=80>",
        "<col style=\"width: auto;\">",
        "<col width=45>",
        "<col width=45>",
        "<col width=45>",
        "<tr><td colspan=10><table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" "
        "width=45 align=left><a href=\"results_round1.html\">prev</a></td><td class=\"title\" "
        "align=center>Pairings: Round 2</td><td class=\"plain\" width=45 align=right><a "
        "href=\"results_round3.html\">next</a></td></tr></table></td></tr>",
        "<tr><td class=\"head\" align=\"right\">Board</td>",
        "<td class=\"head\">Seed</td>",
        "<td class=\"head\">FIDE</td>",
        "<td class=\"head\">Local</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">Result</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">FIDE</td>",
        "<td class=\"head\">Local</td>",
        "<td class=\"head\">Seed</td>",
        "</tr>",
        "<tr>",
        "<td  >1</td>",
        "<td >4</td>",
        "<td >1900</td>",
        "<td >0</td>",
        "<td class=\"name\">IM Duffy, Sue (0.5)</td>",
        "<td class=\"bold\"><font class=\"forfeit\">-     +</font></td>",
        "<td class=\"name\">GM Adams, Mickey (1)</td>",
        "<td >2500</td>",
        "<td >2400</td>",
        "<td >1</td>",
        "</tr>",
        "<tr>",
        "<td  >2</td>",
        "<td >2</td>",
        "<td >2300</td>",
        "<td >2250</td>",
        "<td class=\"name\"> Byrne, Ann (0)</td>",
        "<td class=\"bold\"><font class=\"forfeit\">+     -</font></td>",
        "<td class=\"name\"> Egan, Pat (1)</td>",
        "<td >0</td>",
        "<td >0</td>",
        "<td >5</td>",
        "</tr>",
        "<tr>",
        "<td>3</td>",
        "<td>3</td>",
        "<td>0</td>",
        "<td >1800</td>",
        "<td class=\"name\" > Cole, Tom (0.5)</td>",
        "<td class=\"bold\">&frac12</td>",
        "<td class=\"name\">Bye</td>",
        "<td > </td>",
        "<td > </td>",
        "<td > </td>",
        "</tr>",
    });
    append(expected, footer());
    EXPECT_EQ(page(2, s), expected);
}

TEST_F(PairingsPageTest, ForfeitFamiliesAndPointsBeforeTheRound) {
    const std::vector<std::string> lines = page(3, settings::Settings{});
    const std::vector<std::string> boards(lines.begin() + 20, lines.begin() + 32);
    EXPECT_EQ(boards, (std::vector<std::string>{
                          "<tr>",
                          "<td  >1</td>",
                          "<td class=\"name\">Egan, Pat (1)</td>",
                          "<td class=\"bold\"><font class=\"forfeit\">+     -</font></td>",
                          "<td class=\"name\">Adams, Mickey (2)</td>",
                          "</tr>",
                          "<tr>",
                          "<td  >2</td>",
                          "<td class=\"name\">Byrne, Ann (1)</td>",
                          "<td class=\"bold\"><font class=\"forfeit\">-     -</font></td>",
                          "<td class=\"name\">Cole, Tom (1)</td>",
                          "</tr>",
                      }));
}

TEST_F(PairingsPageTest, UnplayedLastRoundWithDisclaimerAndViewerLinks) {
    settings::Settings s;
    s.LinkPGN = 1;
    s.FnamePrefix = "open";
    s.Disclaimer = "Results are provisional";
    std::vector<std::string> expected = headWithNoCache();
    append(expected, viewerScript());
    append(expected, {
        kStylesheetLink,
        "<title></title></head>",
        "<body>",
        "<p align=\"center\">",
        "<center>",
        "<p>Results are provisional</p>",
        "<table>",
        "<col width=45>",
        "<col style=\"width: auto;\">",
        "<col width=80>",
        "<col style=\"width: auto;\">",
        "<tr><td colspan=4><table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" "
        "width=45 align=left><a href=\"results_round3.html\">prev</a></td><td class=\"title\" "
        "align=center>Pairings: Round 4</td><td class=\"plain\" width=45 align=right></td>"
        "</tr></table></td></tr>",
        "<tr><td class=\"head\" align=\"right\">Board</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">Result</td>",
        "<td class=\"headname\">Name</td>",
        "</tr>",
        "<tr>",
        "<td  >1</td>",
        "<td class=\"name\">Adams, Mickey (2)</td>",
        "<td class=\"bold\"><a class=\"game\" href=\"javascript:OpenLTPgnViewer('pgn/"
        "ltpgnviewer.html?open_round4_pgn.html&eval=ParsePgn(1,0)',780,400) \"></a></td>",
        "<td class=\"name\">Duffy, Sue (0.5)</td>",
        "</tr>",
        "<tr>",
        "<td  >2</td>",
        "<td class=\"name\">Byrne, Ann (1.5)</td>",
        "<td class=\"bold\"><a class=\"game\" href=\"javascript:OpenLTPgnViewer('pgn/"
        "ltpgnviewer.html?open_round4_pgn.html&eval=ParsePgn(1,1)',780,400) \"></a></td>",
        "<td class=\"name\">Egan, Pat (2)</td>",
        "</tr>",
        "<tr>",
        "<td>3</td>",
        "<td class=\"name\" >Cole, Tom (1.5)</td>",
        "<td class=\"bold\">0</td>",
        "<td class=\"name\">Bye</td>",
        "</tr>",
        "<tr><td class=\"bold\" colspan=2><a class=\"game\" href=\"javascript:OpenLTPgnViewer("
        "'pgn/ltpgnviewer.html?open_round4_pgn.html&ParsePgn=1',780,400) \">View Games</a></td>"
        "<td class=\"bold\" colspan=2><a class=\"game\" href=\"pgn/open_round4.pgn\">Download "
        "PGN</a></td></tr>",
    });
    append(expected, footer());
    EXPECT_EQ(page(4, s), expected);
}

TEST_F(PairingsPageTest, AllOptionalColumnsGiveGamesRowOfTwoHalves) {
    settings::Settings s;
    s.LinkPGN = 1;
    s.DisplaySeed = 1;
    s.DisplayRating = 1;
    s.DisplayRating_2 = 1;
    const std::vector<std::string> lines = page(1, s);
    EXPECT_EQ(lines[lines.size() - 3],
              "<tr><td class=\"bold\" colspan=5><a class=\"game\" href=\"javascript:"
              "OpenLTPgnViewer('pgn/ltpgnviewer.html?round1_pgn.html&ParsePgn=1',780,400) \">"
              "View Games</a></td><td class=\"bold\" colspan=5><a class=\"game\" "
              "href=\"pgn/round1.pgn\">Download PGN</a></td></tr>");
}

TEST_F(PairingsPageTest, UnknownPlayerGivesAnEmptyNameCell) {
    data::RoundRecord round;
    round.number = 1;
    round.boardCount = 1;
    round.white[0] = 1;
    round.black[0] = 250;  // no such player
    round.unpairedCount = 1;
    round.unpairedId[0] = 399;
    round.unpairedScore[0] = 1;
    const std::vector<std::string> lines = crlfLines(pairingsPage(
        round, 1, t.players, t.playerCount, true, optionsFor({}), makePageLabels({}), "index.html"));
    EXPECT_EQ(lines[9], "<p></p>");  // no results: the (empty) disclaimer
    EXPECT_EQ(lines[23], "<td class=\"name\">Adams, Mickey (0)</td>");
    EXPECT_EQ(lines[25], "<td class=\"name\">,  (0)</td>");
    EXPECT_EQ(lines[29], "<td class=\"name\" >,  (0)</td>");
}

}  // namespace
}  // namespace pairweb::site

#include <gtest/gtest.h>

#include <algorithm>

#include "page_test_support.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

std::vector<std::string> crossHead(const std::string& round, bool linkPgn) {
    std::vector<std::string> lines = headWithNoCache();
    if (linkPgn) append(lines, viewerScript());
    append(lines, {kStylesheetLink, "<title>Crosstable: Round " + round + "</title></head>",
                   "<body>", "<p align=\"center\">", "<center><table>"});
    return lines;
}

std::string link(const char* cssClass, int round, int index, const std::string& content) {
    return std::string("<td class=\"") + cssClass +
           "\"><a class=\"game\" href=\"javascript:OpenLTPgnViewer('pgn/ltpgnviewer.html?round" +
           std::to_string(round) + "_pgn.html&eval=ParsePgn(1," + std::to_string(index) +
           ")',780,400) \">" + content + "</a></td>";
}

class SwissCrosstableTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useUtc();
        t = testing::loadTournament(dir / "small", testing::smallEventPlayers(),
                                    testing::smallEventGames());
    }
    std::vector<std::string> page(const settings::Settings& s) {
        return crlfLines(crosstablePage(t.players, t.playerCount, 2, optionsFor(s),
                                        makePageLabels(s), "index.html"));
    }
    testing::TempDir dir;
    data::Tournament t;
};

TEST_F(SwissCrosstableTest, RowsInStandingsOrderWithColourOpponentAndMark) {
    std::vector<std::string> expected = crossHead("3", false);
    append(expected, {
        "<col>",
        "<col style=\"width: auto;\">",
        "<col>",
        "<col>",
        "<col>",
        "<col>",
        "<tr><td class=\"title\" colspan=6 align=center>Crosstable: Round  3</td></tr>",
        "<tr >",
        "<td class=\"head\">Rank</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\"><a class=\"head\" href=\"results_round1.html\">1</a></td>",
        "<td class=\"head\"><a class=\"head\" href=\"results_round2.html\">2</a></td>",
        "<td class=\"head\"><a class=\"head\" href=\"results_round3.html\">3</a></td>",
        "<td class=\"head\">Score</td>",
        "</tr>",
        "<tr>",
        "<td class=\"bold\">1</td>",
        "<td class=\"name\">Adams, Mickey</td>",
        "<td class=\"crosstable\">W 4+</td><td class=\"crosstable\">B 5+</td><td "
        "class=\"crosstable\">B 2-</td><td class=\"bold\">2</td>",
        "</tr>",
        "<tr>",
        "<td class=\"bold\">2</td>",
        "<td class=\"name\">Egan, Pat</td>",
        "<td class=\"crosstable\">bye+</td><td class=\"crosstable\">B 4-</td><td "
        "class=\"crosstable\">W 1+</td><td class=\"bold\">2</td>",
        "</tr>",
        "<tr>",
        "<td class=\"bold\">3</td>",
        "<td class=\"name\">Cole, Tom</td>",
        "<td class=\"crosstable\">W 5=</td><td class=\"crosstable\">bye=</td><td "
        "class=\"crosstable\">B 4=</td><td class=\"bold\">1.5</td>",
        "</tr>",
        "<tr>",
        "<td class=\"bold\">4</td>",
        "<td class=\"name\">Byrne, Ann</td>",
        "<td class=\"crosstable\">B 1-</td><td class=\"crosstable\">W 2+</td><td "
        "class=\"crosstable\">W 3=</td><td class=\"bold\">1.5</td>",
        "</tr>",
        "<tr>",
        "<td class=\"bold\">5</td>",
        "<td class=\"name\">Duffy, Sue</td>",
        "<td class=\"crosstable\">B 3=</td><td class=\"crosstable\">W 1-</td><td "
        "class=\"crosstable\"></td><td class=\"bold\">0.5</td>",
        "</tr>",
    });
    append(expected, footer());
    EXPECT_EQ(page(settings::Settings{}), expected);
}

TEST_F(SwissCrosstableTest, StartRankOrderTitlesColumnsAndLinks) {
    settings::Settings s;
    s.CrossStartrank = s.DisplayTitles = s.LinkPGN = 1;
    s.DisplaySeed = s.DisplayFed = s.DisplayClub = s.DisplayRating = 1;
    s.Bye = "BYE";
    const std::vector<std::string> lines = page(s);
    std::vector<std::string> expected = crossHead("3", true);
    append(expected, {"<col>", "<col>", "<col style=\"width: auto;\">", "<col>", "<col>",
                      "<col>", "<col>", "<col>", "<col>", "<col>",
                      "<tr><td class=\"title\" colspan=10 align=center>Crosstable: Round  3"
                      "</td></tr>",
                      "<tr >", "<td class=\"head\">Rank</td>", "<td class=\"head\">Seed</td>",
                      "<td class=\"headname\">Name</td>", "<td class=\"head\">Fed</td>",
                      "<td class=\"head\">Club</td>", "<td class=\"head\">Rating</td>"});
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(expected.size())),
              expected);
    // Row 1 is start rank 1 (Adams), whose name cell spans two lines with the title.
    const std::size_t row = expected.size() + 5;
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(row),
                                       lines.begin() + static_cast<long>(row) + 10),
              (std::vector<std::string>{
                  "<tr>",
                  "<td class=\"bold\">1</td>",
                  "<td>1</td>",
                  "<td class=\"name\">GM ",
                  "Adams, Mickey</td>",
                  "<td>ENG</td>",
                  "<td>Lewes</td>",
                  "<td>2500</td>",
                  link("crosstable", 1, 0, "W 2+") + link("crosstable", 2, 0, "B 4+") +
                      link("crosstable", 3, 0, "B 5-") + "<td class=\"bold\">2</td>",
                  "</tr>"}));
    // Duffy (start rank 4) had no entry in round 3: an empty link with board index -1.
    const std::string duffyCells = lines[row + 3 * 10 + 8];
    EXPECT_EQ(duffyCells, link("crosstable", 1, 1, "B 3=") + link("crosstable", 2, 0, "W 1-") +
                              link("crosstable", 3, -1, "") + "<td class=\"bold\">0.5</td>");
    // Egan's full-point bye shows the label.
    EXPECT_EQ(lines[row + 4 * 10 + 8].substr(0, link("crosstable", 1, -1, "BYE+").size()),
              link("crosstable", 1, -1, "BYE+"));
}

TEST(CrosstableTest, WideEventsPadOpponentNumbersToThreeAndBigGamesShowPoints) {
    testing::useUtc();
    testing::TempDir dir;
    // 121 players; player 7 beats player 1, player 2 wins 3-0 against player 3 (a game
    // worth three points in all); nobody else plays.
    const data::Tournament t = testing::loadTournament(
        dir / "big", testing::numberedPlayers(121), {{1, 1, 7, 0, 2}, {1, 2, 3, 6, 0}});
    const std::vector<std::string> lines = crlfLines(crosstablePage(
        t.players, t.playerCount, 0, optionsFor({}), makePageLabels({}), "index.html"));
    const auto rowOf = [&](const std::string& name) {
        for (std::size_t k = 1; k + 1 < lines.size(); ++k) {
            if (lines[k] == "<td class=\"name\">" + name + "</td>") {
                return std::make_pair(lines[k - 1], lines[k + 1]);
            }
        }
        return std::make_pair(std::string(), std::string("<not found>"));
    };
    // Rows: player 2 (3 points), player 7 (1), player 3 and player 1 (Buchholz 3 and 1),
    // then the rest by start rank.
    EXPECT_EQ(rowOf("Player2, P2"),
              std::make_pair(std::string("<td class=\"bold\">1</td>"),
                             std::string("<td class=\"crosstable\">W  3<BR><B>3</B></td>"
                                         "<td class=\"bold\">3</td>")));
    EXPECT_EQ(rowOf("Player3, P3").second,
              "<td class=\"crosstable\">B  1<BR><B>0</B></td><td class=\"bold\">0</td>");
    EXPECT_EQ(rowOf("Player1, P1").second,
              "<td class=\"crosstable\">W  2-</td><td class=\"bold\">0</td>");
    EXPECT_EQ(rowOf("Player7, P7").second,
              "<td class=\"crosstable\">B  4+</td><td class=\"bold\">1</td>");
    EXPECT_EQ(rowOf("Player121, P121"),
              std::make_pair(std::string("<td class=\"bold\">121</td>"),
                             std::string("<td class=\"crosstable\"></td><td "
                                         "class=\"bold\">0</td>")));
}

// The cells line (grid cells and points) of the row of the player with this name.
std::string cellsOfRow(const std::vector<std::string>& lines, const std::string& name) {
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
        if (lines[k] == "<td class=\"name\">" + name + "</td>") return lines[k + 1];
    }
    return "<no row for " + name + ">";
}

TEST(CrosstableTest, EveryKindOfSwissCell) {
    testing::useUtc();
    testing::TempDir dir;
    const data::Tournament t = testing::loadTournament(
        dir / "cells", testing::numberedPlayers(12),
        {{1, 1, 12, 1, 1},   // a draw against row 12
         {1, 2, 5, 2, 0},    // a win
         {1, 3, 4, 0, 0},    // paired, not played yet
         {1, 6, 0, 0, 0},    // an unpaired entry without points
         {1, 7, 0, 2, 0},    // a full-point bye
         {1, 8, 9, 6, 0}});  // a game worth three points in all
    settings::Settings s;
    s.CrossStartrank = 1;  // row number = start rank = id
    const std::vector<std::string> lines = crlfLines(
        crosstablePage(t.players, t.playerCount, 0, optionsFor(s), makePageLabels(s), "index.html"));
    const auto cell = [](const std::string& content, const char* points) {
        return "<td class=\"crosstable\">" + content + "</td><td class=\"bold\">" + points + "</td>";
    };
    EXPECT_EQ(cellsOfRow(lines, "Player1, P1"), cell("W12=", "0.5"));
    EXPECT_EQ(cellsOfRow(lines, "Player12, P12"), cell("B 1=", "0.5"));
    EXPECT_EQ(cellsOfRow(lines, "Player2, P2"), cell("W 5+", "1"));
    EXPECT_EQ(cellsOfRow(lines, "Player5, P5"), cell("B 2-", "0"));
    EXPECT_EQ(cellsOfRow(lines, "Player3, P3"), cell("W 4", "0"));
    EXPECT_EQ(cellsOfRow(lines, "Player4, P4"), cell("B 3", "0"));
    EXPECT_EQ(cellsOfRow(lines, "Player6, P6"), cell("", "0"));
    EXPECT_EQ(cellsOfRow(lines, "Player7, P7"), cell("bye+", "1"));
    EXPECT_EQ(cellsOfRow(lines, "Player8, P8"), cell("W 9<BR><B>3</B>", "3"));
    EXPECT_EQ(cellsOfRow(lines, "Player9, P9"), cell("B 8<BR><B>0</B>", "0"));
    EXPECT_EQ(cellsOfRow(lines, "Player10, P10"), cell("", "0"));
}

TEST(CrosstableTest, NoCommencedRoundShowsRoundOneWithoutMarks) {
    testing::useUtc();
    testing::TempDir dir;
    const data::Tournament t = testing::loadTournament(dir / "none", testing::numberedPlayers(4),
                                                       {{1, 1, 2, 0, 0}, {1, 3, 4, 0, 0}});
    const std::vector<std::string> lines = crlfLines(crosstablePage(
        t.players, t.playerCount, 0, optionsFor({}), makePageLabels({}), "index.html"));
    EXPECT_EQ(lines[5], "<title>Crosstable: Round 1</title></head>");
    EXPECT_EQ(lines[13], "<tr><td class=\"title\" colspan=4 align=center>Crosstable: Round  1</td></tr>");
    EXPECT_EQ(cellsOfRow(lines, "Player1, P1"),
              "<td class=\"crosstable\">W 2</td><td class=\"bold\">0</td>");
    EXPECT_EQ(cellsOfRow(lines, "Player4, P4"),
              "<td class=\"crosstable\">B 3</td><td class=\"bold\">0</td>");
}

TEST(RoundRobinCrosstableTest, SixPlayers) {
    testing::useUtc();
    testing::TempDir dir;
    const data::Tournament t = testing::loadTournament(
        dir / "rr6", testing::numberedPlayers(6), {{1, 1, 6, 1, 1}, {1, 2, 5, 2, 0}, {1, 3, 4, 0, 2}});
    settings::Settings s;
    s.TourneyType = "Round-Robin";
    const std::vector<std::string> lines = crlfLines(
        crosstablePage(t.players, t.playerCount, 0, optionsFor(s), makePageLabels(s), "index.html"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "<col width=25>"), 6);
    for (int j = 1; j <= 6; ++j) {
        EXPECT_NE(std::find(lines.begin(), lines.end(),
                            "<td class=\"head\">" + std::to_string(j) + "</td>"),
                  lines.end());
    }
    // Row 2: the second grid cell is blacked out.
    const auto row2 = std::find(lines.begin(), lines.end(), "<td class=\"bold\">2</td>");
    ASSERT_NE(row2, lines.end());
    const std::string grid = *(row2 + 2);
    const std::string blk = "<td class=\"blk_crosstable\"></td>";
    const std::size_t second = grid.find("</td>") + 5;
    EXPECT_EQ(grid.substr(second, blk.size()), blk);
    // The draw shows on both sides.
    for (const char* name : {"Player1, P1", "Player6, P6"}) {
        const std::string cells = cellsOfRow(lines, name);
        EXPECT_NE(cells.find("<td class=\"rr_crosstable\">&frac12</td>"), std::string::npos) << name;
    }
}

TEST(RoundRobinCrosstableTest, SquareGridWithDiagonalAndMeetings) {
    testing::useUtc();
    testing::TempDir dir;
    const data::Tournament t = testing::loadTournament(
        dir / "rr", testing::numberedPlayers(4),
        {{1, 1, 4, 2, 0}, {1, 2, 3, 1, 1}, {2, 4, 3, 0, 2}, {2, 1, 2, 1, 1},
         {3, 2, 4, 0, 0}, {3, 3, 1, 0, 0}});
    settings::Settings s;
    s.TourneyType = "Round-Robin";
    s.LinkPGN = 1;
    std::vector<std::string> expected = crossHead("2", true);
    append(expected, {
        "<col>",
        "<col style=\"width: auto;\">",
        "<col width=25>",
        "<col width=25>",
        "<col width=25>",
        "<col width=25>",
        "<col>",
        "<tr><td class=\"title\" colspan=7 align=center>Crosstable: Round  2</td></tr>",
        "<tr >",
        "<td class=\"head\">Rank</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">1</td>",
        "<td class=\"head\">2</td>",
        "<td class=\"head\">3</td>",
        "<td class=\"head\">4</td>",
        "<td class=\"head\">Score</td>",
        "</tr>",
    });
    const std::string blk = "<td class=\"blk_crosstable\"></td>";
    const std::string none = "<td class=\"rr_crosstable\"></td>";  // not met by round 2
    const auto row = [&](int k, const char* name, const std::string& cells, const char* pts) {
        append(expected, {"<tr>", "<td class=\"bold\">" + std::to_string(k) + "</td>",
                          std::string("<td class=\"name\">") + name + "</td>",
                          cells + "<td class=\"bold\">" + pts + "</td>", "</tr>"});
    };
    row(1, "Player1, P1",
        blk + none + link("rr_crosstable", 2, 1, "&frac12") + link("rr_crosstable", 1, 0, "1"),
        "1.5");
    row(2, "Player3, P3",
        none + blk + link("rr_crosstable", 1, 1, "&frac12") + link("rr_crosstable", 2, 0, "1"),
        "1.5");
    row(3, "Player2, P2",
        link("rr_crosstable", 2, 1, "&frac12") + link("rr_crosstable", 1, 1, "&frac12") + blk +
            none,
        "1");
    row(4, "Player4, P4",
        link("rr_crosstable", 1, 0, "0") + link("rr_crosstable", 2, 0, "0") + none + blk, "0");
    append(expected, footer());
    EXPECT_EQ(crlfLines(crosstablePage(t.players, t.playerCount, 1, optionsFor(s),
                                       makePageLabels(s), "index.html")),
              expected);
}

}  // namespace
}  // namespace pairweb::site

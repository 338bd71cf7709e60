#include <gtest/gtest.h>

#include "page_test_support.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

class StandingsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::useUtc();
        t = testing::loadTournament(dir / "small", testing::smallEventPlayers(),
                                    testing::smallEventGames());
    }
    std::vector<std::string> page(int i, bool latest, const settings::Settings& s) {
        return crlfLines(standingsPage(t.players, t.playerCount, i, latest, optionsFor(s),
                                       makePageLabels(s), "index.html"));
    }
    std::vector<std::string> row(const std::vector<std::string>& cells) {
        std::vector<std::string> lines = {"<tr>"};
        append(lines, cells);
        lines.push_back("</tr>");
        return lines;
    }
    testing::TempDir dir;
    data::Tournament t;
};

TEST_F(StandingsPageTest, ThreeColumnsAfterRoundOne) {
    std::vector<std::string> expected = {
        "<html><head>",
        kStylesheetLink,
        "<title>Standings:  Round 1</title></head>",
        "<body>",
        "<p align=\"center\">",
        "<center><table>",
        "<col width=45>",
        "<col style=\"width: auto;\">",
        "<col width=55>",
        "<tr><td colspan=3><table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" "
        "width=45 align=left></td><td class=\"title\" align=center>Standings:  Round 1</td>"
        "<td class=\"plain\" width=45 align=right><a href=\"standings_round2.html\">next</a>"
        "</td></tr></table></td></tr>",
        "<tr>",
        "<td class=\"head\">Rank</td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">Score</td>",
        "</tr>",
    };
    // Level players are separated by the tiebreaks and finally by start rank.
    append(expected, row({"<td class=\"bold\">1</td>", "<td class=\"name\">Adams, Mickey</td>",
                          "<td class=\"bold\">1</td>"}));
    append(expected, row({"<td class=\"bold\">2</td>", "<td class=\"name\">Egan, Pat</td>",
                          "<td class=\"bold\">1</td>"}));
    append(expected, row({"<td class=\"bold\">3</td>", "<td class=\"name\">Cole, Tom</td>",
                          "<td class=\"bold\">0.5</td>"}));
    append(expected, row({"<td class=\"bold\">4</td>", "<td class=\"name\">Duffy, Sue</td>",
                          "<td class=\"bold\">0.5</td>"}));
    append(expected, row({"<td class=\"bold\">5</td>", "<td class=\"name\">Byrne, Ann</td>",
                          "<td class=\"bold\">0</td>"}));
    append(expected, footer());
    EXPECT_EQ(page(0, false, settings::Settings{}), expected);
}

TEST_F(StandingsPageTest, EveryColumnAndTiebreakValues) {
    settings::Settings s;
    s.DisplayTitles = s.DisplayRating = s.DisplayRating_2 = s.DisplaySeed = 1;
    s.DisplayFed = s.DisplayClub = s.DisplayTiebreaks = 1;
    s.FirstTB = "Sum Prog";
    std::vector<std::string> expected = {
        "<html><head>",
        kStylesheetLink,
        "<title>Standings:  Round 3</title></head>",
        "<body>",
        "<p align=\"center\">",
        "<center><table>",
        "<col width=45>",
        "<col width=45>",
        "<col width=45>",
        "<col style=\"width: auto;\">",
        "<col width=45>",
        "<col style=\"width: auto;\">",
        "<col width=55>",
        "<col width=55>",
        "<col width=55>",
        "<col width=45>",
        "<col width=45>",
        "<col width=45>",
        "<tr><td colspan=12><table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" "
        "width=45 align=left><a href=\"standings_round2.html\">prev</a></td><td class=\"title\" "
        "align=center>Standings:  Round 3</td><td class=\"plain\" width=45 align=right></td>"
        "</tr></table></td></tr>",
        "<tr>",
        "<td class=\"head\">Rank</td>",
        "<td class=\"head\">Seed</td>",
        "<td class=\"head\"></td>",
        "<td class=\"headname\">Name</td>",
        "<td class=\"head\">Fed</td>",
        "<td class=\"head\">Club</td>",
        "<td class=\"head\">FIDE</td>",
        "<td class=\"head\">Local</td>",
        "<td class=\"head\">Score</td>",
        "<td class=\"head\">TB1</td>",
        "<td class=\"head\">TB2</td>",
        "<td class=\"head\">TB3</td>",
        "</tr>",
    };
    const auto player = [](int rank, int seed, const char* title, const char* name,
                           const char* fed, const char* club, int r1, int r2, const char* pts,
                           const char* tb1, const char* tb2, const char* tb3) {
        return std::vector<std::string>{
            "<tr>",
            "<td class=\"bold\">" + std::to_string(rank) + "</td>",
            "<td>" + std::to_string(seed) + "</td>",
            std::string("<td>") + title + "</td>",
            std::string("<td class=\"name\">") + name + "</td>",
            std::string("<td>") + fed + "</td>",
            std::string("<td>") + club + "</td>",
            "<td>" + std::to_string(r1) + "</td>",
            "<td>" + std::to_string(r2) + "</td>",
            std::string("<td class=\"bold\">") + pts + "</td>",
            std::string("<td class=\"tb\">") + tb1 + "</td>",
            std::string("<td class=\"tb\">") + tb2 + "</td>",
            std::string("<td class=\"tb\">") + tb3 + "</td>",
            "</tr>"};
    };
    append(expected, player(1, 1, "GM", "Adams, Mickey", "ENG", "Lewes", 2500, 2400, "2", "5",
                            "4", "1.5"));
    append(expected, player(2, 5, "", "Egan, Pat", "", "Cork", 0, 0, "2", "4", "3.5", "1.5"));
    append(expected, player(3, 3, "", "Cole, Tom", "IRL", "", 0, 1800, "1.5", "3", "2", "0.5"));
    append(expected, player(4, 2, "", "Byrne, Ann", "IRL", "Gonzaga", 2300, 2250, "1.5", "2.5",
                            "5.5", "2"));
    append(expected, player(5, 4, "IM", "Duffy, Sue", "SCO", "Edinburgh", 1900, 0, "0.5", "1.5",
                            "3.5", "1.5"));
    append(expected, footer());
    EXPECT_EQ(page(2, true, s), expected);
}

TEST_F(StandingsPageTest, TiebreakHeadsStayFixedWhateverTheTiebreaks) {
    settings::Settings s;
    s.DisplayTiebreaks = 1;
    s.FirstTB = "Num Wins";
    s.SecondTB = "Start Rank";
    const std::vector<std::string> lines = page(2, true, s);
    EXPECT_EQ(lines[17], "<td class=\"head\">TB1</td>");
    EXPECT_EQ(lines[19], "<td class=\"head\">TB3</td>");
}

}  // namespace
}  // namespace pairweb::site

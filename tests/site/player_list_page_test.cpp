#include <gtest/gtest.h>

#include "page_test_support.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

std::vector<std::string> listHead(int columns, const std::vector<std::string>& cols) {
    std::vector<std::string> lines = {"<html><head>", kStylesheetLink,
                                      "<title>Player List</title>", "</head><body>",
                                      "<p align=\"center\">", "<center><table>"};
    append(lines, cols);
    lines.push_back("<tr><td class=\"title\"colspan=" + std::to_string(columns) +
                    " align=center>Player List</td></tr>");
    return lines;
}

TEST(PlayerListPageTest, NoPlayers) {
    testing::useUtc();
    std::vector<std::string> expected =
        listHead(2, {"<col width=45>", "<col style=\"width: auto;\">"});
    append(expected, {"<tr>", "<td class=\"head\">", "", "Seed</td>",
                      "<td class=\"headname\">Name</td>", "</tr>"});
    append(expected, footer());
    EXPECT_EQ(crlfLines(playerListPage({}, 0, optionsFor({}), makePageLabels({}), "index.html")),
              expected);
}

TEST(PlayerListPageTest, EveryColumnInStartRankOrder) {
    testing::useUtc();
    testing::TempDir dir;
    std::vector<testing::PlayerRow> rows = testing::smallEventPlayers();
    std::swap(rows[0], rows[3]);  // table order differs from start-rank order
    const data::Tournament t = testing::loadTournament(dir / "t", rows, {});
    settings::Settings s;
    s.DisplayTitles = s.DisplayFed = s.DisplayClub = s.DisplayRating = s.DisplayRating_2 = 1;
    s.DisplaySeed = 0;  // has no effect here
    std::vector<std::string> expected = listHead(
        7, {"<col width=45>", "<col width=45>", "<col style=\"width: auto;\">", "<col width=45>",
            "<col style=\"width: auto;\">", "<col width=55>", "<col width=55>"});
    append(expected, {"<tr>", "<td class=\"head\">", "", "Seed</td>",
                      "<td class=\"head\">&nbsp;</td>", "<td class=\"headname\">Name</td>",
                      "<td class=\"head\">Fed</td>", "<td class=\"head\">Club</td>",
                      "<td class=\"head\">FIDE</td>", "<td class=\"head\">Local</td>", "</tr>"});
    const auto player = [](int seed, const char* title, const char* name, const char* fed,
                           const char* club, int r1, int r2) {
        return std::vector<std::string>{"<tr>",
                                        "<td class=\"bold\">" + std::to_string(seed) + "</td>",
                                        std::string("<td >") + title + "</td>",
                                        std::string("<td class=\"name\">") + name + "</td>",
                                        std::string("<td>") + fed + "</td>",
                                        std::string("<td>") + club + "</td>",
                                        "<td>" + std::to_string(r1) + "</td>",
                                        "<td>" + std::to_string(r2) + "</td>",
                                        "</tr>"};
    };
    append(expected, player(1, "GM", "Adams, Mickey", "ENG", "Lewes", 2500, 2400));
    append(expected, player(2, "", "Byrne, Ann", "IRL", "Gonzaga", 2300, 2250));
    append(expected, player(3, "", "Cole, Tom", "IRL", "", 0, 1800));
    append(expected, player(4, "IM", "Duffy, Sue", "SCO", "Edinburgh", 1900, 0));
    append(expected, player(5, "", "Egan, Pat", "", "Cork", 0, 0));
    append(expected, footer());
    EXPECT_EQ(crlfLines(playerListPage(t.players, t.playerCount, optionsFor(s), makePageLabels(s),
                                       "index.html")),
              expected);
}

TEST(PlayerListPageTest, OneRatingUsesTheRatingLabelAndEqualRanksFollowTheInsertion) {
    testing::useUtc();
    testing::TempDir dir;
    std::vector<testing::PlayerRow> rows = testing::numberedPlayers(3);
    rows[0].order = 3;
    rows[1].order = 3;
    rows[2].order = 1;
    rows[0].firstName = "";
    rows[1].localRating = 1234;
    const data::Tournament t = testing::loadTournament(dir / "t", rows, {});
    settings::Settings s;
    s.DisplayRating_2 = 1;
    const std::vector<std::string> lines = crlfLines(
        playerListPage(t.players, t.playerCount, optionsFor(s), makePageLabels(s), "index.html"));
    EXPECT_EQ(lines[15], "<td class=\"head\">Rating</td>");
    // Start ranks 3, 3, 1 in table order come out as the third, second, first row.
    EXPECT_EQ(lines[19], "<td class=\"name\">Player3, P3</td>");
    EXPECT_EQ(lines[24], "<td class=\"name\">Player2, P2</td>");
    EXPECT_EQ(lines[25], "<td>1234</td>");
    EXPECT_EQ(lines[29], "<td class=\"name\">Player1, </td>");
}

}  // namespace
}  // namespace pairweb::site

#include <gtest/gtest.h>

#include "page_test_support.h"
#include "site/pages.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

class PgnFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        t = testing::loadTournament(dir / "small", testing::smallEventPlayers(),
                                    testing::smallEventGames());
    }
    std::string text(int n, int kind, int rating, int rating2) {
        const PgnHeader header{"County Open", "Cork", "2026.12.08", t.roundCount, 0, rating,
                               rating2};
        return pgnText(t.rounds[static_cast<std::size_t>(n - 1)], n, t.players, t.playerCount,
                       header, kind);
    }
    testing::TempDir dir;
    data::Tournament t;
};

TEST_F(PgnFileTest, OneTagSectionPerBoardWithRatings) {
    EXPECT_EQ(crlfLines(text(1, 0, 1, 1)),
              (std::vector<std::string>{
                  "[Event \"County Open\"]", "[Site \"Cork\"]", "[Date \"2026.12.08\"]",
                  "[Round \"1.1\"]", "[White \"Adams, Mickey\"]", "[Black \"Byrne, Ann\"]",
                  "[Result \"1-0\"]", "[WhiteElo \"2500\"]", "[BlackElo \"2300\"]",
                  "[WhiteACF \"2400\"]", "[BlackACF \"2250\"]", "1.", "",
                  "[Event \"County Open\"]", "[Site \"Cork\"]", "[Date \"2026.12.08\"]",
                  "[Round \"1.2\"]", "[White \"Cole, Tom\"]", "[Black \"Duffy, Sue\"]",
                  "[Result \"1/2-1/2\"]", "[WhiteElo \"-\"]", "[BlackElo \"1900\"]",
                  "[WhiteACF \"1800\"]", "[BlackACF \"-\"]", "1.", ""}));
}

TEST_F(PgnFileTest, ForfeitsAndUnplayedBoardsAreStars) {
    const std::vector<std::string> round2 = crlfLines(text(2, 0, 0, 0));
    ASSERT_EQ(round2.size(), 18u);
    EXPECT_EQ(round2[6], "[Result \"*\"]");   // type 34
    EXPECT_EQ(round2[15], "[Result \"*\"]");  // type 35
    const std::vector<std::string> round3 = crlfLines(text(3, 0, 0, 0));
    EXPECT_EQ(round3[6], "[Result \"1-0\"]");  // type 352 is not a forfeit code here
    EXPECT_EQ(round3[15], "[Result \"*\"]");   // type 36
    const std::vector<std::string> round4 = crlfLines(text(4, 0, 0, 0));
    EXPECT_EQ(round4[6], "[Result \"*\"]");  // no result yet
    EXPECT_EQ(round4[3], "[Round \"4.1\"]");
}

TEST(PgnResultTest, Type350IsNotAForfeitCode) {
    testing::TempDir dir;
    const data::Tournament t = testing::loadTournament(
        dir / "t", testing::numberedPlayers(4), {{1, 1, 2, 0, 2, 350}, {1, 3, 4, 2, 0, 35}});
    const std::vector<std::string> lines =
        crlfLines(pgnText(t.rounds[0], 1, t.players, t.playerCount, PgnHeader{}, 0));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[6], "[Result \"0-1\"]");
    EXPECT_EQ(lines[15], "[Result \"*\"]");
    EXPECT_EQ(lines[0], "[Event \"\"]");
}

TEST_F(PgnFileTest, ViewerPageHasTheNoCacheHeadInFront) {
    const std::string file = text(1, 0, 0, 0);
    const std::string page = text(1, 1, 0, 0);
    std::vector<std::string> head = {"<head>"};
    append(head, noCacheBlock());
    head.push_back("</head>");
    std::string headText;
    for (const std::string& line : head) headText += line + "\r\n";
    EXPECT_EQ(page, headText + file);
    // A round without boards: the head alone, or an empty file.
    const data::RoundRecord empty;
    const PgnHeader header{};
    EXPECT_EQ(pgnText(empty, 7, t.players, t.playerCount, header, 1), headText);
    EXPECT_EQ(pgnText(empty, 7, t.players, t.playerCount, header, 0), "");
}

}  // namespace
}  // namespace pairweb::site

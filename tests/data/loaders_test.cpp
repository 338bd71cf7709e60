#include "data/loaders.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "support/dbf_writer.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::data {
namespace {

using testing::DbfWriter;
using testing::GameRow;
using testing::PlayerRow;
using testing::TempDir;

class LoadersTest : public ::testing::Test {
protected:
    // Writes the tables and loads both; returns roundCount.
    int load(const std::vector<PlayerRow>& players, const std::vector<GameRow>& games,
             TiebreakNames names = {"Sum Prog", "Buchholz", "MBuchholz"}) {
        EXPECT_TRUE(testing::writeTournament(dir / "t", players, games));
        const int count = countTableRecords(dir / "t.trn");
        EXPECT_GE(count, 0);
        t.players.assign(static_cast<std::size_t>(std::max(count, 0)), Player{});
        t.skipped = {};
        t.rounds = {};
        t.playerCount = loadPlayers(dir / "t.trn", t.players, names, &t.skipped);
        t.roundCount =
            loadPairings(dir / "t.sco", t.rounds, t.players, t.playerCount, &t.skipped);
        return t.roundCount;
    }
    const Player& player(int id) const {
        const int at = PlayerIndex(t.players, t.playerCount).find(id);
        EXPECT_GE(at, 0) << "no player with id " << id;
        return t.players[static_cast<std::size_t>(std::max(at, 0))];
    }
    const RoundRecord& round(int r) const { return t.rounds[static_cast<std::size_t>(r - 1)]; }

    TempDir dir;
    Tournament t;
};

TEST_F(LoadersTest, PlayersKeepTableOrderAndSkipOrderZeroAndDeleted) {
    std::vector<PlayerRow> rows = testing::numberedPlayers(5);
    rows[0].deleted = true;  // the very first row
    rows[2].order = 0;
    rows[3].surname = "O'Brien   ";
    rows[3].firstName = "  Seán";
    rows[3].federation = "IRL";
    rows[3].club = "Gonzaga";
    rows[3].intlRating = 2105;
    rows[3].localRating = 1980;
    load(rows, {});
    ASSERT_EQ(t.playerCount, 3);
    EXPECT_EQ(t.players[0].id, 2);
    EXPECT_EQ(t.players[1].id, 4);
    EXPECT_EQ(t.players[2].id, 5);
    const Player& p = t.players[1];
    EXPECT_EQ(p.surname, "O'Brien");
    EXPECT_EQ(p.firstName, "  Seán");  // only trailing blanks go
    EXPECT_EQ(p.federation, "IRL");
    EXPECT_EQ(p.club, "Gonzaga");
    EXPECT_EQ(p.intlRating, 2105);
    EXPECT_EQ(p.localRating, 1980);
    EXPECT_EQ(p.startRank, 4);
    EXPECT_EQ(p.startRankKey[0], -4.0f);
    EXPECT_EQ(p.startRankKey[39], -4.0f);
}

TEST_F(LoadersTest, TitleDigitsBecomeTitles) {
    const std::pair<std::string, std::string> cases[] = {
        {"1", "GM"}, {"2", "WGM"}, {"3", "IM"}, {"4", "WIM"}, {"5", "FM"},
        {"6", "WFM"}, {"7", ""},   {"", ""},    {"3xx", "IM"}, {" 1", ""}};
    std::vector<PlayerRow> rows = testing::numberedPlayers(10);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        rows[k].title = cases[k].first;
    }
    load(rows, {});
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(t.players[k].title, cases[k].second) << "code '" << cases[k].first << "'";
    }
}

TEST_F(LoadersTest, ZeroRecordCountReadsAs26) {
    DbfWriter w(testing::playersColumns());
    for (int k = 1; k <= 30; ++k) {
        w.addRecord({std::to_string(k), std::to_string(k), "S", "F"});
    }
    w.recordCountOverride = 0;
    ASSERT_TRUE(w.save(dir / "z.trn"));
    EXPECT_EQ(countTableRecords(dir / "z.trn"), 26);
    std::vector<Player> players(26);
    EXPECT_EQ(loadPlayers(dir / "z.trn", players, {}), 26);
}

TEST_F(LoadersTest, UnreadableTablesReportFailure) {
    std::ostringstream quiet;
    auto* old = std::cerr.rdbuf(quiet.rdbuf());
    EXPECT_EQ(countTableRecords(dir / "missing.trn"), -1);
    std::vector<Player> players(3);
    EXPECT_EQ(loadPlayers(dir / "missing.trn", players, {}), 0);
    EXPECT_EQ(loadPairings(dir / "missing.sco", t.rounds, players, 0), -1);
    EXPECT_EQ(t.rounds[0].number, -1);
    testing::writeFile(dir / "bad.trn", std::string("\x83") + std::string(40, '\0'));
    EXPECT_EQ(countTableRecords(dir / "bad.trn"), -1);
    std::cerr.rdbuf(old);
}

TEST_F(LoadersTest, PairingThenUnpairedEntry) {
    load(testing::numberedPlayers(9), {{1, 5, 9, 2, 0}, {1, 7, 0, 2, 0}});
    const RoundRecord& r = round(1);
    EXPECT_EQ(r.number, 1);
    ASSERT_EQ(r.boardCount, 1);
    EXPECT_EQ(r.white[0], 5);
    EXPECT_EQ(r.black[0], 9);
    EXPECT_EQ(r.whiteScore[0], 1.0f);
    EXPECT_EQ(r.highestGameTotal, 1);
    ASSERT_EQ(r.unpairedCount, 1);
    EXPECT_EQ(r.unpairedId[0], 7);
    EXPECT_EQ(r.unpairedScore[0], 1.0f);

    const RoundEntry w = player(5).gameInRound(0);
    EXPECT_EQ(w.colour, 1);
    EXPECT_EQ(w.opponent, 9);
    EXPECT_EQ(w.score, 1.0f);
    EXPECT_EQ(w.gameTotal, 1.0f);
    EXPECT_EQ(w.board, 1);
    const RoundEntry b = player(9).gameInRound(0);
    EXPECT_EQ(b.colour, 0);
    EXPECT_EQ(b.opponent, 5);
    EXPECT_EQ(b.score, 0.0f);
    const RoundEntry bye = player(7).gameInRound(0);
    EXPECT_EQ(bye.colour, 2);
    EXPECT_EQ(bye.score, 1.0f);
    EXPECT_EQ(bye.opponent, -1);
    EXPECT_EQ(bye.gameTotal, 1.0f);
    EXPECT_EQ(bye.board, 0);
}

TEST_F(LoadersTest, UnpairedEntryBeforeAnyResultHasGameTotalZero) {
    load(testing::numberedPlayers(9), {{1, 7, 0, 2, 0}, {1, 5, 9, 2, 0}});
    EXPECT_EQ(player(7).gameInRound(0).gameTotal, 0.0f);
    EXPECT_EQ(player(7).gameInRound(0).score, 1.0f);
}

TEST_F(LoadersTest, ByeInTheBlackColumnScoresTheBlackPoints) {
    load(testing::numberedPlayers(4), {{1, 0, 3, 0, 2}, {1, 0, 4, 0, 1}});
    const RoundRecord& r = round(1);
    ASSERT_EQ(r.unpairedCount, 2);
    EXPECT_EQ(r.unpairedId[0], 3);
    EXPECT_EQ(r.unpairedScore[0], 1.0f);
    EXPECT_EQ(r.unpairedScore[1], 0.5f);
    EXPECT_EQ(player(3).gameInRound(0).score, 1.0f);
    EXPECT_EQ(player(3).gameInRound(0).colour, 2);
    EXPECT_EQ(player(4).gameInRound(0).score, 0.5f);
}

TEST_F(LoadersTest, ZeroZeroPairingIsNoResult) {
    load(testing::numberedPlayers(2), {{1, 1, 2, 0, 0}});
    EXPECT_EQ(round(1).whiteScore[0], -1.0f);
    EXPECT_EQ(round(1).highestGameTotal, 0);
    EXPECT_EQ(player(1).gameInRound(0).score, 0.0f);
    EXPECT_EQ(player(1).gameInRound(0).opponent, 2);
    EXPECT_EQ(player(2).gameInRound(0).board, 1);
}

TEST_F(LoadersTest, DrawGivesHalfPoints) {
    load(testing::numberedPlayers(2), {{1, 1, 2, 1, 1}});
    EXPECT_EQ(round(1).whiteScore[0], 0.5f);
    EXPECT_EQ(player(1).gameInRound(0).score, 0.5f);
    EXPECT_EQ(player(2).gameInRound(0).score, 0.5f);
}

TEST_F(LoadersTest, WhiteTypeIsKeptAboveThirtyThreeOnPairingsOnly) {
    load(testing::numberedPlayers(6),
         {{1, 1, 2, 2, 0, 35}, {1, 3, 4, 2, 0, 20}, {1, 5, 0, 2, 0, 35}, {1, 6, 0, 2, 0, 352}});
    EXPECT_EQ(round(1).whiteType[0], 35);
    EXPECT_EQ(round(1).whiteType[1], 0);
    EXPECT_EQ(round(1).whiteType[2], 0);  // never written for unpaired entries
    EXPECT_EQ(round(1).unpairedCount, 2);
}

TEST_F(LoadersTest, MissingRoundKeepsItsDefaults) {
    EXPECT_EQ(load(testing::numberedPlayers(4), {{1, 1, 2, 2, 0}, {5, 3, 4, 1, 1}, {2, 1, 3, 0, 2}}),
              5);
    EXPECT_EQ(round(3).number, -1);
    EXPECT_EQ(round(3).boardCount, 0);
    EXPECT_EQ(round(5).number, 5);
    EXPECT_EQ(round(2).boardCount, 1);
}

TEST_F(LoadersTest, RoundsOutsideOneToFortyAreIgnored) {
    EXPECT_EQ(load(testing::numberedPlayers(4),
                   {{0, 1, 2, 2, 0}, {41, 1, 2, 2, 0}, {-3, 3, 4, 2, 0}, {99, 1, 0, 2, 0},
                    {2, 3, 4, 1, 1}}),
              2);
    for (int r = 1; r <= kMaxRounds; ++r) {
        EXPECT_EQ(round(r).boardCount, r == 2 ? 1 : 0) << r;
        EXPECT_EQ(round(r).unpairedCount, 0) << r;
    }
    EXPECT_EQ(player(1).gameInRound(0).colour, -1);
    EXPECT_EQ(t.skipped.roundOutOfRange, 4);
}

TEST_F(LoadersTest, BoardsAndUnpairedEntriesBeyondTheLimitsAreDropped) {
    std::vector<GameRow> games;
    for (int b = 0; b < 205; ++b) {
        games.push_back({3, 1, 2, 2, 0});
    }
    for (int k = 0; k < 410; ++k) {
        games.push_back({3, 3, 0, 2, 0});
    }
    EXPECT_EQ(load(testing::numberedPlayers(3), games), 3);
    EXPECT_EQ(round(3).boardCount, kMaxBoards);
    EXPECT_EQ(round(3).unpairedCount, kMaxUnpaired);
    EXPECT_EQ(player(1).gameInRound(2).board, kMaxBoards);
    EXPECT_EQ(t.skipped.boardsBeyondLimit, 5);
    EXPECT_EQ(t.skipped.unpairedBeyondLimit, 10);
}

TEST_F(LoadersTest, UnknownIdsGiveNoEntry) {
    load(testing::numberedPlayers(2), {{1, 1, 77, 2, 0}, {1, 400, 2, 0, 2}, {2, -5, 0, 2, 0}});
    EXPECT_EQ(round(1).boardCount, 2);
    EXPECT_EQ(round(1).white[1], 400);
    EXPECT_EQ(player(1).gameInRound(0).opponent, 77);
    EXPECT_EQ(player(2).gameInRound(0).opponent, 400);
    EXPECT_EQ(player(2).gameInRound(0).score, 1.0f);
    EXPECT_EQ(round(2).unpairedCount, 1);
    EXPECT_EQ(round(2).unpairedId[0], -5);
}

TEST_F(LoadersTest, PlayerIdsOutsideTheTableAndPlayersBeyond400AreSkipped) {
    std::vector<PlayerRow> rows = testing::numberedPlayers(3);
    rows[1].id = 400;
    rows[2].id = -1;
    load(rows, {});
    ASSERT_EQ(t.playerCount, 1);
    EXPECT_EQ(t.players[0].id, 1);
    EXPECT_EQ(t.skipped.idOutOfRange, 2);

    std::vector<PlayerRow> many;
    for (int k = 0; k < 450; ++k) {
        PlayerRow p;
        p.order = k + 1;
        p.id = k % 400;
        p.surname = "S";
        many.push_back(p);
    }
    load(many, {});
    EXPECT_EQ(t.playerCount, kMaxPlayers);
    EXPECT_EQ(t.skipped.playersBeyondLimit, 50);
}

TEST_F(LoadersTest, RequestedByesArePlacedInTheirOrder) {
    // Player 1's own rows; players 3 and 4 meet in every round, so rounds 1-4 exist.
    const GameRow win{1, 1, 2, 2, 0}, zeroBye{0, 1, 0, 0, 0};
    const auto in = [](int r, GameRow g) { g.round = r; return g; };
    struct Entry { int colour; float score; };
    const Entry none{-1, 0}, won{1, 1}, zero{2, 0}, half{2, 0.5f};
    const struct {
        const char* what;
        std::string bonus, absent, lateEntry;
        std::vector<GameRow> games;
        std::array<Entry, 4> expected;
    } cases[] = {
        {"a: absent round without entry first", "0.5", "0000000000000004", "",
         {in(1, win)}, {won, none, half, none}},
        {"a: absent round's 0-point bye", "0.5", "2", "",
         {in(1, win), in(2, zeroBye), in(4, win)}, {won, half, none, won}},
        {"a: absent round with a game is passed over", "0.5", "1", "",
         {in(1, win), in(3, win)}, {won, half, won, none}},
        {"b: before the late entry, then a", "1", "0000000000000008", "3",
         {in(3, win)}, {half, none, won, half}},
        {"c: lowest round without entry before a 0-point bye", "1", "", "",
         {in(1, win), in(3, zeroBye)}, {won, half, zero, half}},
        {"d: 0-point bye last", "1.7", "", "",
         {in(1, win), in(2, win), in(3, zeroBye), in(4, win)}, {won, won, half, won}},
        {"nowhere to place it", "1", "", "",
         {in(1, win), in(2, win), in(3, win), in(4, win)}, {won, won, won, won}},
    };
    for (const auto& c : cases) {
        std::vector<PlayerRow> rows = testing::numberedPlayers(4);
        rows[0].bonus = c.bonus;
        rows[0].absent = c.absent;
        rows[0].lateEntry = c.lateEntry;
        std::vector<GameRow> games = c.games;
        for (int r = 1; r <= 4; ++r) games.push_back({r, 3, 4, 2, 0});
        ASSERT_EQ(load(rows, games), 4) << c.what;
        for (int i = 0; i < 4; ++i) {
            const RoundEntry e = player(1).gameInRound(i);
            EXPECT_EQ(e.colour, c.expected[static_cast<std::size_t>(i)].colour) << c.what << i;
            EXPECT_EQ(e.score, c.expected[static_cast<std::size_t>(i)].score) << c.what << i;
            // The round's own list holds the player's unpaired entry with the same points.
            const RoundRecord& rr = round(i + 1);
            const bool listed = rr.unpairedCount == 1 && rr.unpairedId[0] == 1;
            EXPECT_EQ(listed, e.colour == 2) << c.what << i;
            if (listed) {
                EXPECT_EQ(rr.unpairedScore[0], e.score) << c.what << i;
            }
        }
    }
}

TEST_F(LoadersTest, BonusTextsThatAreNotDecimalsCountNothing) {
    const struct {
        std::string bonus;
        int halfPoints;
    } cases[] = {{"0.5", 1}, {"1", 2}, {"1.5", 3}, {" 1", 2}, {"1.7", 3}, {"0.49", 0}, {"", 0},
                 {"abc", 0}, {"-1", 0}, {"1x", 0}, {".5", 0}};
    for (const auto& c : cases) {
        std::vector<PlayerRow> rows = testing::numberedPlayers(2);
        rows[0].bonus = c.bonus;
        load(rows, {{1, 2, 0, 2, 0}});
        EXPECT_EQ(player(1).requestedByes.halfPoints, c.halfPoints) << c.bonus;
    }
}

TEST_F(LoadersTest, LastPlayerWithAnIdGetsTheGames) {
    std::vector<PlayerRow> rows = testing::numberedPlayers(3);
    rows[2].id = 1;  // a second player with id 1
    load(rows, {{1, 1, 2, 2, 0}});
    EXPECT_EQ(t.players[0].gameInRound(0).colour, -1);
    EXPECT_EQ(t.players[2].gameInRound(0).colour, 1);
}

TEST_F(LoadersTest, TiebreakNamesAreComparedExactly) {
    load(testing::numberedPlayers(1), {}, {"Num Wins", "Start Rank", "sum prog"});
    EXPECT_EQ(t.players[0].tiebreaks[0], Tiebreak::Wins);
    EXPECT_EQ(t.players[0].tiebreaks[1], Tiebreak::StartRank);
    EXPECT_EQ(t.players[0].tiebreaks[2], Tiebreak::MedianBuchholz);
    EXPECT_EQ(t.players[0].tiebreaks[3], Tiebreak::StartRank);
    load(testing::numberedPlayers(1), {}, {"Buchholz ", "", "Sum Prog"});
    EXPECT_EQ(t.players[0].tiebreaks[0], Tiebreak::Progressive);
    EXPECT_EQ(t.players[0].tiebreaks[1], Tiebreak::Buchholz);
    EXPECT_EQ(t.players[0].tiebreaks[2], Tiebreak::Progressive);
}

TEST_F(LoadersTest, ColumnsOfAnotherKindCountAsMissing) {
    DbfWriter trn({{"ORDER", 'N', 3, 0}, {"ID", 'N', 3, 1}, {"SURNAME", 'N', 5, 0},
                   {"TITLE", 'N', 1, 0}, {"LOC_RTG", 'C', 4, 0}});
    trn.addRecord({"1", "7.0", "123", "1", "1500"});
    ASSERT_TRUE(trn.save(dir / "k.trn"));
    std::vector<Player> players(1);
    ASSERT_EQ(loadPlayers(dir / "k.trn", players, {}), 1);
    EXPECT_EQ(players[0].id, 0);
    EXPECT_EQ(players[0].surname, "");
    EXPECT_EQ(players[0].title, "");
    EXPECT_EQ(players[0].localRating, 0);
    EXPECT_EQ(players[0].startRank, 1);
}

TEST_F(LoadersTest, MissingScoreColumnsGiveMinusOnePoint) {
    DbfWriter sco({{"ROUND", 'N', 3, 0}, {"WHITE", 'N', 3, 0}, {"BLACK", 'N', 3, 0}});
    sco.addRecord({"1", "1", "2"});
    ASSERT_TRUE(testing::writeTournament(dir / "m", testing::numberedPlayers(2), {}));
    ASSERT_TRUE(sco.save(dir / "m.sco"));
    std::vector<Player> players(2);
    ASSERT_EQ(loadPlayers(dir / "m.trn", players, {}), 2);
    ASSERT_EQ(loadPairings(dir / "m.sco", t.rounds, players, 2), 1);
    EXPECT_EQ(t.rounds[0].whiteScore[0], -1.0f);
    EXPECT_EQ(players[0].gameInRound(0).score, -1.0f);
}

}  // namespace
}  // namespace pairweb::data

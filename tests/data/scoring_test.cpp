#include "data/scoring.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace pairweb::data {
namespace {

// A player with the given id and start rank and per-round (opponent, score) entries; an
// opponent of -1 is an unpaired entry.
Player makePlayer(int id, int startRank, const std::vector<std::pair<int, float>>& rounds) {
    Player p;
    p.id = id;
    p.startRank = startRank;
    p.startRankKey.fill(-static_cast<float>(startRank));
    for (std::size_t r = 0; r < rounds.size(); ++r) {
        p.opponent[r] = rounds[r].first;
        p.score[r] = rounds[r].second;
        p.colour[r] = rounds[r].first == -1 ? 2 : 1;
    }
    return p;
}

void computeAll(std::vector<Player>& players, int rounds) {
    const PlayerIndex index(players, static_cast<int>(players.size()));
    for (int r = 1; r <= rounds; ++r) {
        for (Player& p : players) computeRunningTotals(p, r);
        for (Player& p : players) computeBuchholz(p, r, players, index);
    }
}

TEST(RunningTotalsTest, ByeCountsInPointsButNotInWins) {
    Player p = makePlayer(1, 1, {{-1, 1.0f}, {2, 1.0f}});
    computeRunningTotals(p, 2);
    EXPECT_EQ(p.totalScore[0], 1.0f);
    EXPECT_EQ(p.totalScore[1], 2.0f);
    EXPECT_EQ(p.progressive[0], 1.0f);
    EXPECT_EQ(p.progressive[1], 3.0f);
    EXPECT_EQ(p.wins[0], 0.0f);
    EXPECT_EQ(p.wins[1], 1.0f);
    EXPECT_EQ(p.totalScore[2], 0.0f);  // later rounds untouched
}

TEST(RunningTotalsTest, ProgressiveSumsTheRunningTotals) {
    Player p = makePlayer(1, 1, {{2, 0.5f}, {3, 0.5f}, {4, 0.5f}});
    computeRunningTotals(p, 3);
    EXPECT_EQ(p.progressive[2], 3.0f);
    EXPECT_EQ(p.wins[2], 0.0f);
    // Computing round by round equals computing once for the highest round.
    Player q = makePlayer(1, 1, {{2, 0.5f}, {3, 0.5f}, {4, 0.5f}});
    for (int r = 1; r <= 3; ++r) computeRunningTotals(q, r);
    EXPECT_EQ(q.progressive, p.progressive);
    EXPECT_EQ(q.totalScore, p.totalScore);
}

TEST(RunningTotalsTest, WinsCountWholePointsOfGamesWorthMore) {
    Player p = makePlayer(1, 1, {{2, 1.5f}, {3, 3.0f}, {-1, 2.0f}});
    computeRunningTotals(p, 3);
    EXPECT_EQ(p.wins[2], 4.0f);  // floor(1.5) + 3; the bye's points never count
}

TEST(BuchholzTest, SumsOpponentsTotalsAfterTheSameRound) {
    // Player 1 meets 2 (1.5 after round 2) and 3 (0.5 after round 2).
    std::vector<Player> players = {
        makePlayer(1, 1, {{2, 1.0f}, {3, 1.0f}}),
        makePlayer(2, 2, {{1, 0.0f}, {4, 1.0f}, {5, 0.5f}}),
        makePlayer(3, 3, {{4, 0.5f}, {1, 0.0f}}),
        makePlayer(4, 4, {{3, 0.5f}, {2, 0.0f}}),
    };
    players[1].score[1] = 1.5f;  // player 2 reaches 1.5 after round 2
    computeAll(players, 2);
    EXPECT_EQ(players[0].buchholz[1], 2.0f);
    EXPECT_EQ(players[0].medianBuchholz[1], 0.0f);  // below round 3
    EXPECT_EQ(players[0].buchholz[0], 0.0f);        // opponent 2 had 0 after round 1
}

TEST(BuchholzTest, MedianDropsOneHighestAndOneLowest) {
    // Opponents end on 2 and 1 after round 3; round 2 was a bye (contributes 0).
    std::vector<Player> players = {
        makePlayer(1, 1, {{2, 0.0f}, {-1, 1.0f}, {3, 0.0f}}),
        makePlayer(2, 2, {{1, 1.0f}, {-1, 0.0f}, {-1, 1.0f}}),
        makePlayer(3, 3, {{-1, 0.0f}, {-1, 0.0f}, {1, 1.0f}}),
    };
    computeAll(players, 3);
    EXPECT_EQ(players[0].buchholz[2], 3.0f);
    EXPECT_EQ(players[0].medianBuchholz[2], 1.0f);

    std::vector<Player> even = {
        makePlayer(1, 1, {{2, 0.0f}, {3, 0.0f}, {4, 0.0f}}),
        makePlayer(2, 2, {{1, 1.0f}}),
        makePlayer(3, 3, {{-1, 0.0f}, {1, 1.0f}}),
        makePlayer(4, 4, {{-1, 0.0f}, {-1, 0.0f}, {1, 1.0f}}),
    };
    computeAll(even, 3);
    EXPECT_EQ(even[0].buchholz[2], 3.0f);
    EXPECT_EQ(even[0].medianBuchholz[2], 1.0f);  // 1, 1, 1: one of each end removed
}

TEST(BuchholzTest, UnknownOpponentContributesZeroAndLastIdWins) {
    std::vector<Player> players = {
        makePlayer(1, 1, {{9, 1.0f}, {2, 1.0f}}),
        makePlayer(2, 2, {{-1, 1.0f}, {1, 0.0f}}),
        makePlayer(2, 3, {{-1, 0.5f}, {-1, 0.0f}}),  // the last player with id 2
        makePlayer(5, 4, {{450, 1.0f}, {-7, 1.0f}}),
    };
    computeAll(players, 2);
    EXPECT_EQ(players[0].buchholz[1], 0.5f);
    EXPECT_EQ(players[3].buchholz[1], 0.0f);
}

TEST(CommencedTest, NeedsOneResultOnABoardWithTwoPlayers) {
    RoundRecord r;
    r.boardCount = 2;
    r.white = {{1, 3}};
    r.black = {{2, 4}};
    computeCommenced(r);
    EXPECT_FALSE(r.commenced);
    r.whiteScore[1] = 0.0f;
    computeCommenced(r);
    EXPECT_TRUE(r.commenced);

    RoundRecord onlyByes;
    onlyByes.unpairedCount = 1;
    onlyByes.unpairedScore[0] = 1.0f;
    computeCommenced(onlyByes);
    EXPECT_FALSE(onlyByes.commenced);
}

std::vector<int> idsOf(const std::vector<Player>& players, const std::vector<RankedPlayer>& o) {
    std::vector<int> ids;
    for (const RankedPlayer& e : o) ids.push_back(players[static_cast<std::size_t>(e.index)].id);
    return ids;
}

TEST(OrderTest, InsertionCarriesDisplacedPlayersDown) {
    // One key in effect: points; every tiebreak equal, start ranks all 1. The list 5, 3, 3
    // receiving a 4 becomes 5, 4, then the second 3, then the first 3.
    std::vector<Player> players = {makePlayer(1, 1, {}), makePlayer(2, 1, {}),
                                   makePlayer(3, 1, {}), makePlayer(4, 1, {})};
    const float points[] = {5, 3, 3, 4};
    for (std::size_t k = 0; k < 4; ++k) players[k].totalScore[0] = points[k];
    const std::vector<RankedPlayer> order = standingsOrder(players, 4, 0);
    EXPECT_EQ(idsOf(players, order), (std::vector<int>{1, 4, 3, 2}));
    EXPECT_EQ(order[1].points, 4.0f);
}

TEST(OrderTest, TiebreaksDecideThenStartRank) {
    std::vector<Player> players = {makePlayer(1, 7, {}), makePlayer(2, 3, {}),
                                   makePlayer(3, 5, {}), makePlayer(4, 1, {})};
    for (Player& p : players) p.totalScore[0] = 1;
    players[2].progressive[0] = 2;  // best first tiebreak
    players[3].totalScore[0] = 0.5f;
    const std::vector<RankedPlayer> order = standingsOrder(players, 4, 0);
    EXPECT_EQ(idsOf(players, order), (std::vector<int>{3, 2, 1, 4}));
}

TEST(OrderTest, StartRankAsFirstTiebreakSwitchesTheOthersOff) {
    std::vector<Player> players = {makePlayer(1, 2, {}), makePlayer(2, 1, {})};
    for (Player& p : players) {
        p.totalScore[0] = 1;
        p.tiebreaks = {Tiebreak::StartRank, Tiebreak::Buchholz, Tiebreak::Progressive,
                       Tiebreak::StartRank};
    }
    players[0].buchholz[0] = 9;
    EXPECT_EQ(idsOf(players, standingsOrder(players, 2, 0)), (std::vector<int>{2, 1}));
}

TEST(OrderTest, StartRankOrderWithEqualRanksFollowsTheInsertion) {
    std::vector<Player> players = {makePlayer(1, 3, {}), makePlayer(2, 3, {}),
                                   makePlayer(3, 1, {})};
    EXPECT_EQ(idsOf(players, startRankOrder(players, 3, 0)), (std::vector<int>{3, 2, 1}));
}

TEST(OrderTest, OrdersHoldAtMost400Players) {
    std::vector<Player> players;
    for (int k = 0; k < 450; ++k) players.push_back(makePlayer(k, 450 - k, {}));
    EXPECT_EQ(standingsOrder(players, 450, 0).size(), 400u);
    EXPECT_EQ(startRankOrder(players, 450, 0).front().index, 399);
}

// The insertion exactly as described, comparing the five keys at every step.
std::vector<int> naiveStandings(const std::vector<Player>& players, int i) {
    const auto key = [&](int k) {
        const Player& p = players[static_cast<std::size_t>(k)];
        return std::array<float, 5>{p.totalAfter(i), p.tiebreak(1, i), p.tiebreak(2, i),
                                    p.tiebreak(3, i), p.tiebreak(4, i)};
    };
    std::vector<int> list;
    for (int k = 0; k < static_cast<int>(players.size()); ++k) {
        int carried = k;
        for (int& placed : list) {
            if (key(carried) > key(placed)) std::swap(carried, placed);
        }
        list.push_back(carried);
    }
    return list;
}

TEST(OrderTest, SameOrderAsTheStepByStepInsertionWithManyTies) {
    std::uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<Player> players;
        const int n = 1 + next(trial < 300 ? 12 : 400);
        for (int k = 0; k < n; ++k) {
            Player p = makePlayer(k + 1, 1 + next(n), {});  // start ranks repeat too
            p.totalScore[0] = static_cast<float>(next(4)) * 0.5f;
            p.progressive[0] = static_cast<float>(next(3));
            p.buchholz[0] = static_cast<float>(next(2));
            players.push_back(p);
        }
        std::vector<int> fast;
        for (const RankedPlayer& e : standingsOrder(players, n, 0)) fast.push_back(e.index);
        ASSERT_EQ(fast, naiveStandings(players, 0)) << "trial " << trial;
        // The start-rank order is the same insertion on the start rank alone.
        for (Player& p : players) p.tiebreaks = {Tiebreak::StartRank, Tiebreak::StartRank,
                                                 Tiebreak::StartRank, Tiebreak::StartRank};
        for (Player& p : players) p.totalScore[0] = 0;
        std::vector<int> byStart;
        for (const RankedPlayer& e : startRankOrder(players, n, 0)) byStart.push_back(e.index);
        ASSERT_EQ(byStart, naiveStandings(players, 0)) << "trial " << trial;
    }
}

TEST(TournamentComputeTest, RoundsAboveRoundCountStayZero) {
    Tournament t;
    t.players = {makePlayer(1, 1, {{2, 1.0f}, {2, 1.0f}, {2, 1.0f}}),
                 makePlayer(2, 2, {{1, 0.0f}, {1, 0.0f}, {1, 0.0f}})};
    t.playerCount = 2;
    t.roundCount = 2;
    t.rounds[0].boardCount = 1;
    t.rounds[0].white[0] = 1;
    t.rounds[0].black[0] = 2;
    t.rounds[0].whiteScore[0] = 1;
    computeTournament(t);
    EXPECT_EQ(t.players[0].totalScore[1], 2.0f);
    EXPECT_EQ(t.players[0].totalScore[2], 0.0f);
    EXPECT_EQ(t.players[1].buchholz[1], 4.0f);  // met player 1 (2 points) twice
    EXPECT_TRUE(t.rounds[0].commenced);
    EXPECT_FALSE(t.rounds[1].commenced);
}

}  // namespace
}  // namespace pairweb::data

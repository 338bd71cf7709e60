// The bundled sample tournaments: loadable, as described, and rebuilt byte for byte by the
// generator that made them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "data/loaders.h"
#include "data/scoring.h"
#include "platform/file_ops.h"
#include "support/test_env.h"

namespace pairweb::data {
namespace {

Tournament loadSample(const std::string& name) {
    const std::string base = std::string(PAIRWEB_SOURCE_DIR) + "/samples/" + name;
    Tournament t;
    t.players.resize(static_cast<std::size_t>(std::max(0, countTableRecords(base + ".trn"))));
    t.playerCount = loadPlayers(base + ".trn", t.players, {"Sum Prog", "Buchholz", "MBuchholz"});
    t.roundCount = loadPairings(base + ".sco", t.rounds, t.players, t.playerCount);
    computeTournament(t);
    return t;
}

TEST(SamplesTest, SwissOpenHasSixtyPlayersAndNineRounds) {
    const Tournament t = loadSample("swiss_open");
    EXPECT_EQ(t.playerCount, 60);
    ASSERT_EQ(t.roundCount, 9);
    int byes = 0;
    int halfByes = 0;
    int forfeits = 0;
    int draws = 0;
    for (int r = 0; r < 8; ++r) {
        const RoundRecord& round = t.rounds[static_cast<std::size_t>(r)];
        EXPECT_TRUE(round.commenced) << r + 1;
        for (int k = 0; k < round.unpairedCount; ++k) {
            const float s = round.unpairedScore[static_cast<std::size_t>(k)];
            byes += s == 1.0f;
            halfByes += s == 0.5f;
        }
        for (int b = 0; b < round.boardCount; ++b) {
            forfeits += round.whiteType[static_cast<std::size_t>(b)] != 0;
            draws += round.whiteScore[static_cast<std::size_t>(b)] == 0.5f;
        }
    }
    EXPECT_GT(byes, 0);
    EXPECT_EQ(halfByes, 4);
    EXPECT_GT(forfeits, 0);
    EXPECT_GT(draws, 10);
    EXPECT_FALSE(t.rounds[8].commenced);  // the last round is paired, not played
    EXPECT_GT(t.rounds[8].boardCount, 25);
    // Withdrawn players have fewer than 30 boards in the last rounds.
    EXPECT_LT(t.rounds[8].boardCount * 2 + t.rounds[8].unpairedCount, 60);
}

TEST(SamplesTest, RoundRobinIsCompleteAndEveryPairMetOnce) {
    const Tournament t = loadSample("round_robin");
    ASSERT_EQ(t.playerCount, 10);
    ASSERT_EQ(t.roundCount, 9);
    float total = 0;
    for (int k = 0; k < 10; ++k) {
        const Player& p = t.players[static_cast<std::size_t>(k)];
        total += p.totalAfter(8);
        for (int j = 0; j < 10; ++j) {
            if (j == k) continue;
            const int opponent = t.players[static_cast<std::size_t>(j)].id;
            int meetings = 0;
            for (int r = 0; r < 9; ++r) meetings += p.opponent[static_cast<std::size_t>(r)] == opponent;
            EXPECT_EQ(meetings, 1) << p.id << " vs " << opponent;
        }
    }
    EXPECT_EQ(total, 45.0f);
}

TEST(SamplesTest, GeneratorRebuildsTheCommittedFiles) {
    if (platform::pathSeparator() != '/') {
        GTEST_SKIP() << "the sample generator is a tool of the build machine, run by a shell";
    }
    testing::TempDir dir;
    const std::string command = std::string(PAIRWEB_MAKE_SAMPLES_PATH) + " '" + dir.path() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"swiss_open.trn", "swiss_open.sco", "round_robin.trn",
                             "round_robin.sco"}) {
        EXPECT_EQ(testing::readFile(dir / name),
                  testing::readFile(std::string(PAIRWEB_SOURCE_DIR) + "/samples/" + name))
            << name;
    }
}

}  // namespace
}  // namespace pairweb::data

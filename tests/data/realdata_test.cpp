// Tournaments written by the pairing program itself, read in place from the shared folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "data/loaders.h"
#include "data/scoring.h"

namespace pairweb::data {
namespace {

struct PlayerPoints {
    int id;
    std::vector<float> totals;  // after rounds 1, 2, ...
};

struct RealTournament {
    const char* trn;  // below the shared folder
    int players;
    int rounds;
    std::vector<int> boards;    // per round
    std::vector<int> unpaired;  // per round
    std::vector<PlayerPoints> checks;
};

const RealTournament kTournaments[] = {
    {"LimerickClubChampionship09/LimerickClubChampionship09.trn", 19, 7,
     {7, 8, 9, 9, 9, 9, 9}, {4, 2, 1, 0, 0, 0, 0},
     {{1, {1, 1, 2, 2, 2, 3, 4}}, {10, {0, 0.5f, 1.5f, 2.5f, 3, 4, 4}},
      {19, {0, 0, 1, 2, 2, 3, 3}}}},
    {"drog_a/drog_a.trn", 6, 5, {3, 3, 3, 3, 3}, {0, 0, 0, 0, 0},
     {{1, {1, 2, 2, 2.5f, 2.5f}}, {4, {0, 0, 1, 2, 2.5f}}}},
    {"gonzaga_challengers_2010/gonzaga_challengers_2010.trn", 56, 6,
     {24, 24, 25, 25, 25, 25}, {3, 5, 0, 1, 0, 0},
     {{1, {0, 0, 0, 1, 2, 2.5f}}, {31, {0, 1, 1, 1, 2, 2}}}},
    {"gonzaga_challengers_2010_orig/gonzaga_challengers_2010.trn", 56, 6,
     {24, 24, 25, 25, 25, 25}, {3, 5, 0, 1, 0, 0},
     {{1, {0, 0, 0, 1, 2, 2.5f}}}},
    {"junior_championships_u19_2010/junior_championships_u19_2010.trn", 4, 3, {2, 2, 2},
     {0, 0, 0}, {{1, {0, 1, 1}}, {4, {1, 1, 2}}}},
    {"junior_provincials_u16_2010/junior_provincials_u16_2010.trn", 18, 3, {8, 8, 8},
     {1, 1, 1}, {{1, {0.5f, 1, 1}}, {10, {0, 1, 2}}, {18, {1, 1, 1}}}},
    {"limerick_cc_2011/LimerickClubChampionship10.trn", 23, 7, {10, 11, 10, 10, 10, 10, 10},
     {2, 1, 0, 0, 0, 0, 0},
     {{1, {1, 1, 1, 1, 2, 3, 4}}, {16, {0, 1, 2, 2, 3, 4, 5}}}},
    {"mulcahy_2010/mulcahy_2010.trn", 50, 6, {25, 23, 25, 25, 24, 25}, {0, 4, 0, 0, 2, 0},
     {{3, {0.5f, 1.5f, 2, 3, 3.5f, 4}}, {27, {0, 0.5f, 1, 1, 1.5f, 2.5f}}}},
    {"munster_u10_2011/U10.trn", 10, 5, {5, 4, 4, 4, 4}, {0, 1, 1, 1, 1},
     {{1, {1, 1, 2, 2, 2}}, {10, {1, 2, 2, 3, 4}}}},
    {"ncc/ncc.trn", 77, 4, {29, 29, 30, 30}, {1, 0, 0, 0},
     {{1, {0, 0.5f, 1.5f, 1.5f}}, {39, {1, 1, 1, 1}}, {77, {0, 0, 0, 1}}}},
    {"ncc_orig/ncc.trn", 77, 4, {29, 29, 30, 30}, {1, 0, 0, 0},
     {{1, {0, 0.5f, 1.5f, 1.5f}}}},
    {"phibs_cc_inter_2012/Phibsboro Club Chamionship 2012 Inter..trn", 6, 5,
     {3, 3, 3, 3, 3}, {0, 0, 0, 0, 0},
     {{1, {1, 1.5f, 1.5f, 2, 3}}, {4, {0, 1, 1, 1.5f, 2}}, {6, {0, 0, 0, 0, 0}}}},
};

class RealDataTest : public ::testing::TestWithParam<RealTournament> {};

TEST_P(RealDataTest, LoadsPlayersRoundsBoardsAndPoints) {
    const RealTournament& expected = GetParam();
    const std::string trn = std::string(PAIRWEB_REALDATA_DIR) + "/" + expected.trn;
    if (!std::filesystem::exists(trn)) {
        GTEST_SKIP() << "real tables not found beside the project: " << trn;
    }
    const std::string sco = trn.substr(0, trn.rfind('.')) + ".sco";
    Tournament t;
    const int records = countTableRecords(trn);
    ASSERT_GE(records, expected.players);
    t.players.resize(static_cast<std::size_t>(records));
    t.playerCount = loadPlayers(trn, t.players, {"Sum Prog", "Buchholz", "MBuchholz"});
    EXPECT_EQ(t.playerCount, expected.players);
    t.roundCount = loadPairings(sco, t.rounds, t.players, t.playerCount);
    ASSERT_EQ(t.roundCount, expected.rounds);
    computeTournament(t);
    for (int r = 0; r < t.roundCount; ++r) {
        const RoundRecord& round = t.rounds[static_cast<std::size_t>(r)];
        EXPECT_EQ(round.number, r + 1);
        EXPECT_EQ(round.boardCount, expected.boards[static_cast<std::size_t>(r)]) << r + 1;
        EXPECT_EQ(round.unpairedCount, expected.unpaired[static_cast<std::size_t>(r)]) << r + 1;
        EXPECT_TRUE(round.commenced) << r + 1;
    }
    const PlayerIndex index(t.players, t.playerCount);
    for (const PlayerPoints& check : expected.checks) {
        const int at = index.find(check.id);
        ASSERT_GE(at, 0) << "id " << check.id;
        const Player& p = t.players[static_cast<std::size_t>(at)];
        for (std::size_t r = 0; r < check.totals.size(); ++r) {
            EXPECT_EQ(p.totalAfter(static_cast<int>(r)), check.totals[r])
                << "id " << check.id << " after round " << r + 1;
        }
    }
    // Every player appears once in the standings, whatever the ties.
    EXPECT_EQ(standingsOrder(t.players, t.playerCount, t.roundCount - 1).size(),
              static_cast<std::size_t>(t.playerCount));
}

std::string folderName(const ::testing::TestParamInfo<RealTournament>& info) {
    std::string name(info.param.trn, std::string_view(info.param.trn).find('/'));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Field, RealDataTest, ::testing::ValuesIn(kTournaments), folderName);

// Loads a real tournament and computes it; empty when its tables are not there.
std::optional<Tournament> loadReal(const std::string& trn) {
    if (!std::filesystem::exists(trn)) {
        return std::nullopt;
    }
    Tournament t;
    t.players.resize(static_cast<std::size_t>(std::max(0, countTableRecords(trn))));
    t.playerCount = loadPlayers(trn, t.players, {"Sum Prog", "Buchholz", "MBuchholz"});
    t.roundCount = loadPairings(trn.substr(0, trn.rfind('.')) + ".sco", t.rounds, t.players,
                                t.playerCount);
    computeTournament(t);
    return t;
}

TEST(RealDataByesTest, TotalsMatchThePairingProgramsOwnExport) {
    // The text export lists every player by start number with the total after the event.
    const std::string base =
        std::string(PAIRWEB_REALDATA_DIR) + "/gonzaga_challengers_2010/gonzaga_challengers_2010";
    const std::optional<Tournament> t = loadReal(base + ".trn");
    if (!t) {
        GTEST_SKIP() << "real tables not found beside the project";
    }
    std::ifstream exported(base + ".txt");
    std::string line;
    std::getline(exported, line);  // the heads
    int compared = 0;
    while (std::getline(exported, line)) {
        std::vector<std::string> cells;
        std::stringstream row(line);
        for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
        if (cells.size() < 4) continue;
        const int startNumber = std::stoi(cells[0]);
        const float total = std::stof(cells[3]);
        const auto player = std::find_if(
            t->players.begin(), t->players.begin() + t->playerCount,
            [&](const Player& p) { return p.startRank == startNumber; });
        ASSERT_NE(player, t->players.begin() + t->playerCount) << startNumber;
        EXPECT_EQ(player->totalAfter(t->roundCount - 1), total) << "start number " << startNumber;
        ++compared;
    }
    EXPECT_EQ(compared, t->playerCount);
}

TEST(RealDataByesTest, RequestedByesCountInTheTotals) {
    // Players with half-point byes kept in the players table, with their final totals.
    const struct {
        const char* trn;
        std::vector<std::pair<int, float>> totals;  // start rank, total
    } cases[] = {
        // Round 2 or 5 marked absent, each with a 0-point entry that becomes half a point;
        // start rank 40's bye finds no round (all six played) and is not counted.
        {"mulcahy_2010/mulcahy_2010.trn",
         {{15, 4.5f}, {23, 2.5f}, {26, 3}, {29, 3}, {38, 2}, {46, 2}, {40, 2.5f}}},
        // Two late entrants in round 3 with a bonus of 1: rounds 1 and 2, no entry there.
        {"LimerickClubChampionship09/LimerickClubChampionship09.trn", {{17, 2}, {18, 2}}},
    };
    for (const auto& c : cases) {
        const std::optional<Tournament> t =
            loadReal(std::string(PAIRWEB_REALDATA_DIR) + "/" + c.trn);
        if (!t) {
            GTEST_SKIP() << "real tables not found beside the project";
        }
        for (const auto& [rank, total] : c.totals) {
            const auto player = std::find_if(
                t->players.begin(), t->players.begin() + t->playerCount,
                [&](const Player& p) { return p.startRank == rank; });
            ASSERT_NE(player, t->players.begin() + t->playerCount) << rank;
            EXPECT_EQ(player->totalAfter(t->roundCount - 1), total) << c.trn << " " << rank;
        }
    }
}

TEST(RealDataReaderTest, NumericFieldsWithLeftoverBytesReadTheirLeadingDigits) {
    // ORDER is stored left-aligned with a NUL and junk after the digits ("10\0\0\x0c").
    const std::string trn = std::string(PAIRWEB_REALDATA_DIR) +
                            "/LimerickClubChampionship09/LimerickClubChampionship09.trn";
    if (!std::filesystem::exists(trn)) {
        GTEST_SKIP() << "real tables not found beside the project";
    }
    std::vector<Player> players(static_cast<std::size_t>(countTableRecords(trn)));
    ASSERT_EQ(loadPlayers(trn, players, {}), 19);
    EXPECT_EQ(players[0].id, 1);
    EXPECT_EQ(players[0].startRank, 6);
    EXPECT_EQ(players[0].surname, "Foenander");
    EXPECT_EQ(players[2].startRank, 10);
    EXPECT_EQ(players[7].startRank, 11);
    std::vector<int> ranks;
    for (int k = 0; k < 19; ++k) ranks.push_back(players[static_cast<std::size_t>(k)].startRank);
    std::sort(ranks.begin(), ranks.end());
    for (int k = 0; k < 19; ++k) EXPECT_EQ(ranks[static_cast<std::size_t>(k)], k + 1);
}

}  // namespace
}  // namespace pairweb::data

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pairweb::data {

constexpr int kMaxRounds = 40;           // round numbers 1 to 40
constexpr int kMaxBoards = 200;          // pairings with two players per round
constexpr int kMaxUnpaired = 400;        // single-player entries per round
constexpr int kMaxPlayers = 400;         // players that are loaded and ranked
constexpr int kMaxPlayerId = 399;        // player ids run from 0 to 399
constexpr int kMaxRoundRobinPlayers = 24;  // more players than this are always Swiss

// The series a tiebreak slot can name.
enum class Tiebreak { Progressive, Buchholz, MedianBuchholz, Wins, StartRank };

// A player's entry for one round, as gameInRound gives it.
struct RoundEntry {
    float score = 0;
    int opponent = -1;  // id of the opponent; -1 for an unpaired entry or no entry
    int colour = -1;    // 1 white, 0 black, 2 unpaired entry, -1 no entry
    float gameTotal = 0;
    int board = 0;      // from 1; 0 when none
};

// A player's last game against one opponent, as gameAgainst gives it.
struct GameAgainst {
    float score = -1;  // -1 when they did not meet
    int colour = -1;
    float gameTotal = 0;
    int board = 0;
    int roundIndex = 0;  // from 0
};

// Half-point byes that the players table keeps outside the games table (a player who asked
// to miss a round, or entered late): the half points still to place, the rounds marked
// absent (bit 0 is round 1) and the round of a late entry (0: none).
struct RequestedByes {
    int halfPoints = 0;
    std::uint64_t absentRounds = 0;
    int lateEntry = 0;
};

// One row of the players table, with its per-round entries and series. Per-round arrays are
// indexed by round index i = round number - 1.
struct Player {
    int id = 0;
    int startRank = 0;
    std::string surname;
    std::string firstName;
    std::string title;  // "GM", "WGM", "IM", "WIM", "FM", "WFM" or empty
    int intlRating = 0;
    int localRating = 0;
    std::string federation;
    std::string club;
    RequestedByes requestedByes;

    std::array<int, kMaxRounds> board{};
    std::array<int, kMaxRounds> opponent = filled(-1);
    std::array<int, kMaxRounds> colour = filled(-1);
    std::array<float, kMaxRounds> score{};
    std::array<float, kMaxRounds> gameTotal{};

    // Values after each round, set by the score computation.
    std::array<float, kMaxRounds> totalScore{};
    std::array<float, kMaxRounds> progressive{};
    std::array<float, kMaxRounds> buchholz{};
    std::array<float, kMaxRounds> medianBuchholz{};
    std::array<float, kMaxRounds> wins{};
    std::array<float, kMaxRounds> startRankKey{};  // -startRank, set at load

    // Series of tiebreaks 1 to 4; the fourth is always the start rank.
    std::array<Tiebreak, 4> tiebreaks = {Tiebreak::Progressive, Tiebreak::Buchholz,
                                         Tiebreak::MedianBuchholz, Tiebreak::StartRank};

    RoundEntry gameInRound(int i) const;
    // Last meeting with oppId within rounds 1 to n; score -1 when none (board and round
    // index then stay at 0).
    GameAgainst gameAgainst(int n, int oppId) const;
    // Points against oppId in the last meeting within rounds 1 to n, else -1.
    float scoreAgainst(int n, int oppId) const;
    float scoreInRound(int i) const { return score[static_cast<std::size_t>(i)]; }
    float totalAfter(int i) const { return totalScore[static_cast<std::size_t>(i)]; }
    // Value of tiebreak slot (1 to 4) after round index i.
    float tiebreak(int slot, int i) const;

    void addGame(int round, int colourOfPlayer, float points, int oppId, float total,
                 int boardNumber);
    void addUnpaired(int round, float points, float roundTotal);

private:
    static std::array<int, kMaxRounds> filled(int v) {
        std::array<int, kMaxRounds> a{};
        a.fill(v);
        return a;
    }
};

// One round of the games table: its boards in the order read, then its unpaired entries.
struct RoundRecord {
    int number = -1;  // the round number; -1 while the games table has no record for it
    int boardCount = 0;
    int highestGameTotal = 0;  // largest white + black points of a board so far, fraction dropped
    int unpairedCount = 0;
    std::array<int, kMaxBoards> white{};
    std::array<int, kMaxBoards> black{};
    std::array<float, kMaxBoards> whiteScore = filledScores<kMaxBoards>();  // -1: no result
    std::array<int, kMaxBoards> whiteType{};  // W_TYPE when above 33, else 0
    std::array<int, kMaxUnpaired> unpairedId{};
    std::array<float, kMaxUnpaired> unpairedScore = filledScores<kMaxUnpaired>();
    bool commenced = false;  // some board has a result

private:
    template <std::size_t N>
    static std::array<float, N> filledScores() {
        std::array<float, N> a{};
        a.fill(-1.0f);
        return a;
    }
};

// What a TRF file holds that the site shows otherwise than the file writes it, or not at all.
struct TrfNotes {
    bool teamRecords = false;     // team records were passed over
    int roundsBeyondLimit = 0;    // round entries after round 40 that hold something
    int oneSidedGames = 0;        // games that only one of the two players' lines shows
    int pointsMismatches = 0;     // players whose points column differs from their results
    std::vector<int> mismatchRanks;  // the first few of those players' start ranks, ascending
    int unmappedCharacters = 0;   // characters of names that Windows-1252 lacks, written "?"
};

// Rows of the tables that lie outside the model's bounds and were skipped, by kind.
struct SkippedRows {
    int roundOutOfRange = 0;      // games-table rows with a ROUND outside 1-40
    int boardsBeyondLimit = 0;    // pairings beyond the 200th of a round
    int unpairedBeyondLimit = 0;  // single-player entries beyond the 400th of a round
    int playersBeyondLimit = 0;   // players beyond the 400th
    int idOutOfRange = 0;         // players with an ID outside 0-399
    int startRankOutOfRange = 0;  // TRF player lines with a start rank outside 1-399
    TrfNotes trf;
};

// The loaded tournament of one generation run.
struct Tournament {
    std::vector<Player> players;  // in players-table order
    int playerCount = 0;
    std::array<RoundRecord, kMaxRounds> rounds{};
    int roundCount = 0;  // highest round number found in the games table
    SkippedRows skipped;
};

// Index in players of the player with this id (the last of several), or -1.
class PlayerIndex {
public:
    PlayerIndex() { m_index.fill(-1); }
    explicit PlayerIndex(const std::vector<Player>& players, int playerCount);
    int find(int id) const {
        return id >= 0 && id <= kMaxPlayerId ? m_index[static_cast<std::size_t>(id)] : -1;
    }

private:
    std::array<int, kMaxPlayerId + 1> m_index{};
};

// The names a tiebreak slot of the settings may hold, in the order of Tiebreak.
constexpr std::array<std::string_view, 5> kTiebreakNames = {"Sum Prog", "Buchholz", "MBuchholz",
                                                            "Num Wins", "Start Rank"};

// Tiebreak series named by a settings text (exact, case-sensitive), or fallback when the
// text names none.
Tiebreak tiebreakFromName(std::string_view name, Tiebreak fallback);

}  // namespace pairweb::data

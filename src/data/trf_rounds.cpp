#include "data/trf_rounds.h"

#include <algorithm>
#include <cmath>

namespace pairweb::data {
namespace {

// How many start ranks the warning about the points column names.
constexpr std::size_t kMismatchRanksShown = 5;

// One side of a game as its result code gives it.
struct Side {
    float points = 0;
    bool blank = true;  // no result written
    bool forfeitWin = false;
    bool forfeitLoss = false;
};

Side sideOf(char32_t code) {
    switch (code) {
        case U'1':
        case U'W':
            return {1, false};
        case U'=':
        case U'D':
            return {0.5f, false};
        case U'0':
        case U'L':
            return {0, false};
        case U'+':
            return {1, false, true, false};
        case U'-':
            return {0, false, false, true};
        default:
            break;
    }
    // Bye codes written beside an opponent score as they would without one; anything else
    // is no result.
    const std::optional<float> points = trfUnpairedPoints(code);
    return points ? Side{*points, false} : Side{};
}

// The opponent's side of a game that only one line shows: the other result.
Side mirrored(const Side& s) {
    if (s.blank) return s;
    return {1 - s.points, false, s.forfeitLoss, s.forfeitWin};
}

// Whether the first of two paired lines is white: when they give one white and one black;
// otherwise when its start rank is the lower.
bool firstIsWhite(char32_t first, char32_t second, bool firstIsLower) {
    if (first == U'w' && second == U'b') return true;
    if (first == U'b' && second == U'w') return false;
    return firstIsLower;
}

// A board to be: the two players' indexes and sides, and the keys of its place in the round.
struct Game {
    int white = 0;
    int black = 0;
    Side whiteSide;
    Side blackSide;
    bool blackTakesIt = true;  // false: the black player's own line holds another entry
    bool whiteTakesIt = true;
    float higher = 0;  // the higher of the two players' points before the round
    float sum = 0;
    int lowerRank = 0;
};

// Builds the rounds from the player lines; player i of t.players is lines[i].
class RoundBuilder {
  public:
    RoundBuilder(Tournament& t, const std::vector<TrfLine>& lines)
        : m_t(t), m_lines(lines), m_index(t.players, t.playerCount), m_before(lines.size(), 0.0f) {}

    void build() {
        for (int r = 1; r <= kMaxRounds; ++r) {
            if (!isRound(r)) continue;
            buildRound(r);
            m_t.roundCount = r;
            for (std::size_t i = 0; i < m_lines.size(); ++i) {
                m_before[i] += m_t.players[i].score[static_cast<std::size_t>(r - 1)];
            }
        }
    }

  private:
    const TrfEntry& entry(int i, int r) const {
        return m_lines[static_cast<std::size_t>(i)].rounds[static_cast<std::size_t>(r - 1)];
    }
    int rankOf(int i) const { return m_t.players[static_cast<std::size_t>(i)].startRank; }
    // Of several lines with one start rank, the last one holds that player's games.
    bool counts(int i) const { return m_index.find(rankOf(i)) == i; }

    // A round in which no one has an opponent and no one scored is not a round.
    bool isRound(int r) const {
        for (int i = 0; i < m_t.playerCount; ++i) {
            const TrfEntry& e = entry(i, r);
            if (counts(i) && (e.opponent != 0 || trfUnpairedPoints(e.code).value_or(0) > 0)) {
                return true;
            }
        }
        return false;
    }

    Game gameOf(int p, int o, const Side& ps, const Side& os, bool pWhite) const {
        Game g;
        g.white = pWhite ? p : o;
        g.black = pWhite ? o : p;
        g.whiteSide = pWhite ? ps : os;
        g.blackSide = pWhite ? os : ps;
        const float bp = m_before[static_cast<std::size_t>(p)];
        const float bo = m_before[static_cast<std::size_t>(o)];
        g.higher = std::max(bp, bo);
        g.sum = bp + bo;
        g.lowerRank = std::min(rankOf(p), rankOf(o));
        return g;
    }

    // The games of round r in board order; the entries they leave unpaired go to unpaired.
    std::vector<Game> gamesOf(int r, std::vector<int>& unpaired) {
        std::vector<Game> games;
        for (int p = 0; p < m_t.playerCount; ++p) {
            const TrfEntry& e = entry(p, r);
            if (!counts(p) || e.opponent == 0) continue;
            const int o = m_index.find(e.opponent);
            if (o < 0 || o == p) {  // no line of that opponent: the entry stands alone
                ++m_t.skipped.trf.oneSidedGames;
                unpaired.push_back(p);
                continue;
            }
            const TrfEntry& f = entry(o, r);
            const bool lowerWhite = rankOf(p) < rankOf(o);
            if (f.opponent == rankOf(p)) {
                if (p > o) continue;  // the pair is built once, from its first line
                games.push_back(gameOf(p, o, sideOf(e.code), sideOf(f.code),
                                       firstIsWhite(e.colour, f.colour, lowerWhite)));
                continue;
            }
            // Only p's line shows the game; it decides it. The opponent's record takes the
            // game only where the opponent's own line has nothing for the round.
            ++m_t.skipped.trf.oneSidedGames;
            const bool pWhite = e.colour == U'w' || (e.colour != U'b' && lowerWhite);
            const Side ps = sideOf(e.code);
            Game g = gameOf(p, o, ps, mirrored(ps), pWhite);
            (pWhite ? g.blackTakesIt : g.whiteTakesIt) = !trfHasEntry(f);
            games.push_back(g);
        }
        std::stable_sort(games.begin(), games.end(), [](const Game& a, const Game& b) {
            if (a.higher != b.higher) return a.higher > b.higher;
            if (a.sum != b.sum) return a.sum > b.sum;
            return a.lowerRank < b.lowerRank;
        });
        return games;
    }

    void addBoard(RoundRecord& round, int r, const Game& g) {
        if (round.boardCount >= kMaxBoards) {
            ++m_t.skipped.boardsBeyondLimit;
            return;
        }
        Player& white = m_t.players[static_cast<std::size_t>(g.white)];
        Player& black = m_t.players[static_cast<std::size_t>(g.black)];
        const auto b = static_cast<std::size_t>(round.boardCount);
        round.white[b] = white.id;
        round.black[b] = black.id;
        const Side& w = g.whiteSide;
        const Side& k = g.blackSide;
        if (w.forfeitWin && k.forfeitLoss) round.whiteType[b] = 35;
        if (w.forfeitLoss && k.forfeitWin) round.whiteType[b] = 34;
        if (w.forfeitLoss && k.forfeitLoss) round.whiteType[b] = 36;
        const float total = w.points + k.points;
        if (total > static_cast<float>(round.highestGameTotal)) {
            round.highestGameTotal = static_cast<int>(total);
        }
        // A written result is a result even when it gives no points (both forfeited).
        if (total > 0.4f || !w.blank || !k.blank) round.whiteScore[b] = w.points;
        const int board = round.boardCount + 1;
        if (g.whiteTakesIt) white.addGame(r, 1, w.points, black.id, total, board);
        if (g.blackTakesIt) black.addGame(r, 0, k.points, white.id, total, board);
        ++round.boardCount;
    }

    void addUnpaired(RoundRecord& round, int r, int i) {
        const std::optional<float> points = trfUnpairedPoints(entry(i, r).code);
        if (!points) return;
        if (round.unpairedCount >= kMaxUnpaired) {
            ++m_t.skipped.unpairedBeyondLimit;
            return;
        }
        Player& p = m_t.players[static_cast<std::size_t>(i)];
        const auto k = static_cast<std::size_t>(round.unpairedCount++);
        round.unpairedId[k] = p.id;
        round.unpairedScore[k] = *points;
        p.addUnpaired(r, *points, static_cast<float>(round.highestGameTotal));
    }

    void buildRound(int r) {
        RoundRecord& round = m_t.rounds[static_cast<std::size_t>(r - 1)];
        round.number = r;
        std::vector<int> unpaired;
        for (const Game& g : gamesOf(r, unpaired)) addBoard(round, r, g);
        for (int i = 0; i < m_t.playerCount; ++i) {
            if (counts(i) && entry(i, r).opponent == 0) unpaired.push_back(i);
        }
        std::stable_sort(unpaired.begin(), unpaired.end(),
                         [&](int a, int b) { return rankOf(a) < rankOf(b); });
        for (const int i : unpaired) addUnpaired(round, r, i);
    }

    Tournament& m_t;
    const std::vector<TrfLine>& m_lines;
    PlayerIndex m_index;
    std::vector<float> m_before;  // each player's points before the round being built
};

// Counts the players whose points column differs from their results.
void checkPointsColumns(Tournament& t, const std::vector<TrfLine>& lines) {
    TrfNotes& notes = t.skipped.trf;
    const PlayerIndex index(t.players, t.playerCount);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Player& p = t.players[i];
        if (!lines[i].points || index.find(p.id) != static_cast<int>(i)) continue;
        double total = 0;
        for (int r = 0; r < t.roundCount; ++r) total += p.score[static_cast<std::size_t>(r)];
        if (std::fabs(total - *lines[i].points) > 0.01) {
            ++notes.pointsMismatches;
            notes.mismatchRanks.push_back(p.startRank);
        }
    }
    std::sort(notes.mismatchRanks.begin(), notes.mismatchRanks.end());
    if (notes.mismatchRanks.size() > kMismatchRanksShown) {
        notes.mismatchRanks.resize(kMismatchRanksShown);
    }
}

}  // namespace

std::optional<float> trfUnpairedPoints(char32_t code) {
    switch (code) {
        case U'H':
        case U'=':
        case U'D':
            return 0.5f;
        case U'F':
        case U'U':
        case U'+':
        case U'1':
        case U'W':
            return 1.0f;
        case U'Z':
        case U'0':
        case U'L':
            return 0.0f;
        default:
            return std::nullopt;
    }
}

bool trfHasEntry(const TrfEntry& e) {
    return e.opponent != 0 || trfUnpairedPoints(e.code).has_value();
}

void buildTrfRounds(Tournament& t, const std::vector<TrfLine>& lines) {
    RoundBuilder(t, lines).build();
    checkPointsColumns(t, lines);
}

}  // namespace pairweb::data

#include "data/scoring.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pairweb::data {
namespace {

constexpr int kKeyCount = 5;

// Keys of the players to order, kKeyCount floats each, compared from the first.
struct KeyTable {
    std::vector<float> keys;
    std::vector<float> points;
    int width = kKeyCount;

    bool better(int a, int b) const {
        const float* ka = &keys[static_cast<std::size_t>(a * width)];
        const float* kb = &keys[static_cast<std::size_t>(b * width)];
        for (int k = 0; k < width; ++k) {
            if (ka[k] != kb[k]) return ka[k] > kb[k];
        }
        return false;
    }
};

// Each new entry is carried down from the top, changing places with every entry it beats;
// the displaced entry is carried on, and whatever is carried at the end goes to the bottom.
// The walk compares dense ranks (equal keys share one) instead of the keys themselves.
std::vector<RankedPlayer> insertionOrder(const KeyTable& table, int count) {
    std::vector<int> byKey(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) byKey[static_cast<std::size_t>(k)] = k;
    std::sort(byKey.begin(), byKey.end(),
              [&table](int a, int b) { return table.better(a, b); });
    std::vector<int> rank(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < byKey.size(); ++k) {
        const bool tied = k > 0 && !table.better(byKey[k - 1], byKey[k]);
        rank[static_cast<std::size_t>(byKey[k])] =
            tied ? rank[static_cast<std::size_t>(byKey[k - 1])] : static_cast<int>(k);
    }

    std::vector<int> list;  // player indices, best first
    list.reserve(static_cast<std::size_t>(count));
    for (int carried = 0; carried < count; ++carried) {
        int c = carried;
        int cRank = rank[static_cast<std::size_t>(c)];
        for (int& placed : list) {
            const int placedRank = rank[static_cast<std::size_t>(placed)];
            if (cRank < placedRank) {
                std::swap(c, placed);
                cRank = placedRank;
            }
        }
        list.push_back(c);
    }
    std::vector<RankedPlayer> result;
    result.reserve(list.size());
    for (const int index : list) {
        result.push_back({index, table.points[static_cast<std::size_t>(index)]});
    }
    return result;
}

int rankable(const std::vector<Player>& players, int playerCount) {
    return std::min({playerCount, static_cast<int>(players.size()), kMaxPlayers});
}

}  // namespace

void computeRunningTotals(Player& p, int r) {
    float total = 0;
    float progressive = 0;
    float wins = 0;
    for (int j = 0; j < r && j < kMaxRounds; ++j) {
        const auto jj = static_cast<std::size_t>(j);
        const float s = p.score[jj];
        total = j == 0 ? s : total + s;
        progressive = j == 0 ? s : progressive + total;
        if (p.opponent[jj] != -1 && s >= 1.0f) {
            wins += std::floor(s);
        }
        p.totalScore[jj] = total;
        p.progressive[jj] = progressive;
        p.wins[jj] = wins;
    }
}

void computeBuchholz(Player& p, int r, const std::vector<Player>& players,
                     const PlayerIndex& index) {
    if (r < 1 || r > kMaxRounds) {
        return;
    }
    const auto after = static_cast<std::size_t>(r - 1);
    float sum = 0;
    float high = 0;
    float low = 0;
    for (int j = 0; j < r; ++j) {
        const int opp = p.opponent[static_cast<std::size_t>(j)];
        const int at = opp == -1 ? -1 : index.find(opp);
        const float v = at < 0 ? 0.0f : players[static_cast<std::size_t>(at)].totalScore[after];
        sum += v;
        if (j == 0) {
            high = v;
            low = v;
        } else {
            high = v > high ? v : high;
            low = v < low ? v : low;
        }
    }
    p.buchholz[after] = sum;
    p.medianBuchholz[after] = r >= 3 ? sum - low - high : 0.0f;
}

void computeCommenced(RoundRecord& round) {
    round.commenced = false;
    for (int b = 0; b < round.boardCount; ++b) {
        const auto bb = static_cast<std::size_t>(b);
        if (round.whiteScore[bb] != -1.0f && round.white[bb] != 0 && round.black[bb] != 0) {
            round.commenced = true;
            return;
        }
    }
}

void computeTournament(Tournament& t) {
    const PlayerIndex index(t.players, t.playerCount);
    const int count = std::min(t.playerCount, static_cast<int>(t.players.size()));
    for (int r = 1; r <= t.roundCount && r <= kMaxRounds; ++r) {
        for (int i = 0; i < count; ++i) {
            computeRunningTotals(t.players[static_cast<std::size_t>(i)], r);
        }
        for (int i = 0; i < count; ++i) {
            computeBuchholz(t.players[static_cast<std::size_t>(i)], r, t.players, index);
        }
        computeCommenced(t.rounds[static_cast<std::size_t>(r - 1)]);
    }
}

std::vector<RankedPlayer> standingsOrder(const std::vector<Player>& players, int playerCount,
                                         int i) {
    const int n = rankable(players, playerCount);
    KeyTable table;
    table.keys.reserve(static_cast<std::size_t>(n * kKeyCount));
    table.points.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const Player& p = players[static_cast<std::size_t>(k)];
        const float points = p.totalAfter(i);
        table.points.push_back(points);
        table.keys.insert(table.keys.end(), {points, p.tiebreak(1, i), p.tiebreak(2, i),
                                             p.tiebreak(3, i), p.tiebreak(4, i)});
    }
    return insertionOrder(table, n);
}

std::vector<RankedPlayer> startRankOrder(const std::vector<Player>& players, int playerCount,
                                         int i) {
    const int n = rankable(players, playerCount);
    KeyTable table;
    table.width = 1;
    for (int k = 0; k < n; ++k) {
        const Player& p = players[static_cast<std::size_t>(k)];
        table.points.push_back(p.totalAfter(i));
        table.keys.push_back(p.tiebreak(4, i));
    }
    return insertionOrder(table, n);
}

}  // namespace pairweb::data

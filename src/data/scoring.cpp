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
//
// The list stays sorted by key, so the result is every group of equal keys in key order;
// only the order within a group needs the insertion. A new entry passes its own group and
// lands at the group's end. An entry of a better key displaces the first entry of every
// worse group, and each displaced first entry lands at the end of its own group: every
// worse group turns by one place. So a group's order is its members in table order, turned
// once for every better entry inserted while the group was not empty. Counting those with a
// Fenwick tree over the groups gives the same list as the walk in O(n log n).
std::vector<RankedPlayer> insertionOrder(const KeyTable& table, int count) {
    const auto n = static_cast<std::size_t>(count);
    std::vector<int> byKey(n);
    for (std::size_t k = 0; k < n; ++k) byKey[k] = static_cast<int>(k);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&table](int a, int b) { return table.better(a, b); });
    std::vector<std::size_t> group(n);  // 0 for the best key, counting up
    std::size_t groups = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0 && table.better(byKey[k - 1], byKey[k])) ++groups;
        group[static_cast<std::size_t>(byKey[k])] = groups;
    }
    if (n > 0) ++groups;

    std::vector<long> inserted(groups + 1, 0);  // Fenwick tree: entries inserted per group
    const auto insertedBefore = [&inserted](std::size_t g) {  // in groups 0 .. g-1
        long total = 0;
        for (std::size_t i = g; i > 0; i -= i & (~i + 1)) total += inserted[i];
        return total;
    };
    std::vector<std::vector<int>> members(groups);
    std::vector<long> betterSeen(groups, 0);
    const auto turn = [&](std::size_t g) {
        std::vector<int>& m = members[g];
        const long better = insertedBefore(g);
        if (!m.empty()) {
            const auto by = static_cast<std::size_t>((better - betterSeen[g]) %
                                                     static_cast<long>(m.size()));
            std::rotate(m.begin(), m.begin() + static_cast<std::ptrdiff_t>(by), m.end());
        }
        betterSeen[g] = better;
    };
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t g = group[k];
        turn(g);
        members[g].push_back(static_cast<int>(k));
        for (std::size_t i = g + 1; i <= groups; i += i & (~i + 1)) ++inserted[i];
    }

    std::vector<RankedPlayer> result;
    result.reserve(n);
    for (std::size_t g = 0; g < groups; ++g) {
        turn(g);
        for (const int index : members[g]) {
            result.push_back({index, table.points[static_cast<std::size_t>(index)]});
        }
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
    // The running totals after round j do not depend on later rounds, so computing them once
    // up to the last round gives every round's values that the Buchholz of round r reads.
    const int last = std::min(t.roundCount, kMaxRounds);
    for (int i = 0; i < count; ++i) {
        computeRunningTotals(t.players[static_cast<std::size_t>(i)], last);
    }
    for (int r = 1; r <= last; ++r) {
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

#include "data/scoring.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pairweb::data {
namespace {

constexpr int kKeyCount = 5;

struct Keyed {
    RankedPlayer entry;
    std::array<float, kKeyCount> key{};
    int keyCount = kKeyCount;
};

bool better(const Keyed& a, const Keyed& b) {
    for (int k = 0; k < a.keyCount; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        if (a.key[kk] > b.key[kk]) return true;
        if (a.key[kk] < b.key[kk]) return false;
    }
    return false;
}

// Each new entry is carried down from the top, changing places with every entry it beats;
// the displaced entry is carried on, and whatever is carried at the end goes to the bottom.
std::vector<RankedPlayer> insertionOrder(std::vector<Keyed> items) {
    std::vector<Keyed> list;
    list.reserve(items.size());
    for (Keyed& carried : items) {
        for (Keyed& placed : list) {
            if (better(carried, placed)) {
                std::swap(carried, placed);
            }
        }
        list.push_back(std::move(carried));
    }
    std::vector<RankedPlayer> result;
    result.reserve(list.size());
    for (const Keyed& k : list) {
        result.push_back(k.entry);
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
    std::vector<Keyed> items;
    const int n = rankable(players, playerCount);
    items.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const Player& p = players[static_cast<std::size_t>(k)];
        const float points = p.totalAfter(i);
        items.push_back({{k, points},
                         {points, p.tiebreak(1, i), p.tiebreak(2, i), p.tiebreak(3, i),
                          p.tiebreak(4, i)},
                         kKeyCount});
    }
    return insertionOrder(std::move(items));
}

std::vector<RankedPlayer> startRankOrder(const std::vector<Player>& players, int playerCount,
                                         int i) {
    std::vector<Keyed> items;
    const int n = rankable(players, playerCount);
    items.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const Player& p = players[static_cast<std::size_t>(k)];
        items.push_back({{k, p.totalAfter(i)}, {p.tiebreak(4, i)}, 1});
    }
    return insertionOrder(std::move(items));
}

}  // namespace pairweb::data

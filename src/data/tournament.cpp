#include "data/tournament.h"

namespace pairweb::data {

RoundEntry Player::gameInRound(int i) const {
    const auto r = static_cast<std::size_t>(i);
    return {score[r], opponent[r], colour[r], gameTotal[r], board[r]};
}

GameAgainst Player::gameAgainst(int n, int oppId) const {
    GameAgainst game;
    for (int j = 0; j < n && j < kMaxRounds; ++j) {
        const auto r = static_cast<std::size_t>(j);
        if (opponent[r] == oppId) {
            game = {score[r], colour[r], gameTotal[r], board[r], j};
        }
    }
    return game;
}

float Player::scoreAgainst(int n, int oppId) const { return gameAgainst(n, oppId).score; }

float Player::tiebreak(int slot, int i) const {
    const auto r = static_cast<std::size_t>(i);
    switch (tiebreaks[static_cast<std::size_t>(slot - 1)]) {
        case Tiebreak::Progressive:
            return progressive[r];
        case Tiebreak::Buchholz:
            return buchholz[r];
        case Tiebreak::MedianBuchholz:
            return medianBuchholz[r];
        case Tiebreak::Wins:
            return wins[r];
        case Tiebreak::StartRank:
            return startRankKey[r];
    }
    return 0;
}

void Player::addGame(int round, int colourOfPlayer, float points, int oppId, float total,
                     int boardNumber) {
    const auto r = static_cast<std::size_t>(round - 1);
    colour[r] = colourOfPlayer;
    score[r] = points;
    opponent[r] = oppId;
    gameTotal[r] = total;
    board[r] = boardNumber;
}

void Player::addUnpaired(int round, float points, float roundTotal) {
    const auto r = static_cast<std::size_t>(round - 1);
    colour[r] = 2;
    score[r] = points;
    gameTotal[r] = roundTotal;
}

PlayerIndex::PlayerIndex(const std::vector<Player>& players, int playerCount) {
    m_index.fill(-1);
    for (int i = 0; i < playerCount && i < static_cast<int>(players.size()); ++i) {
        const int id = players[static_cast<std::size_t>(i)].id;
        if (id >= 0 && id <= kMaxPlayerId) {
            m_index[static_cast<std::size_t>(id)] = i;
        }
    }
}

Tiebreak tiebreakFromName(std::string_view name, Tiebreak fallback) {
    for (std::size_t k = 0; k < kTiebreakNames.size(); ++k) {
        if (name == kTiebreakNames[k]) return static_cast<Tiebreak>(k);
    }
    return fallback;
}

}  // namespace pairweb::data

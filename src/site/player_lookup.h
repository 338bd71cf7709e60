#pragma once

#include <vector>

#include "data/tournament.h"

namespace pairweb::site {

// The player of an id for the pages: the last player carrying it, or a blank player (empty
// texts, numbers 0) when no loaded player does.
class PlayerLookup {
  public:
    PlayerLookup(const std::vector<data::Player>& players, int playerCount)
        : m_players(players), m_index(players, playerCount) {}

    const data::Player& byId(int id) const {
        const int at = m_index.find(id);
        return at < 0 ? blank() : m_players[static_cast<std::size_t>(at)];
    }
    // Index in players, or -1.
    int indexOf(int id) const { return m_index.find(id); }

    static const data::Player& blank() {
        static const data::Player kBlank;
        return kBlank;
    }

  private:
    const std::vector<data::Player>& m_players;
    data::PlayerIndex m_index;
};

}  // namespace pairweb::site

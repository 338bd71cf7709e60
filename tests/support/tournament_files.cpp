#include "support/tournament_files.h"

#include "support/dbf_writer.h"

namespace pairweb::testing {

bool writeTournament(const std::string& base, const std::vector<PlayerRow>& players,
                     const std::vector<GameRow>& games) {
    DbfWriter trn(playersColumns());
    for (const PlayerRow& p : players) {
        trn.addRecord({std::to_string(p.order), std::to_string(p.id), p.surname, p.firstName,
                       p.federation, p.club, std::to_string(p.intlRating),
                       std::to_string(p.localRating), p.title},
                      p.deleted);
    }
    DbfWriter sco(gamesColumns());
    for (const GameRow& g : games) {
        sco.addRecord({std::to_string(g.round), std::to_string(g.white), std::to_string(g.black),
                       std::to_string(g.whiteScore), std::to_string(g.blackScore),
                       std::to_string(g.whiteType), "0"},
                      g.deleted);
    }
    return trn.save(base + ".trn") && sco.save(base + ".sco");
}

std::vector<PlayerRow> numberedPlayers(int n) {
    std::vector<PlayerRow> rows;
    for (int k = 1; k <= n; ++k) {
        PlayerRow p;
        p.order = k;
        p.id = k;
        p.surname = "Player" + std::to_string(k);
        p.firstName = "P" + std::to_string(k);
        rows.push_back(p);
    }
    return rows;
}

}  // namespace pairweb::testing

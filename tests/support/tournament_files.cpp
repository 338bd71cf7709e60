#include "support/tournament_files.h"

#include <algorithm>

#include "support/dbf_writer.h"

namespace pairweb::testing {

bool writeTournament(const std::string& base, const std::vector<PlayerRow>& players,
                     const std::vector<GameRow>& games) {
    std::vector<DbfColumn> columns = playersColumns();
    const bool byes = std::any_of(players.begin(), players.end(), [](const PlayerRow& p) {
        return !p.bonus.empty() || !p.absent.empty() || !p.lateEntry.empty();
    });
    if (byes) {
        columns.push_back({"LATE_ENTRY", 'N', 2, 0});
        columns.push_back({"ABSENT", 'N', 16, 0});
        columns.push_back({"BONUS", 'N', 3, 0});
    }
    DbfWriter trn(columns);
    for (const PlayerRow& p : players) {
        std::vector<std::string> values = {std::to_string(p.order), std::to_string(p.id),
                                           p.surname, p.firstName, p.federation, p.club,
                                           std::to_string(p.intlRating),
                                           std::to_string(p.localRating), p.title};
        if (byes) {
            values.insert(values.end(), {p.lateEntry, p.absent, p.bonus});
        }
        trn.addRecord(values, p.deleted);
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

#include "data/loaders.h"
#include "data/scoring.h"

namespace pairweb::testing {

data::Tournament loadTournament(const std::string& base, const std::vector<PlayerRow>& players,
                                const std::vector<GameRow>& games) {
    data::Tournament t;
    if (!writeTournament(base, players, games)) {
        return t;
    }
    const int count = data::countTableRecords(base + ".trn");
    t.players.resize(static_cast<std::size_t>(std::max(count, 0)));
    t.playerCount = data::loadPlayers(base + ".trn", t.players,
                                      {"Sum Prog", "Buchholz", "MBuchholz"});
    t.roundCount = data::loadPairings(base + ".sco", t.rounds, t.players, t.playerCount);
    data::computeTournament(t);
    return t;
}

std::vector<PlayerRow> smallEventPlayers() {
    return {
        {1, 1, "Adams", "Mickey", "ENG", "Lewes", 2500, 2400, "1"},
        {2, 2, "Byrne", "Ann", "IRL", "Gonzaga", 2300, 2250, ""},
        {3, 3, "Cole", "Tom", "IRL", "", 0, 1800, ""},
        {4, 4, "Duffy", "Sue", "SCO", "Edinburgh", 1900, 0, "3"},
        {5, 5, "Egan", "Pat", "", "Cork", 0, 0, ""},
    };
}

std::vector<GameRow> smallEventGames() {
    return {
        // round, white, black, W_SCORE, B_SCORE, W_TYPE (scores in half points)
        {1, 1, 2, 2, 0, 0},  {1, 3, 4, 1, 1, 0},  {1, 5, 0, 2, 0, 0},
        {2, 4, 1, 0, 2, 34}, {2, 2, 5, 2, 0, 35}, {2, 0, 3, 0, 1, 0},
        {3, 5, 1, 2, 0, 352}, {3, 2, 3, 1, 1, 36},
        {4, 1, 4, 0, 0, 0},  {4, 2, 5, 0, 0, 0},  {4, 3, 0, 0, 0, 0},
    };
}

}  // namespace pairweb::testing

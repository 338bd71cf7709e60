// Writes the bundled sample tournaments into a folder: a Swiss open of 60 players over nine
// rounds (draws, forfeits, byes of one and half a point, withdrawals, the last round paired
// but not played) and a complete ten-player round-robin. Deterministic: the same files on
// every run. Usage: make_samples FOLDER
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "support/dbf_writer.h"

namespace {

using pairweb::testing::DbfColumn;
using pairweb::testing::DbfWriter;

// A small linear congruential generator, so the samples never depend on the library.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state;
};

struct Entrant {
    int id = 0;  // order of entry
    int order = 0;  // start rank, by rating
    std::string surname;
    std::string firstName;
    std::string federation;
    std::string club;
    int intlRating = 0;
    int localRating = 0;
    std::string title;
    // During the simulation:
    int points2 = 0;  // half points
    int whites = 0;
    int withdrawnAfter = 0;  // 0: plays on
    std::set<int> met;
};

struct Game {
    int round, white, black, whiteScore, blackScore, whiteType;
};

// Names are byte strings in Windows-1252, as the pairing program stores them.
const char* const kSurnames[] = {
    "Murphy", "Kelly", "O'Sullivan", "Walsh", "Smith", "O'Brien", "Byrne", "Ryan",
    "O'Connor", "O'Neill", "O'Reilly", "Doyle", "McCarthy", "Gallagher", "O'Doherty",
    "Kennedy", "Lynch", "Murray", "Quinn", "Moore", "McLoughlin", "O'Carroll", "Connolly",
    "Daly", "O'Connell", "Wilson", "Dunne", "Brennan", "Burke", "Collins", "Campbell",
    "Clarke", "Johnston", "Hughes", "Farrell", "Fitzgerald", "Brown", "Martin", "Maguire",
    "Nolan", "Flynn", "Thompson", "\xD3 Briain", "M\xFCller", "S\xF8rensen", "N\xFA\xF1\x65z",
    "Lef\xE8vre", "Gar\xE7on", "\xC5str\xF6m", "Dvo\xF8\xE1k", "Kov\xE1\x63s", "Sj\xF6" "berg",
    "Fern\xE1ndez", "Andr\xE9", "Hoffmann", "Rossi", "Costa", "Nagy", "Novak", "Horvat"};
const char* const kFirstNames[] = {
    "Se\xE1n", "Aoife", "Conor", "Niamh", "Ciar\xE1n", "Siobh\xE1n", "Liam", "Orla",
    "Darragh", "Emer", "P\xE1\x64raig", "Sin\xE9\x61\x64", "Eoin", "Gr\xE1inne", "Cathal",
    "Roisin", "Declan", "Fiona", "Brian", "Mair\xE9\x61\x64", "Kevin", "Clodagh", "Peter",
    "Anne", "J\xFCrgen", "Ren\xE9\x65", "Bj\xF6rn", "Jos\xE9", "Zo\xEB", "Fran\xE7ois"};
const char* const kFederations[] = {"IRL", "IRL", "IRL", "IRL", "ENG", "GER", "FRA",
                                    "ESP", "NOR", "POL", "ITA", "HUN"};
const char* const kClubs[] = {"Gonzaga", "Elm Mount", "Phibsboro", "Cork", "Limerick",
                              "Galway", "Bray", "Dublin University", "Curragh", "Kilkenny"};

std::vector<Entrant> makeEntrants(int count, std::uint32_t seed, int topRating) {
    Random random(seed);
    std::vector<Entrant> entrants;
    for (int k = 0; k < count; ++k) {
        Entrant e;
        e.id = k + 1;
        e.surname = kSurnames[(k * 7 + static_cast<int>(seed)) % 60];
        e.firstName = kFirstNames[random.below(30)];
        e.federation = kFederations[random.below(12)];
        e.club = kClubs[random.below(10)];
        e.localRating = std::max(0, topRating - random.below(1400));
        const bool unrated = e.localRating < 1800 && random.below(3) == 0;
        e.intlRating = unrated ? 0 : e.localRating + random.below(120) - 60;
        entrants.push_back(e);
    }
    // Start ranks follow the rating; the strongest get titles.
    std::vector<Entrant*> byRating;
    for (Entrant& e : entrants) byRating.push_back(&e);
    std::stable_sort(byRating.begin(), byRating.end(), [](const Entrant* a, const Entrant* b) {
        return a->localRating > b->localRating;
    });
    const char* const titles[] = {"1", "3", "5", "4", "5"};
    for (std::size_t k = 0; k < byRating.size(); ++k) {
        byRating[k]->order = static_cast<int>(k) + 1;
        if (k < 5 && count > 20) byRating[k]->title = titles[k];
    }
    return entrants;
}

// Result of a game in half points for white, from the rating difference.
int playGame(Random& random, const Entrant& white, const Entrant& black) {
    const int diff = white.localRating - black.localRating + 35;
    const int roll = random.below(1000);
    const int whiteWins = std::clamp(420 + diff, 60, 920);
    const int draws = 250;
    if (roll < whiteWins) return 2;
    if (roll < whiteWins + draws) return 1;
    return 0;
}

std::vector<Game> swissGames(std::vector<Entrant>& entrants, int rounds, int playedRounds,
                             std::uint32_t seed) {
    Random random(seed);
    std::vector<Game> games;
    // Byes of half a point asked for in advance: (round, entrant index).
    const std::vector<std::pair<int, int>> halfByes = {{2, 40}, {4, 12}, {4, 51}, {7, 33}};
    entrants[17].withdrawnAfter = 5;
    entrants[44].withdrawnAfter = 3;
    for (int r = 1; r <= rounds; ++r) {
        std::vector<Entrant*> pool;
        for (std::size_t k = 0; k < entrants.size(); ++k) {
            Entrant& e = entrants[k];
            if (e.withdrawnAfter != 0 && r > e.withdrawnAfter) continue;
            const bool halfBye = std::find(halfByes.begin(), halfByes.end(),
                                           std::make_pair(r, static_cast<int>(k))) !=
                                 halfByes.end();
            if (halfBye) {
                // Stored in the white column, with the half point.
                games.push_back({r, e.id, 0, r <= playedRounds ? 1 : 0, 0, 0});
                if (r <= playedRounds) e.points2 += 1;
                continue;
            }
            pool.push_back(&e);
        }
        std::stable_sort(pool.begin(), pool.end(), [](const Entrant* a, const Entrant* b) {
            return a->points2 != b->points2 ? a->points2 > b->points2 : a->order < b->order;
        });
        Entrant* byePlayer = nullptr;
        if (pool.size() % 2 == 1) {
            // The lowest player who has not had a bye yet.
            for (auto it = pool.rbegin(); it != pool.rend(); ++it) {
                if (!(*it)->met.count(0)) {
                    byePlayer = *it;
                    break;
                }
            }
            pool.erase(std::find(pool.begin(), pool.end(), byePlayer));
        }
        std::vector<bool> used(pool.size(), false);
        for (std::size_t a = 0; a < pool.size(); ++a) {
            if (used[a]) continue;
            std::size_t b = a + 1;
            while (b < pool.size() && (used[b] || pool[a]->met.count(pool[b]->id))) ++b;
            if (b == pool.size()) {
                b = a + 1;
                while (used[b]) ++b;
            }
            used[a] = used[b] = true;
            Entrant* white = pool[a];
            Entrant* black = pool[b];
            if (white->whites > black->whites) std::swap(white, black);
            white->whites++;
            white->met.insert(black->id);
            black->met.insert(white->id);
            if (r > playedRounds) {
                games.push_back({r, white->id, black->id, 0, 0, 0});
                continue;
            }
            int w = playGame(random, *white, *black);
            int type = 0;
            if (random.below(60) == 0) {
                // A forfeit: the absent player loses.
                w = random.below(2) == 0 ? 2 : 0;
                type = w == 2 ? 35 : 34;
            }
            games.push_back({r, white->id, black->id, w, 2 - w, type});
            white->points2 += w;
            black->points2 += 2 - w;
        }
        if (byePlayer != nullptr) {
            byePlayer->met.insert(0);
            // Full-point byes are stored in the black column: W_SCORE 0, B_SCORE 2.
            games.push_back({r, 0, byePlayer->id, 0, r <= playedRounds ? 2 : 0, 0});
            if (r <= playedRounds) byePlayer->points2 += 2;
        }
    }
    return games;
}

std::vector<Game> roundRobinGames(std::vector<Entrant>& entrants, std::uint32_t seed) {
    Random random(seed);
    std::vector<Game> games;
    const int n = static_cast<int>(entrants.size());
    std::vector<int> seats(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) seats[static_cast<std::size_t>(k)] = k;
    for (int r = 1; r < n; ++r) {
        for (int k = 0; k < n / 2; ++k) {
            Entrant* a = &entrants[static_cast<std::size_t>(seats[static_cast<std::size_t>(k)])];
            Entrant* b = &entrants[static_cast<std::size_t>(
                seats[static_cast<std::size_t>(n - 1 - k)])];
            if ((r + k) % 2 == 0) std::swap(a, b);
            const int w = playGame(random, *a, *b);
            games.push_back({r, a->id, b->id, w, 2 - w, 0});
        }
        std::rotate(seats.begin() + 1, seats.end() - 1, seats.end());
    }
    return games;
}

bool writeTables(const std::string& base, const std::vector<Entrant>& entrants,
                 const std::vector<Game>& games, bool withDeletedRow) {
    // The columns the pairing program writes, extra ones included.
    DbfWriter trn({{"ORDER", 'N', 5, 0},     {"ID", 'N', 5, 0},       {"START_NO", 'C', 5, 0},
                   {"SURNAME", 'C', 25, 0},  {"FIRSTNAME", 'C', 25, 0}, {"FEDER", 'C', 4, 0},
                   {"CLUB", 'C', 30, 0},     {"INTL_RTG", 'N', 4, 0},  {"LOC_RTG", 'N', 4, 0},
                   {"TITLE", 'C', 3, 0},     {"WITHDRAWAL", 'N', 2, 0}});
    if (withDeletedRow) {
        trn.addRecord({"0", "7", "", "Withdrawn", "Entry", "IRL", "", "0", "0", "", "0"}, true);
    }
    for (const Entrant& e : entrants) {
        trn.addRecord({std::to_string(e.order), std::to_string(e.id), "", e.surname,
                       e.firstName, e.federation, e.club, std::to_string(e.intlRating),
                       std::to_string(e.localRating), e.title,
                       std::to_string(e.withdrawnAfter)});
    }
    DbfWriter sco({{"ROUND", 'N', 3, 0},   {"WHITE", 'N', 5, 0},  {"BLACK", 'N', 5, 0},
                   {"W_SCORE", 'N', 3, 0}, {"B_SCORE", 'N', 3, 0}, {"W_TYPE", 'N', 2, 0},
                   {"B_TYPE", 'N', 2, 0}});
    for (const Game& g : games) {
        const int blackType = g.whiteType == 35 ? 34 : g.whiteType == 34 ? 35 : 0;
        sco.addRecord({std::to_string(g.round), std::to_string(g.white), std::to_string(g.black),
                       std::to_string(g.whiteScore), std::to_string(g.blackScore),
                       std::to_string(g.whiteType), std::to_string(blackType)});
    }
    return trn.save(base + ".trn") && sco.save(base + ".sco");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: make_samples FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<Entrant> open = makeEntrants(60, 2026, 2450);
    const std::vector<Game> openGames = swissGames(open, 9, 8, 12);
    std::vector<Entrant> rr = makeEntrants(10, 77, 2200);
    const std::vector<Game> rrGames = roundRobinGames(rr, 5);
    if (!writeTables(folder + "/swiss_open", open, openGames, true) ||
        !writeTables(folder + "/round_robin", rr, rrGames, false)) {
        std::cerr << "make_samples: cannot write into " << folder << "\n";
        return 1;
    }
    return 0;
}

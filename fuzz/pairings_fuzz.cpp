// Any bytes as a games table against 30 players with ids 1 to 30: load, compute every
// round and write the round pages and the crosstable in both layouts.
#include <iostream>

#include "data/loaders.h"
#include "data/scoring.h"
#include "fuzz_file.h"
#include "site/pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairweb;
    std::cerr.setstate(std::ios::failbit);
    const std::string path = writeFuzzInput("games.sco", data, size);
    data::Tournament t;
    t.players.resize(30);
    for (int k = 0; k < 30; ++k) {
        data::Player& p = t.players[static_cast<std::size_t>(k)];
        p.id = k + 1;
        p.startRank = 30 - k;
        p.startRankKey.fill(-static_cast<float>(p.startRank));
    }
    t.playerCount = 30;
    t.roundCount = data::loadPairings(path, t.rounds, t.players, t.playerCount);
    if (t.roundCount > data::kMaxRounds) __builtin_trap();
    if (t.roundCount >= 0) {
        data::computeTournament(t);
        site::PageOptions options;
        options.LinkPGN = options.DisplayTiebreaks = 1;
        const site::PgnHeader header;
        int last = 0;
        for (int r = 1; r <= t.roundCount; ++r) {
            const data::RoundRecord& round = t.rounds[static_cast<std::size_t>(r - 1)];
            if (round.commenced) last = r - 1;
            (void)site::pairingsPage(round, r, t.players, t.playerCount, r == t.roundCount,
                                     options, {}, "index.html");
            (void)site::standingsPage(t.players, t.playerCount, r - 1, false, options, {},
                                      "index.html");
            (void)site::pgnText(round, r, t.players, t.playerCount, header, 1);
        }
        (void)site::crosstablePage(t.players, t.playerCount, last, options, {}, "index.html");
        options.TourneyType = "Round-Robin";
        (void)site::crosstablePage(t.players, t.playerCount, last, options, {}, "index.html");
    }
    std::remove(path.c_str());
    return 0;
}

// Any bytes as a TRF file: read it and check the model's bounds; for fields of up to 60
// players, compute every round and write the player list, the round pages and the
// crosstable in both layouts.
#include <cstdint>

#include "data/scoring.h"
#include "data/trf_reader.h"
#include "site/pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairweb;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)data::trfTournamentNameOf(text);
    data::Tournament t;
    const data::TrfStatus status = data::readTrf(text, t, {"Num Wins", "Buchholz", "x"});
    if (t.playerCount < 0 || t.playerCount > data::kMaxPlayers ||
        t.playerCount != static_cast<int>(t.players.size()) || t.roundCount < 0 ||
        t.roundCount > data::kMaxRounds ||
        (status == data::TrfStatus::Loaded) != (t.playerCount > 0)) {
        __builtin_trap();
    }
    for (const data::RoundRecord& round : t.rounds) {
        if (round.boardCount > data::kMaxBoards || round.unpairedCount > data::kMaxUnpaired) {
            __builtin_trap();
        }
    }
    // Pages of large fields take most of a run's time; the reader is what is fuzzed here.
    if (status != data::TrfStatus::Loaded || t.playerCount > 60) return 0;
    data::computeTournament(t);
    site::PageOptions options;
    options.LinkPGN = options.DisplayTiebreaks = options.DisplayTitles = 1;
    const site::PgnHeader header;
    (void)site::playerListPage(t.players, t.playerCount, options, {}, "index.html");
    int last = 0;
    for (int r = 1; r <= t.roundCount; ++r) {
        const data::RoundRecord& round = t.rounds[static_cast<std::size_t>(r - 1)];
        if (round.commenced) last = r - 1;
        (void)site::pairingsPage(round, r, t.players, t.playerCount, r == t.roundCount, options, {},
                                 "index.html");
        (void)site::standingsPage(t.players, t.playerCount, r - 1, false, options, {},
                                  "index.html");
        (void)site::pgnText(round, r, t.players, t.playerCount, header, 1);
    }
    (void)site::crosstablePage(t.players, t.playerCount, last, options, {}, "index.html");
    options.TourneyType = "Round-Robin";
    (void)site::crosstablePage(t.players, t.playerCount, last, options, {}, "index.html");
    return 0;
}

// Any bytes as a players table: count, load, and write the player list from what loaded.
#include <iostream>

#include "data/loaders.h"
#include "fuzz_file.h"
#include "site/pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairweb;
    std::cerr.setstate(std::ios::failbit);
    const std::string path = writeFuzzInput("players.trn", data, size);
    const int count = data::countTableRecords(path);
    if (count >= 0) {
        std::vector<data::Player> players(static_cast<std::size_t>(count));
        const int loaded = data::loadPlayers(path, players, {"Num Wins", "Buchholz", "x"});
        if (loaded < 0 || loaded > count || loaded > data::kMaxPlayers) __builtin_trap();
        site::PageOptions options;
        options.DisplayTitles = options.DisplayRating = options.DisplayRating_2 = 1;
        (void)site::playerListPage(players, loaded, options, {}, "index.html");
    }
    std::remove(path.c_str());
    return 0;
}

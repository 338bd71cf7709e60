#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "phone_test_support.h"

namespace pairweb::site {
namespace {

// The size of a text gzipped as a web server sends it (deflate at its usual level 6).
std::size_t gzippedSize(std::string_view text) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return 0;
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    const std::size_t size = status == Z_STREAM_END ? z.total_out : 0;
    deflateEnd(&z);
    return size;
}

// 400 players with names of usual length (ids 0 to 399; id 0 is never paired, as the
// games table cannot name it), 40 rounds: 398 players paired every round, one bye, the last
// round without results.
data::Tournament fullSize(const std::string& base) {
    static const char* kSurnames[] = {"O'Sullivan", "Fitzgerald", "Nic Giolla Ph\xE1" "draig",
                                      "Kowalczyk", "Montgomery", "Vasquez-Ortega"};
    static const char* kFirstNames[] = {"Siobh\xE1n", "Alexander", "Mair\xE9" "ad", "Christopher"};
    std::vector<testing::PlayerRow> players;
    for (int k = 1; k <= 400; ++k) {
        players.push_back({k, k - 1, std::string(kSurnames[k % 6]) + std::to_string(k),
                           kFirstNames[k % 4], "IRL", "Club", 1200 + k * 3, 0, ""});
    }
    std::vector<testing::GameRow> games;
    constexpr int kPlaying = 399;  // ids 1 to 399
    for (int r = 1; r <= 40; ++r) {
        for (int k = 0; k + 1 < kPlaying; k += 2) {
            const int a = (k + r * 2) % kPlaying + 1;
            const int b = (k + 1 + r * 2) % kPlaying + 1;
            const int result = r == 40 ? -1 : (k + r) % 5 == 0 ? 1 : (k + r) % 2 == 0 ? 2 : 0;
            games.push_back({r, a, b, result < 0 ? 0 : result, result < 0 ? 0 : 2 - result, 0});
        }
        games.push_back({r, (kPlaying - 1 + r * 2) % kPlaying + 1, 0, 2, 0, 0});
    }
    return testing::loadTournament(base, players, games);
}

TEST(PhoneSizeTest, EveryPageAtFullSizeStaysSmallGzipped) {
    testing::TempDir dir;
    const data::Tournament t = fullSize(dir / "full");
    ASSERT_EQ(t.playerCount, 400);
    ASSERT_EQ(t.roundCount, 40);
    settings::Settings s = phoneSettings();
    s.DisplayTiebreaks = 1;
    const PhoneContext c =
        makePhoneContext(t, optionsFor(s), makePageLabels(s), s.TourneyName, "index.html");
    std::size_t largest = 0;
    std::string largestName;
    for (const PhoneFile& f : phoneSite(c, "https://club.example.org/", {})) {
        const std::size_t size = gzippedSize(f.content);
        ASSERT_GT(size, 0u) << f.name;
        EXPECT_LE(size, (f.name == "phone.js" ? 3u : 30u) * 1024u) << f.name;
        if (size > largest) {
            largest = size;
            largestName = f.name;
        }
    }
    std::cout << "largest phone page gzipped: " << largestName << " " << largest << " bytes\n";
}

}  // namespace
}  // namespace pairweb::site

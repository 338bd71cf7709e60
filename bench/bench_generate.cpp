// Generation at the model's limits: prints, per tournament size, the median time of a whole
// run (every page, PGN files and viewer links, all display options), the bytes and files
// written, the peak resident memory, and the ratio of the run's time to the floor: writing
// the same bytes into the same number of files, one buffered write each. The same run without
// its writes, per byte written, shows how the generation's own work grows with its output.
// At full size it also prints the run's time with and without the phone pages.
// Usage: bench_generate [RUNS | profile | bigtable]
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "data/dbf_table.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "site/driver.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The real system, except that files are not written: what a run costs before its writes.
class NoWritePlatform : public pairweb::platform::SystemPlatform {
public:
    bool writeFile(const std::string&, std::string_view) override { return true; }
    pairweb::platform::CreateResult createFile(const std::string&, std::string_view) override {
        return pairweb::platform::CreateResult::Created;
    }
};

struct Size {
    int players;
    int rounds;
};

// Every player plays every round; in odd rounds the last two players have byes instead.
std::vector<pairweb::testing::GameRow> makeGames(int players, int rounds) {
    std::vector<pairweb::testing::GameRow> games;
    for (int r = 1; r <= rounds; ++r) {
        const int paired = r % 2 == 1 && players > 2 ? players - 2 : players;
        for (int k = 0; k + 1 < paired; k += 2) {
            const int a = (k + r * 2) % paired + 1;
            const int b = (k + 1 + r * 2) % paired + 1;
            const int result = (k + r) % 5 == 0 ? 1 : (k + r) % 2 == 0 ? 2 : 0;
            games.push_back({r, r % 2 ? a : b, r % 2 ? b : a, result, 2 - result, 0});
        }
        for (int k = paired; k < players; ++k) {
            games.push_back({r, k + 1, 0, 2, 0, 0});
        }
    }
    return games;
}

double medianMs(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// What a run wrote: each file's name and size. The floor writes as many bytes of its own,
// so the benchmark does not hold a second copy of the site in memory.
struct Written {
    std::uintmax_t bytes = 0;
    std::uintmax_t largest = 0;
    std::vector<std::pair<std::string, std::uintmax_t>> files;  // relative name, size
};

Written collect(const fs::path& folder) {
    Written w;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file()) continue;
        w.files.emplace_back(fs::relative(e.path(), folder).string(), e.file_size());
        w.bytes += e.file_size();
        w.largest = std::max(w.largest, e.file_size());
    }
    return w;
}

// The same number of bytes into the same files, one buffered write each.
double floorMs(const Written& w, const fs::path& folder) {
    const std::string bytes(static_cast<std::size_t>(w.largest), 'x');
    fs::remove_all(folder);
    fs::create_directories(folder / "pgn");
    fs::create_directories(folder / "m");
    sync();  // both measurements start with nothing left to write back
    const auto start = Clock::now();
    for (const auto& [name, size] : w.files) {
        std::FILE* f = std::fopen((folder / name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, static_cast<std::size_t>(size), f);
        std::fclose(f);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// "bigtable": one run on the largest players table accepted (16 MiB), all of it one-byte
// records, in a process of its own so that the peak memory is this run's alone.
int bigTable() {
    pairweb::testing::TempDir dir;
    const auto records = static_cast<std::uint32_t>(pairweb::data::DbfTable::kMaxFileBytes - 33);
    std::string table(32, '\0');
    table[0] = 3;
    for (int i = 0; i < 4; ++i) table[4 + static_cast<std::size_t>(i)] = static_cast<char>(records >> (8 * i));
    table[8] = 33;
    table[10] = 1;
    table += '\r';
    {
        // Written in slices, so that the peak below is the run's own.
        std::ofstream file(dir / "big.trn", std::ios::binary);
        file << table;
        const std::string slice(1 << 16, ' ');
        for (std::uint32_t left = records; left > 0;) {
            const auto n = std::min<std::uint32_t>(left, static_cast<std::uint32_t>(slice.size()));
            file.write(slice.data(), n);
            left -= n;
        }
    }
    if (!pairweb::testing::writeTournament(dir / "games", pairweb::testing::numberedPlayers(2),
                                           makeGames(2, 1))) {
        return 1;
    }
    fs::copy_file(dir / "games.sco", dir / "big.sco");
    fs::create_directories(dir / "site");
    pairweb::settings::Settings s;
    s.strFilename = dir / "big.trn";
    s.OutputIndex = dir / "site/index.html";
    pairweb::platform::SystemPlatform platform;
    const auto start = Clock::now();
    const std::string message = pairweb::site::generateSite(s, platform).message;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("16 MiB players table of %u one-byte records: %s %.1f ms, peak %.1f MiB\n",
                records, message.c_str(), ms, peakKiB() / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "bigtable") {
        return bigTable();
    }
    // "profile": one run at full size without writes, for valgrind --tool=callgrind.
    const bool profile = argc > 1 && std::string(argv[1]) == "profile";
    const int runs = profile ? 1 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    pairweb::testing::TempDir dir;
    pairweb::platform::SystemPlatform platform;
    NoWritePlatform noWrites;
    const Size sizes[] = {{25, 5}, {100, 11}, {200, 20}, {400, 40}};
    std::printf("%8s %7s %10s %11s %9s %10s %7s %10s %7s %9s\n", "players", "rounds",
                "median ms", "no-write ms", "ns/byte", "bytes", "files", "floor ms", "ratio",
                "peak MiB");
    double fullMs = 0, fullRatio = 0;
    double fullPhoneMs = 0, fullClassicMs = 0, fullPhoneComputeMs = 0, fullClassicComputeMs = 0;
    std::uintmax_t fullBytes = 0;
    for (const Size& size : sizes) {
        if (profile && size.players != 400) continue;
        const std::string base = dir / ("t" + std::to_string(size.players));
        if (!pairweb::testing::writeTournament(base, pairweb::testing::numberedPlayers(size.players),
                                               makeGames(size.players, size.rounds))) {
            std::cerr << "cannot write the tournament\n";
            return 1;
        }
        pairweb::settings::Settings s;
        s.strFilename = base + ".trn";
        s.OutputIndex = dir / "site/index.html";
        s.TourneyName = "Benchmark";
        s.MakePGN = s.LinkPGN = s.DisplayTiebreaks = 1;
        s.DisplayRating = s.DisplayRating_2 = s.DisplaySeed = s.DisplayTitles = 1;
        s.DisplayFed = s.DisplayClub = 1;
        if (profile) {
            fs::create_directories(dir / "site");
            std::printf("%s\n", pairweb::site::generateSite(s, noWrites).message.c_str());
            return 0;
        }
        std::vector<double> times;
        std::vector<double> computes;
        std::vector<double> floors;
        Written written;
        for (int run = 0; run < runs; ++run) {
            fs::remove_all(dir / "site");
            fs::create_directories(dir / "site");
            sync();
            const auto start = Clock::now();
            const std::string message = pairweb::site::generateSite(s, platform).message;
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (message != pairweb::site::kGenerated) {
                std::cerr << message << "\n";
                return 1;
            }
            if (run == 0) written = collect(dir / "site");
            const auto computeStart = Clock::now();
            (void)pairweb::site::generateSite(s, noWrites);
            computes.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - computeStart).count());
            floors.push_back(floorMs(written, dir / "floor"));
        }
        // At full size, runs with and without the phone pages in turn, with their writes and
        // without.
        if (size.players == 400) {
            std::vector<double> phone[2], phoneCompute[2];
            for (int run = 0; run < 2 * runs; ++run) {
                s.PhonePages = run % 2;
                fs::remove_all(dir / "site");
                fs::create_directories(dir / "site");
                sync();
                const auto start = Clock::now();
                (void)pairweb::site::generateSite(s, platform);
                phone[run % 2].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                const auto computeStart = Clock::now();
                (void)pairweb::site::generateSite(s, noWrites);
                phoneCompute[run % 2].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - computeStart).count());
            }
            s.PhonePages = 1;
            fullPhoneMs = medianMs(phone[1]);
            fullClassicMs = medianMs(phone[0]);
            fullPhoneComputeMs = medianMs(phoneCompute[1]);
            fullClassicComputeMs = medianMs(phoneCompute[0]);
        }
        const double ms = medianMs(times);
        const double floor = medianMs(floors);
        const double ratio = ms / floor;
        const double compute = medianMs(computes);
        std::printf("%8d %7d %10.2f %11.2f %9.2f %10ju %7zu %10.2f %7.2f %9.1f\n", size.players,
                    size.rounds, ms, compute, compute * 1e6 / static_cast<double>(written.bytes),
                    written.bytes, written.files.size(), floor, ratio, peakKiB() / 1024.0);
        fullMs = ms;
        fullRatio = ratio;
        fullBytes = written.bytes;
    }
    std::printf("full-size: %.1f ms, %.2f MB, ratio-to-floor %.2f, peak %.1f MiB\n", fullMs,
                static_cast<double>(fullBytes) / 1e6, fullRatio, peakKiB() / 1024.0);
    std::printf("full-size with phone pages %.1f ms, without %.1f ms: phone pages add %.0f%%; "
                "without writes %.1f ms and %.1f ms: %.0f%%\n",
                fullPhoneMs, fullClassicMs, 100.0 * (fullPhoneMs - fullClassicMs) / fullClassicMs,
                fullPhoneComputeMs, fullClassicComputeMs,
                100.0 * (fullPhoneComputeMs - fullClassicComputeMs) / fullClassicComputeMs);
    return 0;
}

// Publishing at full size (400 players, 40 rounds, PGN files and phone pages) to vsftpd with
// FTP over TLS on loopback: the first publish, then one after one round's result changed.
// Prints files and bytes sent against files and bytes changed, and the seconds taken.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

#include "platform/platform.h"
#include "publish/publisher.h"
#include "publish/site_files.h"
#include "site/driver.h"
#include "support/servers.h"
#include "support/tournament_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPlayers = 400;
constexpr int kRounds = 40;

std::vector<pairweb::testing::GameRow> games(int changedResultOfRound) {
    std::vector<pairweb::testing::GameRow> rows;
    for (int r = 1; r <= kRounds; ++r) {
        for (int k = 0; k + 1 < kPlayers; k += 2) {
            const int a = (k + r * 2) % kPlayers + 1;
            const int b = (k + 1 + r * 2) % kPlayers + 1;
            int result = (k + r) % 5 == 0 ? 1 : (k + r) % 2 == 0 ? 2 : 0;
            if (r == changedResultOfRound && k == 0) result = 2 - result;
            rows.push_back({r, r % 2 ? a : b, r % 2 ? b : a, result, 2 - result, 0});
        }
    }
    return rows;
}

// Path to SHA-256 of every file of the site.
std::map<std::string, std::string> digests(const std::string& folder) {
    std::string problem;
    std::map<std::string, std::string> out;
    const auto files = pairweb::publish::listSiteFiles(folder, problem);
    for (const auto& file : files.value_or(std::vector<pairweb::publish::SiteFile>{})) {
        out[file.path] = file.state.sha256;
    }
    return out;
}

}  // namespace

int main() {
    pairweb::testing::TempDir dir;
    fs::create_directories(dir / "site");
    pairweb::settings::Settings s;
    s.strFilename = dir / "event.trn";
    s.OutputIndex = dir / "site/index.html";
    s.MakePGN = s.LinkPGN = 1;
    pairweb::platform::SystemPlatform platform;
    const auto generate = [&](int changedRound) {
        return pairweb::testing::writeTournament(dir / "event",
                                                 pairweb::testing::numberedPlayers(kPlayers),
                                                 games(changedRound)) &&
               pairweb::site::generateSite(s, platform).ok();
    };
    if (!generate(0)) {
        std::fprintf(stderr, "the site could not be generated\n");
        return 1;
    }
    pairweb::testing::VsftpServer server;
    if (!server.start()) {
        std::fprintf(stderr, "vsftpd did not start: %s\n", server.log().c_str());
        return 1;
    }
    s.PublishUrl = server.url();
    s.PublishCaFile = server.certificateFile();
    pairweb::publish::Credentials credentials;
    credentials.password = "bench";
    credentials.caFile = s.PublishCaFile;

    std::printf("%-22s %8s %10s %8s %10s %8s\n", "publish", "files", "KB sent", "changed",
                "KB changed", "seconds");
    const auto publish = [&](const char* what, const std::map<std::string, std::string>& before) {
        const auto after = digests(dir / "site/");
        int changed = 0;
        std::uint64_t changedBytes = 0;
        for (const auto& [path, digest] : after) {
            const auto was = before.find(path);
            if (was == before.end() || was->second != digest) {
                ++changed;
                changedBytes += fs::file_size(fs::path(dir / "site") / path);
            }
        }
        const auto start = Clock::now();
        const pairweb::publish::PublishResult r = pairweb::publish::publishSite(s, credentials, {});
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!r.ok()) {
            std::printf("%s\n", r.message.c_str());
            return false;
        }
        std::printf("%-22s %8d %10llu %8d %10llu %8.2f\n", what, r.sent,
                    static_cast<unsigned long long>(r.bytes / 1024), changed,
                    static_cast<unsigned long long>(changedBytes / 1024), seconds);
        return true;
    };
    if (!publish("first (everything)", {})) return 1;
    const auto published = digests(dir / "site/");
    if (!generate(kRounds - 1)) return 1;
    if (!publish("one result of round 39", published)) return 1;
    return 0;
}

#include "cli/gen_command.h"

#include <charconv>
#include <ctime>

#include "cli/publish_command.h"
#include "cli/watch.h"
#include "data/table_check.h"
#include "data/trf_reader.h"
#include "platform/password_hash.h"
#include "qr/qr_encoder.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "site/admin_password.h"
#include "site/driver.h"

namespace pairweb::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: pairweb-gen SETTINGS_FILE\n"
    "       pairweb-gen --watch SETTINGS_FILE\n"
    "       pairweb-gen [--watch] [--dry-run] --publish|--publish-all SETTINGS_FILE\n"
    "       pairweb-gen --admin-password SETTINGS_FILE\n"
    "\n"
    "Builds the tournament web site that SETTINGS_FILE describes (a settings file saved by\n"
    "the pairweb app: strFilename names the .trn table, OutputIndex the home page file).\n"
    "Starts from the default settings, applies the file, generates every page and prints\n"
    "the run's message.\n"
    "\n"
    "Exit status: 0 when the site was generated (and published), 1 when the run ended\n"
    "with an error message, 2 for a usage error or a settings file that cannot be read, 3\n"
    "when the site was generated but not published.\n"
    "SOURCE_DATE_EPOCH, when set, is the generation time shown on the pages.\n"
    "\n"
    "Refused: tables larger than 16 MiB, settings files larger than 1 MiB, and a file name\n"
    "prefix holding \"/\", \"\\\" or a NUL byte. Table rows outside the program's bounds\n"
    "(rounds 1-40, 200 boards and 400 byes a round, 400 players, ids 0-399) are skipped\n"
    "with one warning line per kind on standard error.\n"
    "\n"
    "A strFilename ending in .trf is read as a FIDE TRF file, as any pairing program\n"
    "exports it; what the site shows otherwise than the file writes it gets a warning line.\n"
    "\n"
    "--watch: generates once, then again whenever the settings file or the .trn or .sco\n"
    "table it names changes (after they have been quiet for half a second), printing the\n"
    "time and the message of each run. A table caught while it is being written gives an\n"
    "error line; the next change brings a good run. Ctrl-C ends it.\n"
    "\n"
    "--publish: after generating, uploads the files that changed since the last publish to\n"
    "PublishUrl (ftp:// is FTP with TLS; plain FTP only with PublishPlainFtp [1]; sftp://),\n"
    "each through a temporary name, the home page last. The password comes from\n"
    "PAIRWEB_PUBLISH_PASSWORD or the netrc file. The round PGN files and viewer pages are\n"
    "sent only when the server lacks them (game entry edits them there). --publish-all\n"
    "sends every file but those; --dry-run lists what would be sent and sends nothing. With\n"
    "--watch, every good run is published; a failed publish is tried again after 30 s,\n"
    "60 s, then every 5 minutes.\n"
    "\n"
    "--admin-password: reads a new password for the site's game-entry pages (admin.php)\n"
    "from standard input, one line, not shown when typed at a terminal, at least 8\n"
    "characters, and writes its salted hash into the site's pgn folder as\n"
    "admin_password.php. Generating the site never writes, replaces or removes that file.\n";

// The real system, with the generation time fixed when SOURCE_DATE_EPOCH asks for it.
class GenPlatform : public platform::SystemPlatform {
  public:
    explicit GenPlatform(std::optional<std::time_t> fixedTime) : m_fixedTime(fixedTime) {}
    std::time_t now() const override { return m_fixedTime ? *m_fixedTime : SystemPlatform::now(); }

  private:
    std::optional<std::time_t> m_fixedTime;
};

std::optional<std::time_t> parseEpoch(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || value < 0) {
        return std::nullopt;
    }
    return static_cast<std::time_t>(value);
}

// Reads the settings file into fresh defaults; the message on failure, empty on success.
std::string loadSettings(const std::string& path, settings::Settings& s,
                         const platform::Platform& platform) {
    const settings::SettingsResult result = settings::readSettingsFile(path, s, platform);
    switch (result.outcome) {
        case settings::SettingsOutcome::Loaded:
        case settings::SettingsOutcome::Saved:
            return {};
        case settings::SettingsOutcome::Missing:
            return "pairweb-gen: " + path + ": " + result.message;
        case settings::SettingsOutcome::Unreadable:
        case settings::SettingsOutcome::NotSaved:
            break;
    }
    return "pairweb-gen: " + path + ": the settings file cannot be read";
}

// One warning line for each thing a TRF file holds that the site shows otherwise.
void reportTrfNotes(const data::TrfNotes& notes, std::ostream& err) {
    if (notes.teamRecords) {
        err << "warning: team records were ignored; the players are read as an individual "
               "event\n";
    }
    if (notes.roundsBeyondLimit > 0) {
        err << "warning: " << notes.roundsBeyondLimit
            << " round entries after round 40 were skipped\n";
    }
    if (notes.oneSidedGames > 0) {
        err << "warning: " << notes.oneSidedGames
            << " games are shown in one player's line only; that line decided them\n";
    }
    if (notes.pointsMismatches > 0) {
        err << "warning: " << notes.pointsMismatches
            << " players' points column differs from their results (start rank";
        const char* separator = notes.mismatchRanks.size() > 1 ? "s " : " ";
        for (const int rank : notes.mismatchRanks) {
            err << separator << rank;
            separator = ", ";
        }
        const bool more = notes.pointsMismatches > static_cast<int>(notes.mismatchRanks.size());
        err << (more ? ", ...); " : "); ") << "the results are published\n";
    }
    if (notes.unmappedCharacters > 0) {
        err << "warning: " << notes.unmappedCharacters
            << " characters of names that Windows-1252 lacks are shown as \"?\"\n";
    }
}

// One warning line per kind of skipped row.
void reportSkipped(const data::SkippedRows& skipped, std::ostream& err) {
    const std::pair<int, std::string_view> kinds[] = {
        {skipped.roundOutOfRange, "games-table rows with a round outside 1-40"},
        {skipped.boardsBeyondLimit, "pairings beyond the 200th board of a round"},
        {skipped.unpairedBeyondLimit, "unpaired entries beyond the 400th of a round"},
        {skipped.playersBeyondLimit, "players beyond the 400th"},
        {skipped.idOutOfRange, "players with an id outside 0-399"},
        {skipped.startRankOutOfRange, "players with a start rank outside 1-399"},
    };
    for (const auto& [count, what] : kinds) {
        if (count > 0) {
            err << "warning: " << count << " " << what << " were skipped\n";
        }
    }
    reportTrfNotes(skipped.trf, err);
    err << std::flush;
}

// The files whose changes start a run in watch mode: the settings file and its tables.
std::vector<std::string> watchedFiles(const std::string& settingsFile, const settings::Settings& s,
                                      const platform::Platform& platform) {
    if (data::isTrfPath(s.strFilename)) {
        return {settingsFile, s.strFilename};
    }
    return {settingsFile, s.strFilename,
            site::derivePaths(s, platform.programPath(), platform.separator()).scoFile};
}

// The dBASE tables among the watched files, whose completeness a run waits for; a TRF file
// announces no record count to wait for.
std::vector<std::string> tablesToCheck(const std::vector<std::string>& watched) {
    std::vector<std::string> tables;
    for (std::size_t k = 1; k < watched.size(); ++k) {
        if (!data::isTrfPath(watched[k])) tables.push_back(watched[k]);
    }
    return tables;
}

// What the arguments ask for: options first, then the settings file.
struct Request {
    bool watch = false;
    bool password = false;
    bool publish = false;
    PublishRequest publishing;
    std::string file;
};

std::optional<Request> parseArguments(const std::vector<std::string>& args) {
    Request r;
    if (args.empty()) return std::nullopt;
    for (std::size_t k = 0; k + 1 < args.size(); ++k) {
        const std::string& option = args[k];
        if (option == "--watch") {
            r.watch = true;
        } else if (option == "--admin-password") {
            r.password = true;
        } else if (option == "--publish") {
            r.publish = true;
        } else if (option == "--publish-all") {
            r.publish = r.publishing.everything = true;
        } else if (option == "--dry-run") {
            r.publishing.dryRun = true;
        } else {
            return std::nullopt;
        }
    }
    r.file = args.back();
    const bool alone = args.size() == 2;
    if (r.file.empty() || r.file[0] == '-' || (r.password && !alone) ||
        (r.publishing.dryRun && (!r.publish || r.watch)) ||
        (r.watch && args.size() > 2 && !r.publish)) {
        return std::nullopt;
    }
    return r;
}

}  // namespace

int runGenCommand(const std::vector<std::string>& args,
                  const std::optional<std::string>& sourceDateEpoch, std::ostream& out,
                  std::ostream& err, const std::atomic<bool>& stop,
                  const ReadPassword& readPassword) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return kExitGenerated;
    }
    const std::optional<Request> request = parseArguments(args);
    if (!request) {
        err << kUsage;
        return kExitUsage;
    }
    const bool watch = request->watch;
    const bool password = request->password;
    const std::string& file = request->file;
    std::optional<std::time_t> fixedTime;
    if (sourceDateEpoch) {
        fixedTime = parseEpoch(*sourceDateEpoch);
        if (!fixedTime) {
            err << "pairweb-gen: SOURCE_DATE_EPOCH must be a whole number of seconds, not \""
                << *sourceDateEpoch << "\"\n";
            return kExitUsage;
        }
    }
    GenPlatform platform(fixedTime);
    settings::Settings s;
    if (const std::string problem = loadSettings(file, s, platform); !problem.empty()) {
        err << problem << "\n";
        return kExitUsage;
    }
    if (password) {
        const std::optional<std::string> typed =
            readPassword ? readPassword() : platform::readSecretLine("New admin password: ");
        if (!typed) {
            err << "pairweb-gen: no password was given on standard input\n";
            return kExitUsage;
        }
        const site::PasswordResult result =
            site::setAdminPassword(s, *typed, platform::hashPassword, platform);
        out << result.message << "\n";
        return result.ok() ? kExitGenerated : kExitRunFailed;
    }
    if (!watch) {
        data::SkippedRows skipped;
        const site::RunResult result = site::generateSite(s, platform, &skipped, qr::encodeQr);
        reportSkipped(skipped, err);
        out << result.message << "\n";
        if (!result.ok()) return kExitRunFailed;
        if (!request->publish) return kExitGenerated;
        const PublishReport published = publishGenerated(s, request->publishing);
        for (const std::string& path : published.planned) out << "  " << path << "\n";
        out << published.message << "\n";
        return published.ok ? kExitGenerated : kExitNotPublished;
    }

    platform::FileWatcher watcher(watchedFiles(file, s, platform));
    int failedPublishes = 0;  // in a row, for the time until the next try
    const auto runOnce = [&]() -> WatchRun {
        // The settings are read again for every run, so edits to them take effect, and the
        // tables they name now are the ones watched and checked.
        settings::Settings current;
        if (std::string problem = loadSettings(file, current, platform); !problem.empty()) {
            return {problem, 0};
        }
        const std::vector<std::string> files = watchedFiles(file, current, platform);
        watcher.watch(files);
        for (const std::string& table : tablesToCheck(files)) {
            if (platform.exists(table) && !data::tableIsComplete(table, platform)) {
                return {"Error: " + table + " is incomplete (still being written?)", 0};
            }
        }
        data::SkippedRows skipped;
        site::RunResult result = site::generateSite(current, platform, &skipped, qr::encodeQr);
        reportSkipped(skipped, err);
        if (!result.ok() || !request->publish) return {std::move(result.message), 0};
        const PublishReport published = publishGenerated(current, request->publishing);
        if (published.ok) {
            failedPublishes = 0;
            return {result.message + "; " + published.brief, 0};
        }
        // A publish that failed is tried again, even when nothing changes: after 30 s,
        // then 60 s, then every five minutes.
        ++failedPublishes;
        const int retry = failedPublishes == 1 ? 30 : failedPublishes == 2 ? 60 : 300;
        return {result.message + "; " + published.brief + "; retrying in " +
                    std::to_string(retry) + " s",
                retry};
    };
    return runWatch(runOnce, watcher, stop, out);
}

}  // namespace pairweb::cli

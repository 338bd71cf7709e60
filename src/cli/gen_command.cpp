#include "cli/gen_command.h"

#include <charconv>
#include <ctime>

#include "cli/watch.h"
#include "data/table_check.h"
#include "platform/password_hash.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "site/admin_password.h"
#include "site/driver.h"

namespace pairweb::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: pairweb-gen SETTINGS_FILE\n"
    "       pairweb-gen --watch SETTINGS_FILE\n"
    "       pairweb-gen --admin-password SETTINGS_FILE\n"
    "\n"
    "Builds the tournament web site that SETTINGS_FILE describes (a settings file saved by\n"
    "the pairweb app: strFilename names the .trn table, OutputIndex the home page file).\n"
    "Starts from the default settings, applies the file, generates every page and prints\n"
    "the run's message.\n"
    "\n"
    "Exit status: 0 when the site was generated, 1 when the run ended with an error\n"
    "message, 2 for a usage error or a settings file that cannot be read.\n"
    "SOURCE_DATE_EPOCH, when set, is the generation time shown on the pages.\n"
    "\n"
    "Refused: tables larger than 16 MiB, settings files larger than 1 MiB, and a file name\n"
    "prefix holding \"/\", \"\\\" or a NUL byte. Table rows outside the program's bounds\n"
    "(rounds 1-40, 200 boards and 400 byes a round, 400 players, ids 0-399) are skipped\n"
    "with one warning line per kind on standard error.\n"
    "\n"
    "--watch: generates once, then again whenever the settings file or the .trn or .sco\n"
    "table it names changes (after they have been quiet for half a second), printing the\n"
    "time and the message of each run. A table caught while it is being written gives an\n"
    "error line; the next change brings a good run. Ctrl-C ends it.\n"
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

// One warning line per kind of skipped row.
void reportSkipped(const data::SkippedRows& skipped, std::ostream& err) {
    const std::pair<int, std::string_view> kinds[] = {
        {skipped.roundOutOfRange, "games-table rows with a round outside 1-40"},
        {skipped.boardsBeyondLimit, "pairings beyond the 200th board of a round"},
        {skipped.unpairedBeyondLimit, "unpaired entries beyond the 400th of a round"},
        {skipped.playersBeyondLimit, "players beyond the 400th"},
        {skipped.idOutOfRange, "players with an id outside 0-399"},
    };
    for (const auto& [count, what] : kinds) {
        if (count > 0) {
            err << "warning: " << count << " " << what << " were skipped\n";
        }
    }
    err << std::flush;
}

// The files whose changes start a run in watch mode: the settings file and its tables.
std::vector<std::string> watchedFiles(const std::string& settingsFile, const settings::Settings& s,
                                      const platform::Platform& platform) {
    return {settingsFile, s.strFilename,
            site::derivePaths(s, platform.programPath(), platform.separator()).scoFile};
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
    const bool watch = args.size() == 2 && args[0] == "--watch";
    const bool password = args.size() == 2 && args[0] == "--admin-password";
    const std::string file = watch || password ? args[1] : args.empty() ? std::string() : args[0];
    if ((!watch && !password && args.size() != 1) || file.empty() || file[0] == '-') {
        err << kUsage;
        return kExitUsage;
    }
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
        const site::RunResult result = site::generateSite(s, platform, &skipped);
        reportSkipped(skipped, err);
        out << result.message << "\n";
        return result.ok() ? kExitGenerated : kExitRunFailed;
    }

    platform::FileWatcher watcher(watchedFiles(file, s, platform));
    const auto runOnce = [&]() -> std::string {
        // The settings are read again for every run, so edits to them take effect, and the
        // tables they name now are the ones watched and checked.
        settings::Settings current;
        if (std::string problem = loadSettings(file, current, platform); !problem.empty()) {
            return problem;
        }
        const std::vector<std::string> files = watchedFiles(file, current, platform);
        watcher.watch(files);
        for (const std::string& table : {files[1], files[2]}) {
            if (platform.exists(table) && !data::tableIsComplete(table, platform)) {
                return "Error: " + table + " is incomplete (still being written?)";
            }
        }
        data::SkippedRows skipped;
        site::RunResult result = site::generateSite(current, platform, &skipped);
        reportSkipped(skipped, err);
        return std::move(result.message);
    };
    return runWatch(runOnce, watcher, stop, out);
}

}  // namespace pairweb::cli

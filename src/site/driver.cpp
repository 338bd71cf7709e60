#include "site/driver.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "data/loaders.h"
#include "data/scoring.h"
#include "data/windows1252.h"
#include "data/trf_reader.h"
#include "site/fragments.h"
#include "site/layout.h"
#include "site/page_options.h"
#include "site/pages.h"
#include "site/phone_pages.h"
#include "site/site_writer.h"
#include "site/stylesheet.h"

namespace pairweb::site {
namespace {

// The (up to) three characters after the last dot; the first three when there is no dot.
std::string_view extensionOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t start = dot == std::string_view::npos ? 0 : dot + 1;
    return path.substr(start, 3);
}

RunResult ended(RunOutcome outcome, std::string_view message, std::string path = {}) {
    return {outcome, std::string(message), std::move(path)};
}

std::optional<RunResult> checkPaths(const settings::Settings& s,
                                    const platform::Platform& platform) {
    using enum RunOutcome;
    if (!platform.exists(s.strFilename)) return ended(NoTrnFile, kNoTrnFile);
    if (s.OutputIndex.find(platform.separator()) == std::string::npos) {
        return ended(InvalidOutputPath, kInvalidOutputPath);
    }
    // Without a dot there is no games-table path to look for.
    if (s.strFilename.find('.') == std::string::npos) {
        return ended(NotTrnExtension, kNotTrnExtension);
    }
    const SitePaths paths = derivePaths(s, platform.programPath(), platform.separator());
    // A TRF file holds the whole tournament: there is no games table to look for.
    const bool trf = data::isTrfPath(s.strFilename);
    if (!trf && !platform.exists(paths.scoFile)) return ended(NoScoFile, kNoScoFile);
    if (!platform.exists(paths.outputFolder)) return ended(NoOutputFolder, kNoOutputFolder);
    const std::string_view trn = extensionOf(s.strFilename);
    if (!trf && trn != "trn" && trn != "TRN") return ended(NotTrnExtension, kNotTrnExtension);
    const std::string_view htm = extensionOf(s.OutputIndex);
    if (htm != "htm" && htm != "HTM") return ended(NotHtmlExtension, kNotHtmlExtension);
    return std::nullopt;
}

// A file name prefix that could lead out of the PGN folder, or that the file system would
// cut short at a NUL byte, is refused; the message shows a NUL byte as "\0".
std::optional<std::string> checkPrefix(const std::string& prefix) {
    if (prefix.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos) {
        return std::nullopt;
    }
    std::string shown;
    for (const char c : prefix) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return std::string(kBadPrefixStart) + shown + std::string(kBadPrefixEnd);
}

void preparePgnFolder(const settings::Settings& s, const SitePaths& paths,
                      platform::Platform& platform) {
    if (!s.MakePGN && !s.LinkPGN) {
        return;
    }
    if (!platform.exists(paths.pgnFolder)) {
        platform.createDirectory(paths.pgnFolder);
    }
    // The viewer's files (with links to the viewer) and the game-entry files (with the admin
    // page, which PGN files bring) are replaced by the program's current copy on every run;
    // a copy that fails leaves the former file and does not stop the run. The admin
    // password's file is never copied: it belongs to the site alone.
    for (const std::string& name : platform.listPlainFiles(paths.viewerSource)) {
        const bool gameEntry =
            std::find(layout::kGameEntryFiles.begin(), layout::kGameEntryFiles.end(), name) !=
            layout::kGameEntryFiles.end();
        if (name == layout::kAdminPasswordFile || !(s.LinkPGN || (s.MakePGN && gameEntry))) {
            continue;
        }
        (void)platform.copyFile(paths.viewerSource + name, paths.pgnFolder + name);
    }
}

// Loads the players and games tables into t; the run's end when they cannot be opened.
std::optional<RunResult> loadTables(const settings::Settings& s, const SitePaths& paths,
                                    const PageOptions& options, data::Tournament& t,
                                    const platform::Platform& platform) {
    const int recordCount = data::countTableRecords(s.strFilename, platform);
    if (recordCount < 0) {
        return ended(RunOutcome::CannotOpenTrn, kCannotOpenTrn);
    }
    // No more than kMaxPlayers are ever loaded, whatever the table's record count.
    t.players.resize(static_cast<std::size_t>(std::min(recordCount, data::kMaxPlayers)));
    t.playerCount = data::loadPlayers(s.strFilename, t.players,
                                      {options.FirstTB, options.SecondTB, options.ThirdTB},
                                      &t.skipped, platform);
    t.roundCount =
        data::loadPairings(paths.scoFile, t.rounds, t.players, t.playerCount, &t.skipped, platform);
    if (t.roundCount < 0) {
        return ended(RunOutcome::CannotOpenSco, kCannotOpenSco);
    }
    return std::nullopt;
}

// Loads a TRF file into t; the run's end when it cannot be loaded.
std::optional<RunResult> loadTrfTournament(const settings::Settings& s,
                                           const PageOptions& options, data::Tournament& t,
                                           const platform::Platform& platform) {
    switch (data::loadTrf(s.strFilename, t, {options.FirstTB, options.SecondTB, options.ThirdTB},
                          platform)) {
        case data::TrfStatus::Loaded:
            return std::nullopt;
        case data::TrfStatus::Unreadable:
            return ended(RunOutcome::CannotReadTrf, kCannotReadTrf);
        case data::TrfStatus::NoPlayers:
            return ended(RunOutcome::TrfHoldsNoPlayers, kTrfHoldsNoPlayers);
    }
    return std::nullopt;
}

}  // namespace

SitePaths derivePaths(const settings::Settings& s, const std::string& programPath, char separator) {
    SitePaths paths;
    const std::size_t dot = s.strFilename.rfind('.');
    paths.scoFile = s.strFilename.substr(0, dot) + ".sco";
    const std::size_t slash = s.OutputIndex.rfind(separator);
    if (slash != std::string::npos) {
        paths.outputFolder = s.OutputIndex.substr(0, slash + 1);
        paths.homeFile = s.OutputIndex.substr(slash + 1);
    }
    paths.pgnFolder = paths.outputFolder + std::string(layout::kPgnFolder) + separator;
    const std::size_t programSlash = programPath.rfind(separator);
    paths.viewerSource =
        (programSlash == std::string::npos ? std::string() : programPath.substr(0, programSlash)) +
        separator + std::string(layout::kViewerSource) + separator;
    return paths;
}

RunResult generateSite(const settings::Settings& s, platform::Platform& platform,
                       data::SkippedRows* skipped, const MakeQrCode& qrCode) {
    if (auto refused = checkPaths(s, platform)) {
        return std::move(*refused);
    }
    if (auto refused = checkPrefix(s.FnamePrefix)) {
        return ended(RunOutcome::BadPrefix, *refused);
    }
    const SitePaths paths = derivePaths(s, platform.programPath(), platform.separator());
    // Temporary files of an earlier run that was killed are cleared from the folders written.
    platform.removeStaleTemporaries(paths.outputFolder);
    if (platform.exists(paths.pgnFolder)) {
        platform.removeStaleTemporaries(paths.pgnFolder);
    }
    const std::string phoneFolder =
        paths.outputFolder + std::string(layout::kPhoneFolder) + platform.separator();
    if (s.PhonePages && platform.exists(phoneFolder)) {
        platform.removeStaleTemporaries(phoneFolder);
    }
    const std::string& out = paths.outputFolder;
    PageOptions options = makePageOptions(s);
    const PageLabels labels = makePageLabels(s);
    preparePgnFolder(s, paths, platform);
    options.generationTime = platform.now();

    data::Tournament t;
    std::optional<RunResult> refused = data::isTrfPath(s.strFilename)
                                           ? loadTrfTournament(s, options, t, platform)
                                           : loadTables(s, paths, options, t, platform);
    if (skipped != nullptr) {
        *skipped = t.skipped;
    }
    if (refused) {
        return std::move(*refused);
    }
    if (t.playerCount > data::kMaxRoundRobinPlayers) {
        options.TourneyType = "Swiss";
    }
    const PgnHeader header{s.TourneyName,
                           s.PGNSite,
                           s.PGNDate,
                           t.roundCount,
                           options.TourneyType == "Round-Robin" ? 1 : 0,
                           s.DisplayRating,
                           s.DisplayRating_2};
    data::computeTournament(t);

    SiteWriter writer(platform);
    std::string timeText = dateText(options.generationTime);
    timeText.resize(timeText.size() - 2);  // without its CR LF
    writer.keepFilesUnchangedBut(std::move(timeText));
    writer.write(out + "style.css", stylesheetText(options));
    writer.write(out + "player_list.html",
                 playerListPage(t.players, t.playerCount, options, labels, paths.homeFile));
    int lastCommenced = 0;
    const int n = t.roundCount;
    for (int r = 1; r <= n; ++r) {
        const int i = r - 1;
        const data::RoundRecord& round = t.rounds[static_cast<std::size_t>(i)];
        const std::string number = std::to_string(r);
        if (round.commenced) {
            lastCommenced = i;
            const bool latest =
                i == n - 1 || (i == n - 2 && !t.rounds[static_cast<std::size_t>(n - 1)].commenced);
            writer.write(out + "standings_round" + number + ".html",
                         standingsPage(t.players, t.playerCount, i, latest, options, labels,
                                       paths.homeFile));
        }
        writer.write(out + "results_round" + number + ".html",
                     pairingsPage(round, r, t.players, t.playerCount, r == n, options, labels,
                                  paths.homeFile));
        if (s.MakePGN) {
            // Existing PGN files keep the games entered into them; only missing ones are
            // written, both from one text.
            // The prefix is a text of the site (Windows-1252); on disk its name is in the
            // file system's own form, which the pages' links ask for.
            const std::string prefix = data::windows1252ToUtf8(options.fnamePrefix);
            const std::string page = paths.pgnFolder + layout::viewerPageName(prefix, r);
            const std::string pgn = paths.pgnFolder + layout::pgnFileName(prefix, r);
            const bool pageMissing = !platform.exists(page);
            const bool fileMissing = !platform.exists(pgn);
            if (pageMissing || fileMissing) {
                std::string file = pgnText(round, r, t.players, t.playerCount, header, 0);
                if (pageMissing) {
                    writer.create(page, pgnViewerPage(file));
                }
                if (fileMissing) {
                    writer.create(pgn, std::move(file));
                }
            }
        }
    }
    writer.write(out + "crosstable.html", crosstablePage(t.players, t.playerCount, lastCommenced,
                                                         options, labels, paths.homeFile));

    if (s.PhonePages) {
        // Before the home page that leads phones to them.
        if (!platform.exists(phoneFolder)) {
            platform.createDirectory(phoneFolder);
        }
        const PhoneContext phone =
            makePhoneContext(t, options, labels, s.TourneyName, paths.homeFile);
        for (PhoneFile& file : phoneSite(phone, s.PublicUrl, qrCode)) {
            writer.write(phoneFolder + file.name, std::move(file.content));
        }
    }
    writer.write(s.OutputIndex, framesetPage(s.TourneyName, s.PhonePages != 0));
    writer.write(out + "results.html",
                 pairingsIndexPage(n, s.TourneyName, options, labels, paths.homeFile));
    if (s.MakePGN) {
        writer.write(out + std::string(layout::kAdminPage), adminPage(n, s.TourneyName, options));
    }
    writer.flush();  // the last standings page, if any, must be on disk for this test
    const bool lastStandingsReadable =
        platform.canOpenForReading(out + "standings_round" + std::to_string(n) + ".html");
    writer.write(out + "standings.html",
                 standingsIndexPage(lastStandingsReadable ? n : n - 1, s.TourneyName, options,
                                    labels, paths.homeFile));
    writer.write(out + "contents.html", bannerPage(s.TourneyName, labels));

    if (std::string failed = writer.firstFailure(); !failed.empty()) {
        std::string message = std::string(kCouldNotWrite) + failed;
        return ended(RunOutcome::CouldNotWrite, message, std::move(failed));
    }
    return ended(RunOutcome::Generated, kGenerated);
}

}  // namespace pairweb::site

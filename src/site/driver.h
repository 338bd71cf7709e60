#pragma once

#include <string>
#include <string_view>

#include "data/tournament.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "site/qr_code.h"

namespace pairweb::site {

// The messages that end a generation run, in the order their checks are made.
constexpr std::string_view kNoTrnFile = "Error: please select a valid .trn file.";
constexpr std::string_view kInvalidOutputPath = "Invalid output path.";
constexpr std::string_view kNoScoFile = "Error: couldn't find .sco file.";
constexpr std::string_view kNoOutputFolder = "Error: please use valid output directory.";
constexpr std::string_view kNotTrnExtension = "Please select a valid .trn file.";
constexpr std::string_view kNotHtmlExtension = "Output index must be .html (or .htm)";
constexpr std::string_view kCannotOpenTrn =
    "Error:  Couldn't open TRN file.  Perhaps try closing SwissPerfect?";
constexpr std::string_view kCannotOpenSco = "Error:  Unable to open sco file.";
// The messages of a TRF file (strFilename ending in ".trf") that could not be loaded.
constexpr std::string_view kCannotReadTrf = "Error: couldn't read the TRF file.";
constexpr std::string_view kTrfHoldsNoPlayers = "Error: the TRF file holds no players.";
constexpr std::string_view kGenerated = "Web page generated!";
// Start of the message of a run in which some output file could not be written; the path
// of the first such file follows.
constexpr std::string_view kCouldNotWrite = "Error: could not write ";
// Message of a run refused for its file name prefix: start, the prefix, end.
constexpr std::string_view kBadPrefixStart = "Error: the file name prefix \"";
constexpr std::string_view kBadPrefixEnd = "\" may not contain \"/\", \"\\\" or a NUL byte.";

// The paths one run derives from the settings ("/" separates folders).
struct SitePaths {
    std::string scoFile;       // the .trn path up to its last dot, then ".sco"
    std::string outputFolder;  // the home page's folder, with its final "/"
    std::string homeFile;      // the home page's name alone, for every "home" link
    std::string pgnFolder;     // outputFolder + "pgn/"
    std::string viewerSource;  // the program's folder + "/pgnviewer/"
};

// Derives the paths; the settings must have passed the path checks.
SitePaths derivePaths(const settings::Settings& s, const std::string& programPath, char separator);

// How a generation run ended, one value for each of its messages.
enum class RunOutcome {
    Generated,
    NoTrnFile,
    InvalidOutputPath,
    NoScoFile,
    NoOutputFolder,
    NotTrnExtension,
    NotHtmlExtension,
    BadPrefix,
    CannotOpenTrn,
    CannotOpenSco,
    CannotReadTrf,
    TrfHoldsNoPlayers,
    CouldNotWrite,
};

// The end of a run: how it ended, its one message for the user, and the path it concerns
// (the first file that could not be written), empty when there is none.
struct RunResult {
    RunOutcome outcome = RunOutcome::Generated;
    std::string message;
    std::string path;
    [[nodiscard]] bool ok() const { return outcome == RunOutcome::Generated; }
};

// One generation run: checks the paths and the file name prefix, loads the tournament,
// computes it and writes the whole site. Shows nothing; returns how the run ended, with
// message kGenerated on success. The rows skipped while loading go to skipped when given.
// qrCode draws the phone pages' poster's QR code (front ends give pairweb_qr's encoder);
// without it the poster shows the address alone.
RunResult generateSite(const settings::Settings& s, platform::Platform& platform,
                       data::SkippedRows* skipped = nullptr, const MakeQrCode& qrCode = {});

}  // namespace pairweb::site

#pragma once

#include <array>
#include <string>
#include <string_view>

// The site's layout: the names of its folders and files that more than one place knows,
// written down once. The page writers, the driver, the admin password command and the
// tests all take them from here.
namespace pairweb::site::layout {

// The folder of the PGN files, the viewer and the game-entry pages, below the home page's.
constexpr std::string_view kPgnFolder = "pgn";
// The folder beside the program from which the viewer's files are copied.
constexpr std::string_view kViewerSource = "pgnviewer";

// A round's files: prefix (the file name prefix with its "_", or empty) + "round" + n, then
// ".pgn" for the PGN file and "_pgn.html" for the viewer page.
inline std::string pgnBaseName(std::string_view prefix, int round) {
    return std::string(prefix) + "round" + std::to_string(round);
}
constexpr std::string_view kPgnExtension = ".pgn";
constexpr std::string_view kViewerPageSuffix = "_pgn.html";
inline std::string pgnFileName(std::string_view prefix, int round) {
    return pgnBaseName(prefix, round) + std::string(kPgnExtension);
}
inline std::string viewerPageName(std::string_view prefix, int round) {
    return pgnBaseName(prefix, round) + std::string(kViewerPageSuffix);
}

// The public viewer, in the PGN folder.
constexpr std::string_view kViewerPage = "ltpgnviewer.html";
// The administrator's page at the site's top, and the game-entry pages it uses.
constexpr std::string_view kAdminPage = "admin.php";
constexpr std::string_view kPasswordProtectPage = "password_protect_page.php";
constexpr std::string_view kGameEntryPage = "pgnviewer.php";
// The administrator password's hash, in the PGN folder. Written only by the password
// command; generation never writes, replaces or removes it.
constexpr std::string_view kAdminPasswordFile = "admin_password.php";

// The files of the viewer folder that game entry needs: copied whenever the site has its
// admin page, even without links to the viewer.
constexpr std::array<std::string_view, 9> kGameEntryFiles = {
    kPasswordProtectPage, kGameEntryPage,   "pgn_entry.php",
    "pgn_games.php",      "pgnrecorder.js", "ltpgnviewer.js",
    "ltpgnviewer.css",    "chess.js",       "chess.js-LICENSE.txt"};

// The phone pages: a folder of their own below the home page's, with their own home page,
// one pairings page per round, one standings page per round with results, the player list
// and one card per player (by start rank), the shared stylesheet and script, the version
// file that the pages poll, and the printable poster.
constexpr std::string_view kPhoneFolder = "m";
constexpr std::string_view kPhoneHome = "index.html";
constexpr std::string_view kPhonePlayers = "players.html";
constexpr std::string_view kPhoneStylesheet = "phone.css";
constexpr std::string_view kPhoneScript = "phone.js";
constexpr std::string_view kPhoneVersion = "version.txt";
constexpr std::string_view kPhonePoster = "poster.html";
inline std::string phoneRoundPage(int round) { return "round" + std::to_string(round) + ".html"; }
inline std::string phoneStandingsPage(int round) {
    return "standings" + std::to_string(round) + ".html";
}
inline std::string phonePlayerPage(int startRank) {
    return "player" + std::to_string(startRank) + ".html";
}

}  // namespace pairweb::site::layout

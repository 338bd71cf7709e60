#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/tournament.h"
#include "site/page_options.h"
#include "site/qr_code.h"

namespace pairweb::site {

// The phone pages (folder "m" of the site): phone-first pages made from the same model as
// the classic ones. Every text from the tables is escaped; labels are written as they stand,
// as on the classic pages.

// Where a player sits in one round.
enum class SeatKind { None, White, Black, Bye };
struct Seat {
    SeatKind kind = SeatKind::None;
    int board = 0;      // from 1, for White and Black
    int opponent = -1;  // index in players; -1 for none or an id that matches no player
    int entry = -1;     // the board's index (White, Black) or the unpaired entry's (Bye)
};

// What every phone page of a run is built from.
struct PhoneContext {
    const data::Tournament* t = nullptr;
    PageOptions options;
    PageLabels labels;
    std::string title;          // the tournament's title (TourneyName)
    std::string fullSite;       // link to the classic home page: "../" + home + "?full"
    int lastCommenced = -1;     // index of the last round with results, -1 for none
    int currentRound = 0;       // the highest round (from 1) with pairings, 0 for none
    bool currentComplete = false;  // the current round has results and misses none
    std::vector<int> alphabetical;  // indices in players, by surname and first name
    std::vector<std::vector<Seat>> seats;  // [round index][player index]
    std::vector<int> rank;  // by player index: the rank after the last round with results
    std::vector<std::string> links;  // by player index: the name as the pages link it
};

// The context of a run; home is the classic home page's file name.
PhoneContext makePhoneContext(const data::Tournament& t, const PageOptions& o,
                              const PageLabels& labels, const std::string& title,
                              const std::string& home);

// The text "16 hex digits" that stands in every page for the version until the run knows it;
// it follows the page's first line, at kPhoneVersionOffset.
constexpr std::string_view kPhoneVersionPlaceholder = "0000000000000000";
constexpr std::size_t kPhoneVersionOffset = 41;  // after "<!DOCTYPE html>\r\n<html lang=\"en\" data-v=\""

// The pages, each its whole text with the version placeholder.
std::string phoneHomePage(const PhoneContext& c);
std::string phoneRoundPage(const PhoneContext& c, int n);      // round n, from 1
std::string phoneStandingsPage(const PhoneContext& c, int n);  // after round n, from 1
std::string phonePlayersPage(const PhoneContext& c);
std::string phonePlayerPage(const PhoneContext& c, int index);  // index in players
// The poster for the phone home at address (PublicUrl + "m/index.html"); without a code the
// poster shows the address alone.
std::string phonePosterPage(const PhoneContext& c, std::string_view address,
                            const std::optional<QrCode>& code);
// A QR code as an SVG element with a quiet zone of four modules, dark on white.
std::string qrSvg(const QrCode& code, std::string_view label);

// The shared stylesheet: the organiser's colours where their contrast passes, else a
// neutral theme; a dark theme and a print style.
std::string phoneStylesheet(const PageOptions& o);
// The shared script: search, the remembered player, deep links, the new-results notice.
std::string_view phoneScript();

// WCAG contrast ratio of two colours "#rrggbb" (1 to 21); 1 for a text that is no colour.
double contrastRatio(std::string_view a, std::string_view b);

// Sorting key of a name: letters and digits only, lower case, accents dropped
// ("O'Neill" gives "oneill", "S\xE9amus" gives "seamus").
std::string nameKey(std::string_view windows1252);

// Points as the phone pages show them: "3", "&frac12;", "2&frac12;".
std::string phonePoints(double v);

// One file of the phone site: its name within the folder and its text.
struct PhoneFile {
    std::string name;
    std::string content;
};

// Every file of the phone site, with the version set in each page and in version.txt: a
// hash over every other file's text, so it changes whenever any of them changes.
std::vector<PhoneFile> phoneSite(const PhoneContext& c, std::string_view publicUrl,
                                 const MakeQrCode& qrCode);

}  // namespace pairweb::site

#include <cmath>

#include "site/fragments.h"
#include "site/pages.h"
#include "site/player_lookup.h"

namespace pairweb::site {
namespace {

bool near(double a, double b) { return std::fabs(a - b) < 0.01; }

std::string resultTag(const data::RoundRecord& round, std::size_t b, const data::Player& white,
                      const data::Player& black, int roundIndex) {
    const int type = round.whiteType[b];
    if (round.whiteScore[b] == -1.0f || type == 34 || type == 35 || type == 36) {
        return "*";
    }
    const double w = white.scoreInRound(roundIndex);
    const double k = black.scoreInRound(roundIndex);
    if (near(w, 1) && near(k, 0)) return "1-0";
    if (near(w, 0) && near(k, 1)) return "0-1";
    if (near(w, 0.5) && near(k, 0.5)) return "1/2-1/2";
    return "*";
}

void writeRatingTag(Page& page, std::string_view tag, int rating) {
    if (rating == 0) {
        page.line("[", tag, " \"-\"]");
    } else {
        page.line("[", tag, " \"", rating, "\"]");
    }
}

}  // namespace

std::string pgnText(const data::RoundRecord& round, int n, const std::vector<data::Player>& players,
                    int playerCount, const PgnHeader& header, int kind) {
    if (kind == 1) {
        return pgnViewerPage(pgnText(round, n, players, playerCount, header, 0));
    }
    const PlayerLookup lookup(players, playerCount);
    const std::string event = escapePgnTag(header.tournamentTitle);
    const std::string site = escapePgnTag(header.PGNSite);
    const std::string date = escapePgnTag(header.PGNDate);
    Page page;
    for (int b = 0; b < round.boardCount && b < data::kMaxBoards; ++b) {
        const auto bb = static_cast<std::size_t>(b);
        const data::Player& white = lookup.byId(round.white[bb]);
        const data::Player& black = lookup.byId(round.black[bb]);
        page.line("[Event \"", event, "\"]");
        page.line("[Site \"", site, "\"]");
        page.line("[Date \"", date, "\"]");
        page.line("[Round \"", n, ".", b + 1, "\"]");
        page.line("[White \"", escapePgnTag(white.surname), ", ", escapePgnTag(white.firstName),
                  "\"]");
        page.line("[Black \"", escapePgnTag(black.surname), ", ", escapePgnTag(black.firstName),
                  "\"]");
        page.line("[Result \"", resultTag(round, bb, white, black, n - 1), "\"]");
        if (header.DisplayRating) {
            writeRatingTag(page, "WhiteElo", white.intlRating);
            writeRatingTag(page, "BlackElo", black.intlRating);
        }
        if (header.DisplayRating_2) {
            writeRatingTag(page, "WhiteACF", white.localRating);
            writeRatingTag(page, "BlackACF", black.localRating);
        }
        page.line("1.");
        page.line();
    }
    return page.take();
}

std::string pgnViewerPage(std::string_view pgnFile) {
    Page page;
    page.line("<head>");
    writeNoCacheBlock(page);
    page.line("</head>");
    // The games follow as page text: a browser that opens the page runs no markup of a name.
    std::string_view rest = pgnFile;
    for (std::size_t at = rest.find_first_of("&<>"); at != std::string_view::npos;
         at = rest.find_first_of("&<>")) {
        const std::string_view reference = rest[at] == '&'   ? "&amp;"
                                           : rest[at] == '<' ? "&lt;"
                                                             : "&gt;";
        page << rest.substr(0, at) << reference;
        rest.remove_prefix(at + 1);
    }
    page << rest;
    return page.take();
}

}  // namespace pairweb::site

#include <cmath>

#include "data/scoring.h"
#include "site/fragments.h"
#include "site/layout.h"
#include "site/pages.h"
#include "site/player_lookup.h"

namespace pairweb::site {
namespace {

bool near(double a, double b) { return std::fabs(a - b) < 0.01; }

// Mark after the opponent number: the points in bold for games worth more than one point,
// otherwise "-", "+" or "=" once a result exists.
std::string resultMark(double s, double opponentPoints, double gameTotal) {
    if (gameTotal >= 1.1) return "<BR><B>" + numberText(s) + "</B>";
    if (near(s, -1)) return {};
    if (near(s, 0) && near(opponentPoints, 0)) return {};
    if (near(s, 0)) return "-";
    if (near(s, 1)) return "+";
    if (near(s, 0.5)) return "=";
    return {};
}

void writeGameLinkOpening(Page& page, std::string_view cssClass, const PageOptions& o, int round,
                          int boardIndex) {
    page << "<td class=\"" << cssClass << "\"><a class=\"game\" href=\"javascript:OpenLTPgnViewer('"
         << layout::kPgnFolder << "/" << layout::kViewerPage << "?"
         << scriptLinkName(layout::viewerPageName(o.fnamePrefix, round)) << "&eval=ParsePgn(1,"
         << boardIndex << ")',780,400) \">";
}

// The opponent's row number, right-aligned in a field of the number width.
void writePadded(Page& page, int number, int width) {
    const std::string digits = std::to_string(number);
    for (int k = static_cast<int>(digits.size()); k < width; ++k) page << " ";
    page << digits;
}

}  // namespace

std::string crosstablePage(const std::vector<data::Player>& players, int playerCount,
                           int lastCommenced, const PageOptions& o, const PageLabels& labels,
                           const std::string& homeFile) {
    const int L = lastCommenced;
    const int R = L + 1;
    const std::vector<data::RankedPlayer> order =
        o.CrossStartrank ? data::startRankOrder(players, playerCount, L)
                         : data::standingsOrder(players, playerCount, L);
    const int P = static_cast<int>(order.size());
    const PlayerLookup lookup(players, playerCount);
    std::vector<int> rowOf(players.size(), 0);
    for (int k = 0; k < P; ++k) {
        rowOf[static_cast<std::size_t>(order[static_cast<std::size_t>(k)].index)] = k + 1;
    }
    const auto rowOfId = [&](int id) {
        const int at = lookup.indexOf(id);
        return at < 0 ? 0 : rowOf[static_cast<std::size_t>(at)];
    };
    const int width = P <= 99 ? 2 : 3;
    const bool roundRobin = o.TourneyType == "Round-Robin";
    const int grid = roundRobin ? P : R;
    const int columns = 3 + (o.DisplaySeed != 0) + (o.DisplayFed != 0) + (o.DisplayClub != 0) +
                        (o.DisplayRating != 0) + (o.DisplayRating_2 != 0) + grid;

    Page page;
    writeHeadOpening(page);
    writeNoCacheBlock(page);
    writeViewerScript(page, o);
    writeStylesheetLink(page);
    page.line("<title>", labels.Crosstable, ": ", labels.Round, " ", R, "</title></head>");
    page.line("<body>");
    page.line("<p align=\"center\">");
    page.line("<center><table>");
    page.line("<col>");
    if (o.DisplaySeed) page.line("<col>");
    page.line("<col style=\"width: auto;\">");
    if (o.DisplayFed) page.line("<col>");
    if (o.DisplayClub) page.line("<col>");
    if (o.DisplayRating) page.line("<col>");
    if (o.DisplayRating_2) page.line("<col>");
    for (int j = 0; j < grid; ++j) {
        page.line(roundRobin ? std::string_view("<col width=25>") : std::string_view("<col>"));
    }
    page.line("<col>");
    page.line("<tr><td class=\"title\" colspan=", columns, " align=center>", labels.Crosstable,
              ": ", labels.Round, "  ", R, "</td></tr>");

    page.line("<tr >");
    page.line("<td class=\"head\">", labels.Rank, "</td>");
    if (o.DisplaySeed) page.line("<td class=\"head\">", labels.Seed, "</td>");
    page.line("<td class=\"headname\">", labels.Name, "</td>");
    if (o.DisplayFed) page.line("<td class=\"head\">", labels.Federation, "</td>");
    if (o.DisplayClub) page.line("<td class=\"head\">", labels.Club, "</td>");
    writeRatingHeads(page, o, labels);
    for (int j = 1; j <= grid; ++j) {
        if (roundRobin) {
            page.line("<td class=\"head\">", j, "</td>");
        } else {
            page.line("<td class=\"head\"><a class=\"head\" href=\"results_round", j, ".html\">", j,
                      "</a></td>");
        }
    }
    page.line("<td class=\"head\">", labels.Score, "</td>");
    page.line("</tr>");

    for (int k = 1; k <= P; ++k) {
        const data::RankedPlayer& entry = order[static_cast<std::size_t>(k - 1)];
        const data::Player& x = players[static_cast<std::size_t>(entry.index)];
        page.line("<tr>");
        page.line("<td class=\"bold\">", k, "</td>");
        if (o.DisplaySeed) page.line("<td>", x.startRank, "</td>");
        page << "<td class=\"name\">";
        if (o.DisplayTitles) page.line(html(x.title), " ");
        page.line(html(x.surname), ", ", html(x.firstName), "</td>");
        if (o.DisplayFed) page.line("<td>", html(x.federation), "</td>");
        if (o.DisplayClub) page.line("<td>", html(x.club), "</td>");
        if (o.DisplayRating) page.line("<td>", x.intlRating, "</td>");
        if (o.DisplayRating_2) page.line("<td>", x.localRating, "</td>");

        if (roundRobin) {
            for (int j = 1; j <= P; ++j) {
                if (j == k) {
                    page << "<td class=\"blk_crosstable\"></td>";
                    continue;
                }
                const data::Player& y =
                    players[static_cast<std::size_t>(order[static_cast<std::size_t>(j - 1)].index)];
                const data::GameAgainst game = x.gameAgainst(R, y.id);
                const float theirs = y.scoreAgainst(R, x.id);
                const bool met = game.score != -1.0f;
                if (o.LinkPGN && met) {
                    writeGameLinkOpening(page, "rr_crosstable", o, game.roundIndex + 1,
                                         game.board - 1);
                } else {
                    page << "<td class=\"rr_crosstable\">";
                }
                if (met && game.score + theirs > 0.01f) {
                    page << scoreText(game.score);
                }
                page << (o.LinkPGN && met ? std::string_view("</a></td>")
                                          : std::string_view("</td>"));
            }
        } else {
            for (int r = 1; r <= R; ++r) {
                const data::RoundEntry e = x.gameInRound(r - 1);
                if (o.LinkPGN) {
                    writeGameLinkOpening(page, "crosstable", o, r, e.board - 1);
                } else {
                    page << "<td class=\"crosstable\">";
                }
                if (e.colour == 0 || e.colour == 1) {
                    const data::Player& opp = lookup.byId(e.opponent);
                    page << (e.colour == 1 ? std::string_view("W") : std::string_view("B"));
                    writePadded(page, rowOfId(e.opponent), width);
                    page << resultMark(e.score, opp.scoreInRound(r - 1), e.gameTotal);
                } else if (e.colour == 2 && std::fabs(e.score) > 0.01f) {
                    page << labels.Bye << resultMark(e.score, 0, e.gameTotal);
                }
                page << (o.LinkPGN ? std::string_view("</a></td>") : std::string_view("</td>"));
            }
        }
        page.line("<td class=\"bold\">", numberText(entry.points), "</td>");
        page.line("</tr>");
    }
    writeFooter(page, homeFile, o.generationTime);
    return page.take();
}

}  // namespace pairweb::site

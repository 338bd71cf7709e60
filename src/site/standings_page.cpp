#include "data/scoring.h"
#include "site/fragments.h"
#include "site/pages.h"

namespace pairweb::site {

std::string standingsPage(const std::vector<data::Player>& players, int playerCount, int i,
                          bool latest, const PageOptions& o, const PageLabels& labels,
                          const std::string& homeFile) {
    const int n = i + 1;
    const int columns = 3 + (o.DisplayTitles != 0) + (o.DisplayRating != 0) +
                        (o.DisplayRating_2 != 0) + (o.DisplaySeed != 0) + (o.DisplayFed != 0) +
                        (o.DisplayClub != 0) + 3 * (o.DisplayTiebreaks != 0);
    Page page;
    writeHeadOpening(page);
    writeStylesheetLink(page);
    page.line("<title>", labels.Standings, ":  ", labels.Round, " ", n, "</title></head>");
    page.line("<body>");
    page.line("<p align=\"center\">");
    page.line("<center><table>");
    page.line("<col width=45>");
    if (o.DisplaySeed) page.line("<col width=45>");
    if (o.DisplayTitles) page.line("<col width=45>");
    page.line("<col style=\"width: auto;\">");
    if (o.DisplayFed) page.line("<col width=45>");
    if (o.DisplayClub) page.line("<col style=\"width: auto;\">");
    if (o.DisplayRating) page.line("<col width=55>");
    if (o.DisplayRating_2) page.line("<col width=55>");
    page.line("<col width=55>");
    if (o.DisplayTiebreaks) {
        page.line("<col width=45>");
        page.line("<col width=45>");
        page.line("<col width=45>");
    }
    writeNavigationRow(
        page, {columns, "<a href=\"standings_round", labels.Standings, ":  ", n, !latest}, labels);

    page.line("<tr>");
    page.line("<td class=\"head\">", labels.Rank, "</td>");
    if (o.DisplaySeed) page.line("<td class=\"head\">", labels.Seed, "</td>");
    if (o.DisplayTitles) page.line("<td class=\"head\"></td>");
    page.line("<td class=\"headname\">", labels.Name, "</td>");
    if (o.DisplayFed) page.line("<td class=\"head\">", labels.Federation, "</td>");
    if (o.DisplayClub) page.line("<td class=\"head\">", labels.Club, "</td>");
    writeRatingHeads(page, o, labels);
    page.line("<td class=\"head\">", labels.Score, "</td>");
    if (o.DisplayTiebreaks) {
        page.line("<td class=\"head\">TB1</td>");
        page.line("<td class=\"head\">TB2</td>");
        page.line("<td class=\"head\">TB3</td>");
    }
    page.line("</tr>");

    int position = 0;
    for (const data::RankedPlayer& entry : data::standingsOrder(players, playerCount, i)) {
        const data::Player& p = players[static_cast<std::size_t>(entry.index)];
        page.line("<tr>");
        page.line("<td class=\"bold\">", ++position, "</td>");
        if (o.DisplaySeed) page.line("<td>", p.startRank, "</td>");
        if (o.DisplayTitles) page.line("<td>", html(p.title), "</td>");
        page.line("<td class=\"name\">", html(p.surname), ", ", html(p.firstName), "</td>");
        if (o.DisplayFed) page.line("<td>", html(p.federation), "</td>");
        if (o.DisplayClub) page.line("<td>", html(p.club), "</td>");
        if (o.DisplayRating) page.line("<td>", p.intlRating, "</td>");
        if (o.DisplayRating_2) page.line("<td>", p.localRating, "</td>");
        page.line("<td class=\"bold\">", numberText(entry.points), "</td>");
        if (o.DisplayTiebreaks) {
            page.line("<td class=\"tb\">", numberText(p.tiebreak(1, i)), "</td>");
            page.line("<td class=\"tb\">", numberText(p.tiebreak(2, i)), "</td>");
            page.line("<td class=\"tb\">", numberText(p.tiebreak(3, i)), "</td>");
        }
        page.line("</tr>");
    }
    writeFooter(page, homeFile, o.generationTime);
    return page.take();
}

}  // namespace pairweb::site

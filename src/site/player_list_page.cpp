#include "data/scoring.h"
#include "site/fragments.h"
#include "site/pages.h"

namespace pairweb::site {

std::string playerListPage(const std::vector<data::Player>& players, int playerCount,
                           const PageOptions& o, const PageLabels& labels,
                           const std::string& homeFile) {
    const int columns = 2 + (o.DisplayTitles != 0) + (o.DisplayFed != 0) + (o.DisplayClub != 0) +
                        (o.DisplayRating != 0) + (o.DisplayRating_2 != 0);
    Page page;
    writeHeadOpening(page);
    writeStylesheetLink(page);
    page.line("<title>", labels.Player_List, "</title>");
    page.line("</head><body>");
    page.line("<p align=\"center\">");
    page.line("<center><table>");
    page.line("<col width=45>");
    if (o.DisplayTitles) page.line("<col width=45>");
    page.line("<col style=\"width: auto;\">");
    if (o.DisplayFed) page.line("<col width=45>");
    if (o.DisplayClub) page.line("<col style=\"width: auto;\">");
    if (o.DisplayRating) page.line("<col width=55>");
    if (o.DisplayRating_2) page.line("<col width=55>");
    page.line("<tr><td class=\"title\"colspan=", columns, " align=center>", labels.Player_List,
              "</td></tr>");

    page.line("<tr>");
    page.line("<td class=\"head\">");
    page.line();
    page.line(labels.Seed, "</td>");
    if (o.DisplayTitles) page.line("<td class=\"head\">&nbsp;</td>");
    page.line("<td class=\"headname\">", labels.Name, "</td>");
    if (o.DisplayFed) page.line("<td class=\"head\">", labels.Federation, "</td>");
    if (o.DisplayClub) page.line("<td class=\"head\">", labels.Club, "</td>");
    writeRatingHeads(page, o, labels);
    page.line("</tr>");

    for (const data::RankedPlayer& entry : data::startRankOrder(players, playerCount, 0)) {
        const data::Player& p = players[static_cast<std::size_t>(entry.index)];
        page.line("<tr>");
        page.line("<td class=\"bold\">", p.startRank, "</td>");
        if (o.DisplayTitles) page.line("<td >", html(p.title), "</td>");
        page.line("<td class=\"name\">", html(p.surname), ", ", html(p.firstName), "</td>");
        if (o.DisplayFed) page.line("<td>", html(p.federation), "</td>");
        if (o.DisplayClub) page.line("<td>", html(p.club), "</td>");
        if (o.DisplayRating) page.line("<td>", p.intlRating, "</td>");
        if (o.DisplayRating_2) page.line("<td>", p.localRating, "</td>");
        page.line("</tr>");
    }
    writeFooter(page, homeFile, o.generationTime);
    return page.take();
}

}  // namespace pairweb::site

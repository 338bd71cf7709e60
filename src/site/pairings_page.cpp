#include "site/fragments.h"
#include "site/layout.h"
#include "site/pages.h"
#include "site/player_lookup.h"

namespace pairweb::site {
namespace {

// Result text of a board: empty without a result, a forfeit mark, or the two score texts.
std::string resultText(const data::RoundRecord& round, std::size_t b, const data::Player& w,
                       const data::Player& bl, int roundIndex) {
    if (round.whiteScore[b] == -1.0f) {
        return {};
    }
    const int type = round.whiteType[b];
    if (type == 34 || type / 10 == 34) return "<font class=\"forfeit\">-     +</font>";
    if (type == 35 || type / 10 == 35) return "<font class=\"forfeit\">+     -</font>";
    if (type == 36 || type / 10 == 36) return "<font class=\"forfeit\">-     -</font>";
    return scoreText(w.scoreInRound(roundIndex)) + " - " + scoreText(bl.scoreInRound(roundIndex));
}

}  // namespace

std::string pairingsPage(const data::RoundRecord& round, int n,
                         const std::vector<data::Player>& players, int playerCount, bool lastRound,
                         const PageOptions& o, const PageLabels& labels,
                         const std::string& homeFile) {
    const PlayerLookup lookup(players, playerCount);
    const int columns =
        2 * ((o.DisplaySeed != 0) + (o.DisplayRating != 0) + (o.DisplayRating_2 != 0)) + 4;
    const int roundIndex = n - 1;
    // Name cell: the title (with DisplayTitles), the name and the points before the round.
    const auto nameCell = [&](Page& page, std::string_view opening, const data::Player& p) {
        page << opening;
        if (o.DisplayTitles) page << html(p.title) << " ";
        page.line(html(p.surname), ", ", html(p.firstName), " (",
                  numberText(n <= 1 ? 0.0 : p.totalAfter(n - 2)), ")</td>");
    };

    Page page;
    writeHeadOpening(page);
    writeNoCacheBlock(page);
    writeViewerScript(page, o);
    writeStylesheetLink(page);
    page.line("<title></title></head>");
    page.line("<body>");
    page.line("<p align=\"center\">");
    page.line("<center>");
    if (!round.commenced) {
        page.line("<p>", o.Disclaimer, "</p>");
    }
    page.line("<table>");
    page.line("<col width=45>");
    if (o.DisplaySeed) page.line("<col width=45>");
    if (o.DisplayRating) page.line("<col width=45>");
    if (o.DisplayRating_2) page.line("<col width=45>");
    page.line("<col style=\"width: auto;\">");
    page.line("<col width=80>");
    page.line("<col style=\"width: auto;\">");
    if (o.DisplayRating) page.line("<col width=45>");
    if (o.DisplayRating_2) page.line("<col width=45>");
    if (o.DisplaySeed) page.line("<col width=45>");
    writeNavigationRow(
        page, {columns, "<a href=\"results_round", labels.Pairings, ": ", n, !lastRound}, labels);

    page.line("<tr><td class=\"head\" align=\"right\">", labels.Board, "</td>");
    if (o.DisplaySeed) page.line("<td class=\"head\">", labels.Seed, "</td>");
    writeRatingHeads(page, o, labels);
    page.line("<td class=\"headname\">", labels.Name, "</td>");
    page.line("<td class=\"head\">", labels.Result, "</td>");
    page.line("<td class=\"headname\">", labels.Name, "</td>");
    writeRatingHeads(page, o, labels);
    if (o.DisplaySeed) page.line("<td class=\"head\">", labels.Seed, "</td>");
    page.line("</tr>");

    for (int b = 0; b < round.boardCount && b < data::kMaxBoards; ++b) {
        const auto bb = static_cast<std::size_t>(b);
        const data::Player& w = lookup.byId(round.white[bb]);
        const data::Player& bl = lookup.byId(round.black[bb]);
        page.line("<tr>");
        page.line("<td  >", b + 1, "</td>");
        if (o.DisplaySeed) page.line("<td >", w.startRank, "</td>");
        if (o.DisplayRating) page.line("<td >", w.intlRating, "</td>");
        if (o.DisplayRating_2) page.line("<td >", w.localRating, "</td>");
        nameCell(page, "<td class=\"name\">", w);
        const std::string result = resultText(round, bb, w, bl, roundIndex);
        if (o.LinkPGN) {
            page.line(
                "<td class=\"bold\"><a class=\"game\" href=\"javascript:OpenLTPgnViewer("
                "'",
                layout::kPgnFolder, "/", layout::kViewerPage, "?",
                scriptLinkName(layout::viewerPageName(o.fnamePrefix, n)), "&eval=ParsePgn(1,", b,
                ")',780,400) \">", result, "</a></td>");
        } else {
            page.line("<td class=\"bold\">", result, "</td>");
        }
        nameCell(page, "<td class=\"name\">", bl);
        if (o.DisplayRating) page.line("<td >", bl.intlRating, "</td>");
        if (o.DisplayRating_2) page.line("<td >", bl.localRating, "</td>");
        if (o.DisplaySeed) page.line("<td >", bl.startRank, "</td>");
        page.line("</tr>");
    }

    for (int k = 0; k < round.unpairedCount && k < data::kMaxUnpaired; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        const data::Player& p = lookup.byId(round.unpairedId[kk]);
        page.line("<tr>");
        page.line("<td>", round.boardCount + k + 1, "</td>");
        if (o.DisplaySeed) page.line("<td>", p.startRank, "</td>");
        if (o.DisplayRating) page.line("<td>", p.intlRating, "</td>");
        if (o.DisplayRating_2) page.line("<td >", p.localRating, "</td>");
        nameCell(page, "<td class=\"name\" >", p);
        page.line("<td class=\"bold\">", scoreText(round.unpairedScore[kk]), "</td>");
        page.line("<td class=\"name\">", "Bye", "</td>");
        if (o.DisplayRating) page.line("<td > </td>");
        if (o.DisplayRating_2) page.line("<td > </td>");
        if (o.DisplaySeed) page.line("<td > </td>");
        page.line("</tr>");
    }

    if (o.LinkPGN) {
        page.line("<tr><td class=\"bold\" colspan=", columns / 2,
                  "><a class=\"game\" href=\"javascript:OpenLTPgnViewer('", layout::kPgnFolder, "/",
                  layout::kViewerPage, "?",
                  scriptLinkName(layout::viewerPageName(o.fnamePrefix, n)),
                  "&ParsePgn=1',780,400) \">View Games</a>",
                  "</td><td class=\"bold\" colspan=", columns / 2, "><a class=\"game\" href=\"",
                  layout::kPgnFolder, "/", linkName(layout::pgnFileName(o.fnamePrefix, n)),
                  "\">Download PGN</a></td></tr>");
    }
    writeFooter(page, homeFile, o.generationTime);
    return page.take();
}

}  // namespace pairweb::site

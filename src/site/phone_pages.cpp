#include "data/scoring.h"
#include "site/layout.h"
#include "site/phone_parts.h"
#include "site/player_lookup.h"

namespace pairweb::site {
namespace {

using namespace phone;

const data::Player& playerAt(const PhoneContext& c, int index) {
    return c.t->players[static_cast<std::size_t>(index)];
}

// "Round 3: Pairings" and the like, labels as they stand.
std::string roundTitle(const PhoneContext& c, int n, std::string_view label) {
    return c.labels.Round + " " + std::to_string(n) + ": " + std::string(label);
}

bool hasStandings(const PhoneContext& c, int n) {
    return n >= 1 && n <= c.t->roundCount && c.t->rounds[static_cast<std::size_t>(n - 1)].commenced;
}

// The round's boards, then its unpaired entries, with each player's points before the round.
void writePairingsTable(Page& page, const PhoneContext& c, int n) {
    const int i = n - 1;
    const data::RoundRecord& round = c.t->rounds[static_cast<std::size_t>(i)];
    const PlayerLookup lookup(c.t->players, c.t->playerCount);
    const auto player = [&](int index) {
        if (index < 0) return;
        writePlayerLinkAt(page, c, index);
        page << " (" << phonePoints(n <= 1 ? 0.0 : playerAt(c, index).totalAfter(n - 2)) << ")";
    };
    openTable(page, "p", c.labels.Pairings, true);
    headCell(page, c.labels.Board);
    headCell(page, "White");
    headCell(page, c.labels.Result);
    headCell(page, "Black");
    endHead(page);
    for (int b = 0; b < round.boardCount && b < data::kMaxBoards; ++b) {
        const auto bb = static_cast<std::size_t>(b);
        const int w = lookup.indexOf(round.white[bb]);
        const int bl = lookup.indexOf(round.black[bb]);
        page << "<tr><td>" << (b + 1) << "</td><td>";
        player(w);
        page << "</td><td>"
             << boardResult(c, i, b, lookup.byId(round.white[bb]), lookup.byId(round.black[bb]))
             << "</td><td>";
        player(bl);
        page.line("</td></tr>");
    }
    for (int k = 0; k < round.unpairedCount && k < data::kMaxUnpaired; ++k) {
        const auto kk = static_cast<std::size_t>(k);
        page << "<tr><td></td><td>";
        player(lookup.indexOf(round.unpairedId[kk]));
        page.line("</td><td>", phonePoints(round.unpairedScore[kk]), "</td><td>Bye</td></tr>");
    }
    closeTable(page);
}

// Every player by name: board, colour, opponent and result in round n.
void writeSeatsTable(Page& page, const PhoneContext& c, int n, std::string_view caption) {
    const int i = n - 1;
    openTable(page, "a", caption, true);
    headCell(page, c.labels.Name);
    headCell(page, c.labels.Board);
    headCell(page, "Colour");
    headCell(page, "Opponent");
    headCell(page, c.labels.Result);
    endHead(page);
    for (const int k : c.alphabetical) {
        const Seat& s = c.seats[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)];
        page << "<tr><th scope=\"row\">";
        writePlayerLinkAt(page, c, k);
        page << "</th><td>";
        if (s.board > 0) page << s.board;
        page << "</td><td>" << colourWord(s.kind) << "</td><td>";
        if (s.kind == SeatKind::Bye) {
            page << "Bye";
        } else if (s.kind == SeatKind::None) {
            page << "Not paired";
        } else {
            writePlayerLinkAt(page, c, s.opponent);
        }
        page.line("</td><td>", seatResult(c, i, k), "</td></tr>");
    }
    closeTable(page);
}

// Standings after round n: rank, name, score and the tiebreaks the settings show.
void writeStandingsTable(Page& page, const PhoneContext& c, int n) {
    const int i = n - 1;
    const PageOptions& o = c.options;
    openTable(page, "s", c.labels.Standings, true);
    headCell(page, c.labels.Rank);
    headCell(page, c.labels.Name);
    headCell(page, c.labels.Score);
    if (o.DisplayTiebreaks) {
        headCell(page, escapeHtml(o.FirstTB));
        headCell(page, escapeHtml(o.SecondTB));
        headCell(page, escapeHtml(o.ThirdTB));
    }
    endHead(page);
    int position = 0;
    for (const data::RankedPlayer& entry : data::standingsOrder(c.t->players, c.t->playerCount, i)) {
        const data::Player& p = playerAt(c, entry.index);
        page << "<tr><td>" << ++position << "</td><th scope=\"row\">";
        writePlayerLinkAt(page, c, entry.index);
        page << "</th><td>" << phonePoints(entry.points) << "</td>";
        if (o.DisplayTiebreaks) {
            for (int slot = 1; slot <= 3; ++slot) {
                page << "<td>" << numberText(p.tiebreak(slot, i)) << "</td>";
            }
        }
        page.line("</tr>");
    }
    closeTable(page);
}

// Links to the neighbours of a page and its counterpart; nothing when there are none.
void writePager(Page& page, const std::vector<std::pair<std::string, std::string>>& links) {
    if (links.empty()) return;
    page << "<nav class=\"pn\">";
    for (std::size_t k = 0; k < links.size(); ++k) {
        page << std::string_view(k == 0 ? "" : " ") << "<a href=\"" << links[k].first << "\">" << links[k].second
             << "</a>";
    }
    page.line("</nav>");
}

std::string roundName(const PhoneContext& c, int n) {
    return c.labels.Round + " " + std::to_string(n);
}

// The rating the pages show: the international one, or the local one when it alone shows.
int shownRating(const PhoneContext& c, const data::Player& p) {
    return c.options.DisplayRating_2 && !c.options.DisplayRating ? p.localRating : p.intlRating;
}

}  // namespace

std::string phoneHomePage(const PhoneContext& c) {
    const int n = c.currentRound;
    Page page;
    if (n == 0) {
        writeHead(page, c, c.labels.Player_List);
    } else {
        writeHead(page, c,
                  roundTitle(c, n, c.currentComplete ? c.labels.Standings : c.labels.Pairings));
        writeSearch(page);
        page.line("<div id=\"find\" hidden>");
        writeSeatsTable(page, c, n, roundName(c, n));
        page.line("</div>");
        if (c.currentComplete) {
            writeStandingsTable(page, c, n);
        } else {
            writePairingsTable(page, c, n);
        }
    }
    page.line("<h2>Rounds</h2>");
    page.line("<ul class=\"rl\">");
    for (int r = 1; r <= c.t->roundCount; ++r) {
        page << "<li>" << roundName(c, r) << " <a href=\"" << layout::phoneRoundPage(r) << "\">"
             << c.labels.Pairings << "</a>";
        if (hasStandings(c, r)) {
            page << " <a href=\"" << layout::phoneStandingsPage(r) << "\">" << c.labels.Standings
                 << "</a>";
        }
        page.line("</li>");
    }
    page.line("</ul>");
    writeFooter(page, c);
    return page.take();
}

std::string phoneRoundPage(const PhoneContext& c, int n) {
    Page page;
    writeHead(page, c, roundTitle(c, n, c.labels.Pairings));
    std::vector<std::pair<std::string, std::string>> links;
    if (n > 1) links.emplace_back(layout::phoneRoundPage(n - 1), roundName(c, n - 1));
    if (hasStandings(c, n)) links.emplace_back(layout::phoneStandingsPage(n), c.labels.Standings);
    if (n < c.t->roundCount) links.emplace_back(layout::phoneRoundPage(n + 1), roundName(c, n + 1));
    writePager(page, links);
    if (!c.t->rounds[static_cast<std::size_t>(n - 1)].commenced && !c.options.Disclaimer.empty()) {
        page.line("<p class=\"d\">", c.options.Disclaimer, "</p>");
    }
    writeSearch(page);
    writePairingsTable(page, c, n);
    writeSeatsTable(page, c, n, c.labels.Player_List);
    writeFooter(page, c);
    return page.take();
}

std::string phoneStandingsPage(const PhoneContext& c, int n) {
    Page page;
    writeHead(page, c, roundTitle(c, n, c.labels.Standings));
    std::vector<std::pair<std::string, std::string>> links;
    for (int r = n - 1; r >= 1; --r) {
        if (hasStandings(c, r)) {
            links.emplace_back(layout::phoneStandingsPage(r), roundName(c, r));
            break;
        }
    }
    links.emplace_back(layout::phoneRoundPage(n), c.labels.Pairings);
    for (int r = n + 1; r <= c.t->roundCount; ++r) {
        if (hasStandings(c, r)) {
            links.emplace_back(layout::phoneStandingsPage(r), roundName(c, r));
            break;
        }
    }
    writePager(page, links);
    writeSearch(page);
    writeStandingsTable(page, c, n);
    writeFooter(page, c);
    return page.take();
}

std::string phonePlayersPage(const PhoneContext& c) {
    Page page;
    writeHead(page, c, c.labels.Player_List);
    writeSearch(page);
    openTable(page, "l", c.labels.Player_List, true);
    headCell(page, c.labels.Name);
    headCell(page, c.labels.Rating);
    headCell(page, c.labels.Federation);
    headCell(page, c.labels.Score);
    endHead(page);
    for (const int k : c.alphabetical) {
        const data::Player& p = playerAt(c, k);
        const int rating = shownRating(c, p);
        page << "<tr><th scope=\"row\">";
        writePlayerLinkAt(page, c, k);
        page << "</th><td>";
        if (rating != 0) page << rating;
        page.line("</td><td>", html(p.federation), "</td><td>",
                  phonePoints(c.lastCommenced < 0 ? 0.0 : p.totalAfter(c.lastCommenced)),
                  "</td></tr>");
    }
    closeTable(page);
    writeFooter(page, c);
    return page.take();
}

std::string phonePlayerPage(const PhoneContext& c, int index) {
    const data::Player& p = playerAt(c, index);
    const int last = c.lastCommenced;
    Page name;
    writeName(name, c, p);
    Page page;
    writeHead(page, c, name.take());
    page.line("<dl class=\"c\">");
    if (last >= 0) {
        page.line("<dt>", c.labels.Rank, "</dt><dd>", c.rank[static_cast<std::size_t>(index)],
                  "</dd>");
    }
    page.line("<dt>", c.labels.Score, "</dt><dd>",
              phonePoints(last < 0 ? 0.0 : p.totalAfter(last)), "</dd>");
    if (last >= 0 && c.options.DisplayTiebreaks) {
        const std::string* names[] = {&c.options.FirstTB, &c.options.SecondTB, &c.options.ThirdTB};
        for (int slot = 1; slot <= 3; ++slot) {
            page.line("<dt>", html(*names[slot - 1]), "</dt><dd>",
                      numberText(p.tiebreak(slot, last)), "</dd>");
        }
    }
    if (const int rating = shownRating(c, p); rating != 0) {
        page.line("<dt>", c.labels.Rating, "</dt><dd>", rating, "</dd>");
    }
    if (!p.federation.empty()) {
        page.line("<dt>", c.labels.Federation, "</dt><dd>", html(p.federation), "</dd>");
    }
    page.line("</dl>");
    openTable(page, "g", "Games", false);
    headCell(page, c.labels.Round);
    headCell(page, "Colour");
    headCell(page, "Opponent");
    headCell(page, c.labels.Result);
    headCell(page, c.labels.Score);
    endHead(page);
    for (int i = 0; i < static_cast<int>(c.seats.size()); ++i) {
        const Seat& s = c.seats[static_cast<std::size_t>(i)][static_cast<std::size_t>(index)];
        page << "<tr><td>" << (i + 1) << "</td><td>" << colourWord(s.kind) << "</td><td>";
        if (s.kind == SeatKind::Bye) {
            page << "Bye";
        } else if (s.kind == SeatKind::None) {
            page << "Not paired";
        } else {
            writePlayerLinkAt(page, c, s.opponent);
        }
        page.line("</td><td>", seatResult(c, i, index), "</td><td>",
                  i <= last ? phonePoints(p.totalAfter(i)) : std::string(), "</td></tr>");
    }
    closeTable(page);
    writeFooter(page, c);
    return page.take();
}

}  // namespace pairweb::site

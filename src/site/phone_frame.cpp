#include <algorithm>

#include "data/scoring.h"
#include "site/layout.h"
#include "site/phone_parts.h"
#include "site/player_lookup.h"

namespace pairweb::site {
namespace {

// The letters of Windows-1252 beyond ASCII, from 0xC0: their base letters in lower case
// ("" for the two signs among them).
constexpr std::string_view kFolded[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "",  "o", "u", "u", "u", "u", "y", "th", "ss",
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", "",  "o", "u", "u", "u", "u", "y", "th", "y"};

std::string_view foldedByte(unsigned char b) {
    switch (b) {
        case 0x8A:
        case 0x9A:
            return "s";
        case 0x8C:
        case 0x9C:
            return "oe";
        case 0x8E:
        case 0x9E:
            return "z";
        case 0x9F:
            return "y";
        default:
            break;
    }
    if (b >= 0xC0) return kFolded[b - 0xC0];
    return "";
}

}  // namespace

std::string nameKey(std::string_view windows1252) {
    std::string key;
    for (const char ch : windows1252) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'a' && b <= 'z') || (b >= '0' && b <= '9')) {
            key += ch;
        } else if (b >= 'A' && b <= 'Z') {
            key += static_cast<char>(b - 'A' + 'a');
        } else {
            key += foldedByte(b);
        }
    }
    return key;
}

std::string phonePoints(double v) {
    std::string text = scoreText(v);
    if (text.ends_with("&frac12")) text += ';';
    return text;
}

PhoneContext makePhoneContext(const data::Tournament& t, const PageOptions& o,
                              const PageLabels& labels, const std::string& title,
                              const std::string& home) {
    PhoneContext c;
    c.t = &t;
    c.options = o;
    c.labels = labels;
    c.title = title;
    c.fullSite = "../" + home + "?full";
    const PlayerLookup lookup(t.players, t.playerCount);
    const int rounds = std::min(t.roundCount, data::kMaxRounds);
    c.seats.assign(static_cast<std::size_t>(rounds),
                   std::vector<Seat>(static_cast<std::size_t>(t.playerCount)));
    for (int i = 0; i < rounds; ++i) {
        const data::RoundRecord& round = t.rounds[static_cast<std::size_t>(i)];
        std::vector<Seat>& seats = c.seats[static_cast<std::size_t>(i)];
        const auto seat = [&](int id) -> Seat* {
            const int at = lookup.indexOf(id);
            return at < 0 ? nullptr : &seats[static_cast<std::size_t>(at)];
        };
        bool missing = false;
        for (int b = 0; b < round.boardCount && b < data::kMaxBoards; ++b) {
            const auto bb = static_cast<std::size_t>(b);
            const int white = lookup.indexOf(round.white[bb]);
            const int black = lookup.indexOf(round.black[bb]);
            if (Seat* s = seat(round.white[bb])) *s = {SeatKind::White, b + 1, black, b};
            if (Seat* s = seat(round.black[bb])) *s = {SeatKind::Black, b + 1, white, b};
            missing = missing || round.whiteScore[bb] == -1.0f;
        }
        for (int k = 0; k < round.unpairedCount && k < data::kMaxUnpaired; ++k) {
            if (Seat* s = seat(round.unpairedId[static_cast<std::size_t>(k)])) {
                *s = {SeatKind::Bye, 0, -1, k};
            }
        }
        if (round.commenced) c.lastCommenced = i;
        if (round.boardCount > 0 || round.unpairedCount > 0) {
            c.currentRound = i + 1;
            c.currentComplete = round.commenced && !missing;
        }
    }
    c.rank.assign(static_cast<std::size_t>(t.playerCount), 0);
    if (c.lastCommenced >= 0) {
        int position = 0;
        for (const data::RankedPlayer& entry :
             data::standingsOrder(t.players, t.playerCount, c.lastCommenced)) {
            c.rank[static_cast<std::size_t>(entry.index)] = ++position;
        }
    }
    // Every row names players: their links are made once.
    for (int k = 0; k < t.playerCount; ++k) {
        Page link;
        phone::writePlayerLink(link, c, t.players[static_cast<std::size_t>(k)]);
        c.links.push_back(link.take());
    }
    std::vector<std::pair<std::string, int>> keyed;
    for (int k = 0; k < t.playerCount; ++k) {
        const data::Player& p = t.players[static_cast<std::size_t>(k)];
        keyed.emplace_back(nameKey(p.surname) + '\x01' + nameKey(p.firstName), k);
    }
    // Equal names keep the table's order.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& entry : keyed) c.alphabetical.push_back(entry.second);
    return c;
}

namespace phone {

void writeDocumentHead(Page& page, const PhoneContext& c, std::string_view pageTitle) {
    page.line("<!DOCTYPE html>");
    page.line("<html lang=\"en\" data-v=\"", kPhoneVersionPlaceholder, "\">");
    page.line("<head>");
    page.line("<meta charset=\"windows-1252\">");
    page.line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
    page.line("<title>", pageTitle, " - ", html(c.title), "</title>");
    page.line("<link rel=\"icon\" href=\"data:,\">");
    page.line("<link rel=\"stylesheet\" href=\"", layout::kPhoneStylesheet, "\">");
    page.line("<script src=\"", layout::kPhoneScript, "\" defer></script>");
    page.line("</head>");
}

void writeHead(Page& page, const PhoneContext& c, std::string_view pageTitle) {
    writeDocumentHead(page, c, pageTitle);
    page.line("<body>");
    page.line("<header><a href=\"", layout::kPhoneHome, "\">", html(c.title), "</a></header>");
    page.line("<main>");
    page.line("<h1>", pageTitle, "</h1>");
}

void writeSearch(Page& page) {
    page.line(
        "<form class=\"s\" role=\"search\" hidden><label for=\"q\">Find my name</label>"
        "<input id=\"q\" type=\"search\" autocomplete=\"off\" spellcheck=\"false\"></form>");
}

void writeFooter(Page& page, const PhoneContext& c) {
    page.line("</main>");
    page.line("<footer><a href=\"", layout::kPhonePlayers, "\">", c.labels.Player_List,
              "</a> <a href=\"", html(c.fullSite), "\">Full site</a></footer>");
    page.line("</body>");
    page.line("</html>");
}

void openTable(Page& page, std::string_view id, std::string_view caption, bool filtered) {
    page.line("<div class=\"w\" tabindex=\"0\" role=\"region\" aria-labelledby=\"", id,
              "\"><table", filtered ? std::string_view(" class=\"f\"") : std::string_view(""), "><caption id=\"", id, "\">", caption,
              "</caption>");
    page.line("<thead><tr>");
}

void endHead(Page& page) {
    page.line("</tr></thead>");
    page.line("<tbody>");
}

void closeTable(Page& page) { page.line("</tbody></table></div>"); }

void headCell(Page& page, std::string_view text) {
    page.line("<th scope=\"col\">", text, "</th>");
}

void writeName(Page& page, const PhoneContext& c, const data::Player& p) {
    if (c.options.DisplayTitles && !p.title.empty()) page << html(p.title) << " ";
    page << html(p.surname) << ", " << html(p.firstName);
}

void writePlayerLink(Page& page, const PhoneContext& c, const data::Player& p) {
    if (c.options.DisplayTitles && !p.title.empty()) page << html(p.title) << " ";
    if (p.startRank >= 1) page << "<a href=\"" << layout::phonePlayerPage(p.startRank) << "\">";
    page << html(p.surname) << ", " << html(p.firstName);
    if (p.startRank >= 1) page << "</a>";
}

void writePlayerLinkAt(Page& page, const PhoneContext& c, int index) {
    if (index >= 0) page << c.links[static_cast<std::size_t>(index)];
}

namespace {

// Forfeit kind of a board: 'b' black wins, 'w' white wins, 'n' neither, 0 for a game.
char forfeit(int type) {
    if (type == 34 || type / 10 == 34) return 'b';
    if (type == 35 || type / 10 == 35) return 'w';
    if (type == 36 || type / 10 == 36) return 'n';
    return 0;
}

}  // namespace

std::string seatResult(const PhoneContext& c, int roundIndex, int index) {
    const Seat& s = c.seats[static_cast<std::size_t>(roundIndex)][static_cast<std::size_t>(index)];
    const data::RoundRecord& round = c.t->rounds[static_cast<std::size_t>(roundIndex)];
    if (s.kind == SeatKind::Bye) {
        return phonePoints(round.unpairedScore[static_cast<std::size_t>(s.entry)]);
    }
    if (s.kind == SeatKind::None || round.whiteScore[static_cast<std::size_t>(s.entry)] == -1.0f) {
        return {};
    }
    switch (forfeit(round.whiteType[static_cast<std::size_t>(s.entry)])) {
        case 'b':
            return s.kind == SeatKind::Black ? "+" : "-";
        case 'w':
            return s.kind == SeatKind::White ? "+" : "-";
        case 'n':
            return "-";
        default:
            return phonePoints(c.t->players[static_cast<std::size_t>(index)].scoreInRound(roundIndex));
    }
}

std::string boardResult(const PhoneContext& c, int roundIndex, int board, const data::Player& w,
                        const data::Player& bl) {
    const data::RoundRecord& round = c.t->rounds[static_cast<std::size_t>(roundIndex)];
    const auto b = static_cast<std::size_t>(board);
    if (round.whiteScore[b] == -1.0f) return {};
    switch (forfeit(round.whiteType[b])) {
        case 'b':
            return "-/+";
        case 'w':
            return "+/-";
        case 'n':
            return "-/-";
        default:
            break;
    }
    return phonePoints(w.scoreInRound(roundIndex)) + "-" + phonePoints(bl.scoreInRound(roundIndex));
}

std::string_view colourWord(SeatKind kind) {
    switch (kind) {
        case SeatKind::White:
            return "White";
        case SeatKind::Black:
            return "Black";
        default:
            return "";
    }
}

}  // namespace phone
}  // namespace pairweb::site

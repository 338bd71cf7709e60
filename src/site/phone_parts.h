#pragma once

#include <string>
#include <string_view>

#include "site/fragments.h"
#include "site/phone_pages.h"

// Pieces that several phone pages share; for the phone page writers only.
namespace pairweb::site::phone {

// The document's head, up to and including "</head>"; the title is pageTitle and the
// tournament's title.
void writeDocumentHead(Page& page, const PhoneContext& c, std::string_view pageTitle);
// Head, body opening and page header, up to and including the h1 of the page. pageTitle is
// markup (labels as they stand, texts escaped).
void writeHead(Page& page, const PhoneContext& c, std::string_view pageTitle);
// The search field of a page with a player list.
void writeSearch(Page& page);
// The page's end: links to the player list and the full site.
void writeFooter(Page& page, const PhoneContext& c);
// A table in a region of its own that scrolls sideways: opening up to the head row's
// opening "<tr>", with caption id and text; filtered tables answer the search.
void openTable(Page& page, std::string_view id, std::string_view caption, bool filtered);
// The head row's end, the body's opening.
void endHead(Page& page);
void closeTable(Page& page);
// "<th scope=\"col\">" + text + "</th>" as one line.
void headCell(Page& page, std::string_view text);

// A player's name, escaped: "Surname, First", with the title in front when titles show.
void writeName(Page& page, const PhoneContext& c, const data::Player& p);
// The name as a link to the player's card, the title in front of the link (a player
// without a start rank has no card).
void writePlayerLink(Page& page, const PhoneContext& c, const data::Player& p);
// The link of the player at an index, or nothing for -1.
void writePlayerLinkAt(Page& page, const PhoneContext& c, int index);

// A player's own result in a round: "1", "&frac12;", "0", "+" or "-" for a forfeit, the
// points of an unpaired entry; empty without a result or a seat.
std::string seatResult(const PhoneContext& c, int roundIndex, int index);
// A board's result: "1-0", "&frac12;-&frac12;", "+/-", "-/+", "-/-"; empty without one.
std::string boardResult(const PhoneContext& c, int roundIndex, int board, const data::Player& w,
                        const data::Player& bl);
// "White", "Black" or empty.
std::string_view colourWord(SeatKind kind);

}  // namespace pairweb::site::phone

#pragma once

#include <string>
#include <vector>

#include "page_test_support.h"
#include "site/phone_pages.h"

namespace pairweb::site {

// Five players, one with markup and quotes in the first name, four rounds: a win, a draw and
// a full-point bye; a forfeit, a loss and a half-point bye; a round with no records at all
// (unpaired); and a round paired without results, in which one player is not paired.
inline std::vector<testing::PlayerRow> phoneEventPlayers() {
    return {
        {1, 1, "Adams", "Mickey", "ENG", "Lewes", 2500, 2400, "1"},
        {2, 2, "N\xED Bhriain", "Sin\xE9" "ad", "IRL", "", 2300, 0, ""},
        {3, 3, "O'Neill", "Pat", "IRL", "", 2100, 0, ""},
        {4, 4, "Cole", "Tom <&> \"T\"", "SCO", "", 1900, 0, ""},
        {5, 5, "Egan", "Pat", "", "", 0, 0, ""},
    };
}

inline std::vector<testing::GameRow> phoneEventGames() {
    return {
        // round, white, black, W_SCORE, B_SCORE, W_TYPE (scores in half points)
        {1, 1, 2, 2, 0, 0}, {1, 3, 4, 1, 1, 0}, {1, 5, 0, 2, 0, 0},
        {2, 4, 1, 0, 2, 34}, {2, 2, 5, 0, 2, 0}, {2, 0, 3, 0, 1, 0},
        {4, 1, 3, 0, 0, 0}, {4, 5, 2, 0, 0, 0},
    };
}

// The settings of the phone tests: titles shown, a disclaimer, a title with an ampersand.
inline settings::Settings phoneSettings() {
    settings::Settings s;
    s.DisplayTitles = 1;
    s.Disclaimer = "Results are provisional";
    s.TourneyName = "Cork & District Open";
    return s;
}

// The lines every phone page starts with, up to its h1 with pageTitle.
inline std::vector<std::string> phoneHead(const std::string& pageTitle) {
    return {"<!DOCTYPE html>",
            "<html lang=\"en\" data-v=\"0000000000000000\">",
            "<head>",
            "<meta charset=\"windows-1252\">",
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
            "<title>" + pageTitle + " - Cork &amp; District Open</title>",
            "<link rel=\"icon\" href=\"data:,\">",
            "<link rel=\"stylesheet\" href=\"phone.css\">",
            "<script src=\"phone.js\" defer></script>",
            "</head>",
            "<body>",
            "<header><a href=\"index.html\">Cork &amp; District Open</a></header>",
            "<main>",
            "<h1>" + pageTitle + "</h1>"};
}

inline std::vector<std::string> phoneFooter() {
    return {"</main>",
            "<footer><a href=\"players.html\">Player List</a> <a href=\"../index.html?full\">"
            "Full site</a></footer>",
            "</body>", "</html>"};
}

inline const char* kPhoneSearch =
    "<form class=\"s\" role=\"search\" hidden><label for=\"q\">Find my name</label>"
    "<input id=\"q\" type=\"search\" autocomplete=\"off\" spellcheck=\"false\"></form>";

// A table's opening lines up to the body: region, caption and head cells.
inline std::vector<std::string> phoneTable(const std::string& id, const std::string& caption,
                                           bool filtered, const std::vector<std::string>& heads) {
    std::vector<std::string> lines = {
        "<div class=\"w\" tabindex=\"0\" role=\"region\" aria-labelledby=\"" + id + "\"><table" +
            (filtered ? " class=\"f\"" : "") + "><caption id=\"" + id + "\">" + caption +
            "</caption>",
        "<thead><tr>"};
    for (const std::string& head : heads) lines.push_back("<th scope=\"col\">" + head + "</th>");
    lines.push_back("</tr></thead>");
    lines.push_back("<tbody>");
    return lines;
}

inline const char* kPhoneTableEnd = "</tbody></table></div>";

// The players' links as the pages write them (titles shown).
inline const std::string kAdams = "GM <a href=\"player1.html\">Adams, Mickey</a>";
inline const std::string kBhriain = "<a href=\"player2.html\">N\xED Bhriain, Sin\xE9" "ad</a>";
inline const std::string kONeill = "<a href=\"player3.html\">O'Neill, Pat</a>";
inline const std::string kCole =
    "<a href=\"player4.html\">Cole, Tom &lt;&amp;&gt; &quot;T&quot;</a>";
inline const std::string kEgan = "<a href=\"player5.html\">Egan, Pat</a>";

}  // namespace pairweb::site

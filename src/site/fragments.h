#pragma once

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "site/page_options.h"

namespace pairweb::site {

// Version text shown in every footer and in the stylesheet.
constexpr std::string_view kVersion = "1.0.3";
// Address of the product's home page, linked from every footer.
constexpr std::string_view kProductHomePage = "https://pairweb.org/";

// A text from the tournament's tables on its way into a page: written with "&", "<", ">" and
// '"' as character references, so that no name or club can act as markup.
struct HtmlText {
    std::string_view text;
};
inline HtmlText html(std::string_view text) { return {text}; }

// A page under construction: pieces are appended in order, and every line ends with CR LF.
// The buffer grows by doubling and is handed over whole, so building a page costs one copy
// of each piece.
class Page {
  public:
    Page() { m_text.resize(kInitialCapacity); }

    Page& operator<<(std::string_view text) {
        if (m_used + text.size() > m_text.size()) {
            grow(text.size());
        }
        std::memcpy(m_text.data() + m_used, text.data(), text.size());
        m_used += text.size();
        return *this;
    }
    // String literals: their length is known without counting.
    template <std::size_t N>
    Page& operator<<(const char (&text)[N]) {
        return *this << std::string_view(text, N - 1);
    }
    Page& operator<<(const std::string& text) { return *this << std::string_view(text); }
    Page& operator<<(int number);
    Page& operator<<(HtmlText text);
    Page& operator<<(char) = delete;
    // Ends the current line.
    Page& endl() { return *this << std::string_view("\r\n", 2); }
    // Appends the pieces one after the other, then ends the line.
    template <typename... Pieces>
    Page& line(const Pieces&... pieces) {
        ((*this << pieces), ...);
        return endl();
    }

    std::string text() const { return m_text.substr(0, m_used); }
    std::string take() {
        m_text.resize(m_used);
        m_used = 0;
        return std::move(m_text);
    }

  private:
    void grow(std::size_t needed) { m_text.resize(std::max(2 * m_text.size(), m_used + needed)); }

    static constexpr std::size_t kInitialCapacity = 16 * 1024;
    std::string m_text;  // the first m_used bytes are the page
    std::size_t m_used = 0;
};

// The text with "&", "<", ">" and '"' written as character references.
std::string escapeHtml(std::string_view text);
// The text of a PGN tag value: "\\" and '"' written with a backslash before them.
std::string escapePgnTag(std::string_view text);
// Text for a file written by the web server's PHP: every "<?" written as "&lt;?", so that no
// text can open PHP code.
std::string escapePhpOpening(std::string_view text);
// A file name (a text of the site, Windows-1252) for a link (an href): the characters that
// would end the attribute, start a query or fragment, or a character reference, and every
// character beyond ASCII (as its UTF-8 bytes), written percent-encoded ("%22", "%C3%B6").
// Other names are unchanged.
std::string linkName(std::string_view name);
// A file name for a link opened through "javascript:OpenLTPgnViewer('...')": the characters
// that would end the script's string, the attribute or the query's first item, or start a
// character reference, are written percent-encoded, with the "%" itself as "%25" because the
// browser decodes a javascript: address once before it runs it. Other names are unchanged.
std::string scriptLinkName(std::string_view name);

// Points as the pages show them: whole numbers, "&frac12" for a half ("3&frac12"), empty for
// any other fraction.
std::string scoreText(double v);

// The shortest form with at most six significant digits ("0", "2", "1.5", "12.25").
std::string numberText(double v);

// The 24-character local-time form "Mon Dec 07 14:05:09 2026", followed by CR LF.
std::string dateText(std::time_t time);

void writeHeadOpening(Page& page);
void writeNoCacheBlock(Page& page);
// The script that opens the PGN viewer; written only with LinkPGN.
void writeViewerScript(Page& page, const PageOptions& options);
void writeStylesheetLink(Page& page);

// The first row of a round page's table: previous link, title, next link.
struct NavigationRow {
    int columns = 0;
    std::string_view linkOpening;  // "<a href=\"results_round" or "<a href=\"standings_round"
    std::string_view label;
    std::string_view separator;
    int round = 0;
    bool hasNext = false;
};
void writeNavigationRow(Page& page, const NavigationRow& row, const PageLabels& labels);

// Heads of the rating columns: Rating_1 and Rating_2 when both ratings are shown, one
// Rating head when only one is, none otherwise.
void writeRatingHeads(Page& page, const PageOptions& o, const PageLabels& labels);

// Closes the table, the centring and the page: home link, version and date.
void writeFooter(Page& page, std::string_view homeFile, std::time_t time);

}  // namespace pairweb::site

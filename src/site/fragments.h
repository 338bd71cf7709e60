#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "site/page_options.h"

namespace pairweb::site {

// Version text shown in every footer and in the stylesheet.
constexpr std::string_view kVersion = "1.0.3";
// Address of the product's home page, linked from every footer.
constexpr std::string_view kProductHomePage = "https://pairweb.org/";

// A page under construction: pieces are appended in order, and every line ends with CR LF.
class Page {
public:
    Page() { m_text.reserve(kInitialCapacity); }

    Page& operator<<(std::string_view text) {
        m_text += text;
        return *this;
    }
    Page& operator<<(const char* text) { return *this << std::string_view(text); }
    Page& operator<<(const std::string& text) { return *this << std::string_view(text); }
    Page& operator<<(int number);
    Page& operator<<(char) = delete;
    // Ends the current line.
    Page& endl() {
        m_text += "\r\n";
        return *this;
    }
    // Appends the pieces one after the other, then ends the line.
    template <typename... Pieces>
    Page& line(const Pieces&... pieces) {
        ((*this << pieces), ...);
        return endl();
    }

    const std::string& text() const { return m_text; }
    std::string take() { return std::move(m_text); }

private:
    static constexpr std::size_t kInitialCapacity = 16 * 1024;
    std::string m_text;
};

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

#include "site/fragments.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "data/windows1252.h"

namespace pairweb::site {

Page& Page::operator<<(int number) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return *this << std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

namespace {

constexpr std::string_view kHtmlSpecial = "&<>\"";

std::string_view htmlReference(char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return "&quot;";
    }
}

}  // namespace

Page& Page::operator<<(HtmlText text) {
    std::string_view rest = text.text;
    for (std::size_t at = rest.find_first_of(kHtmlSpecial); at != std::string_view::npos;
         at = rest.find_first_of(kHtmlSpecial)) {
        *this << rest.substr(0, at) << htmlReference(rest[at]);
        rest.remove_prefix(at + 1);
    }
    return *this << rest;
}

std::string escapeHtml(std::string_view text) {
    Page page;
    page << html(text);
    return page.take();
}

std::string escapePgnTag(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

std::string escapePhpOpening(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '?') {
            out += "&lt;";
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

// The name with the characters that a link cannot hold as they are written as "%XX", with
// afterPercent after each "%" ("25" makes the sequence survive one more decoding). The
// name is a text of the site (Windows-1252); a character beyond ASCII goes as the bytes of
// its UTF-8 form, the form of the file's name on disk and on the host, which browsers and
// the web server's scripts decode alike.
std::string percentEncoded(std::string_view name, std::string_view afterPercent) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    static constexpr std::string_view kSpecial = "\"#%&'<>\\";
    std::string out;
    out.reserve(name.size());
    for (const char c : data::windows1252ToUtf8(name)) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F || kSpecial.find(c) != std::string_view::npos) {
            out += '%';
            out += afterPercent;
            out += kDigits[b >> 4];
            out += kDigits[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string linkName(std::string_view name) { return percentEncoded(name, ""); }

std::string scriptLinkName(std::string_view name) { return percentEncoded(name, "25"); }

std::string scoreText(double v) {
    const double whole = std::floor(v);
    const double frac = v - whole;
    const auto wholeInt = static_cast<long long>(whole);
    if (std::fabs(frac - 1.0) < 0.1) {
        return std::to_string(wholeInt + 1);
    }
    if (std::fabs(frac - 0.5) < 0.1) {
        return wholeInt == 0 ? std::string("&frac12") : std::to_string(wholeInt) + "&frac12";
    }
    if (std::fabs(frac) < 0.1) {
        return std::to_string(wholeInt);
    }
    return {};
}

std::string numberText(double v) {
    // Points and tiebreaks are quarter points almost always: their exact decimal form is what
    // "%g" writes as long as it needs at most six significant digits.
    const double quarters = v * 4.0;
    if (quarters == std::floor(quarters) && std::fabs(v) < 10000.0) {
        const auto q = static_cast<long>(std::fabs(quarters));
        std::string text = std::signbit(v) ? "-" : "";
        text += std::to_string(q / 4);
        static constexpr const char* kFractions[] = {"", ".25", ".5", ".75"};
        text += kFractions[q % 4];
        return text;
    }
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, "%g", v);
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string dateText(std::time_t time) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::tm* local = std::localtime(&time);
    if (local == nullptr) {
        return "Thu Jan 01 00:00:00 1970\r\n";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %s %02d %02d:%02d:%02d %d\r\n",
                  kDays[local->tm_wday % 7], kMonths[local->tm_mon % 12], local->tm_mday,
                  local->tm_hour, local->tm_min, local->tm_sec, local->tm_year + 1900);
    return buffer;
}

void writeHeadOpening(Page& page) { page.line("<html><head>"); }

void writeNoCacheBlock(Page& page) {
    page.line("<META HTTP-EQUIV=\"CACHE-CONTROL\" CONTENT=\"NO-CACHE\">");
    page.line("<META HTTP-EQUIV=\"PRAGMA\" CONTENT=\"NO-CACHE\">");
    page.line("<META HTTP-EQUIV=\"EXPIRES\" CONTENT=\"0\">");
}

void writeViewerScript(Page& page, const PageOptions& options) {
    if (!options.LinkPGN) {
        return;
    }
    page.line("<script language=\"JavaScript\">");
    page.line("function OpenLTPgnViewer(urlstr, width, height)");
    page.line(
        "{ window.open(urlstr,\"LTPgnViewerWindow\",\"width=\"+width+\",height=\"+height+\","
        "menubar=no,locationbar=no,resizable=yes,status=no,scrollbars=no\");}");
    page.line("</script>");
}

void writeStylesheetLink(Page& page) {
    page.line("<link type=\"text/css\" rel=\"stylesheet\" href=\"style.css\">");
}

void writeNavigationRow(Page& page, const NavigationRow& row, const PageLabels& labels) {
    page << "<tr><td colspan=" << row.columns << ">";
    page << "<table class=\"plain\" width=\"100%\"><tr><td class=\"plain\" width=45 align=left>";
    if (row.round > 1) {
        page << row.linkOpening << (row.round - 1) << ".html\">" << labels.Previous << "</a>";
    }
    page << "</td><td class=\"title\" align=center>" << row.label << row.separator << labels.Round
         << " " << row.round;
    page << "</td><td class=\"plain\" width=45 align=right>";
    if (row.hasNext) {
        page << row.linkOpening << (row.round + 1) << ".html\">" << labels.Next << "</a>";
    }
    page << "</td></tr></table></td></tr>";
    page.endl();
}

void writeRatingHeads(Page& page, const PageOptions& o, const PageLabels& labels) {
    if (o.DisplayRating && o.DisplayRating_2) {
        page.line("<td class=\"head\">", labels.Rating_1, "</td>");
        page.line("<td class=\"head\">", labels.Rating_2, "</td>");
    } else if (o.DisplayRating || o.DisplayRating_2) {
        page.line("<td class=\"head\">", labels.Rating, "</td>");
    }
}

void writeFooter(Page& page, std::string_view homeFile, std::time_t time) {
    page << "</table><a class=\"home\" target=\"_parent\" href=\"" << homeFile
         << "\">home</a></center><br><br><p class=\"fnote\">Created by <a target=\"top\" href=\""
         << kProductHomePage << "\">pairweb version " << kVersion << "</a> on " << dateText(time)
         << "</p></body></html>";
    page.endl();
}

}  // namespace pairweb::site

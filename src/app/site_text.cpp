#include "app/site_text.h"

#include <vector>

#include "data/windows1252.h"

namespace pairweb::app {
namespace {

// Code points of a UTF-8 text; a malformed sequence gives U+FFFD.
std::vector<char32_t> codePoints(std::string_view utf8) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < utf8.size();) out.push_back(data::nextUtf8(utf8, i));
    return out;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t k = 0;
    while (k < text.size()) {
        if (text.substr(k, from.size()) == from) {
            out += to;
            k += from.size();
        } else {
            out += text[k++];
        }
    }
    return out;
}

}  // namespace

std::string siteTextToUtf8(std::string_view bytes) { return data::windows1252ToUtf8(bytes); }

std::string utf8ToSiteText(std::string_view utf8) {
    std::string out;
    for (const char32_t c : codePoints(utf8)) {
        out += static_cast<char>(data::unicodeToWindows1252(c).value_or('?'));
    }
    return out;
}

std::optional<char32_t> firstRefused(std::string_view utf8) {
    for (const char32_t c : codePoints(utf8)) {
        if (!data::unicodeToWindows1252(c)) return c;
    }
    return std::nullopt;
}

std::string withoutRefused(std::string_view utf8) {
    std::string out;
    for (const char32_t c : codePoints(utf8)) {
        if (data::unicodeToWindows1252(c)) data::appendUtf8(out, c);
    }
    return out;
}

std::string refusalNote(char32_t c) {
    std::string shown;
    data::appendUtf8(shown, c);
    return "\"" + shown +
           "\" cannot be used here: the site's pages are written in Windows-1252 (Western "
           "European), which lacks it.";
}

std::string multiLineToControl(std::string_view stored, LineBreaks breaks) {
    return breaks == LineBreaks::CrLf ? std::string(stored) : replaceAll(stored, "\r\n", "\n");
}

std::string multiLineFromControl(std::string_view shown, LineBreaks breaks) {
    return breaks == LineBreaks::CrLf ? std::string(shown) : replaceAll(shown, "\n", "\r\n");
}

}  // namespace pairweb::app

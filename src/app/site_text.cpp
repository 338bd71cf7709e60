#include "app/site_text.h"

#include <vector>

#include "data/windows1252.h"

namespace pairweb::app {
namespace {

// Code points of a UTF-8 text; a byte that starts no valid sequence gives U+FFFD.
std::vector<char32_t> codePoints(std::string_view utf8) {
    std::vector<char32_t> out;
    std::size_t k = 0;
    while (k < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[k]);
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        char32_t c = extra == 0   ? b
                     : extra == 1 ? (b & 0x1F)
                     : extra == 2 ? (b & 0x0F)
                                  : (b & 0x07);
        bool valid = extra >= 0 && k + static_cast<std::size_t>(extra) < utf8.size();
        for (int n = 1; valid && n <= extra; ++n) {
            const auto t = static_cast<unsigned char>(utf8[k + static_cast<std::size_t>(n)]);
            if ((t & 0xC0) != 0x80) {
                valid = false;
            } else {
                c = (c << 6) | (t & 0x3F);
            }
        }
        if (!valid) {
            out.push_back(0xFFFD);
            ++k;
            continue;
        }
        out.push_back(c);
        k += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
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
        if (data::unicodeToWindows1252(c)) appendUtf8(out, c);
    }
    return out;
}

std::string refusalNote(char32_t c) {
    std::string shown;
    appendUtf8(shown, c);
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

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pairweb::data {

// Every text of the site (pages and PGN files) is in Windows-1252, the character set of the
// pairing program's tables. Front ends that hold Unicode convert at their own boundary.

// The Unicode character of one Windows-1252 byte. The five bytes that Windows-1252 leaves
// unassigned map to the control characters of the same number, so every byte converts and
// converts back.
char32_t windows1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a Unicode character, or nothing when it has none.
std::optional<unsigned char> unicodeToWindows1252(char32_t c);

// UTF-8: the character at i (advancing i past it; U+FFFD for a malformed sequence), and
// one character appended.
char32_t nextUtf8(std::string_view s, std::size_t& i);
void appendUtf8(std::string& out, char32_t c);

// True when the text is valid UTF-8.
bool isValidUtf8(std::string_view text);

// Windows-1252 text to UTF-8.
std::string windows1252ToUtf8(std::string_view text);

}  // namespace pairweb::data

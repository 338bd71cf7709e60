#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pairweb::app {

// Controls hold Unicode (UTF-8 here); texts of the site are Windows-1252 bytes. Paths are
// not texts of the site: they stay UTF-8, the file system's encoding.
std::string siteTextToUtf8(std::string_view bytes);
// Characters without a Windows-1252 byte become "?"; the controls refuse them before.
std::string utf8ToSiteText(std::string_view utf8);

// The first character of a control's text that Windows-1252 lacks, if any.
std::optional<char32_t> firstRefused(std::string_view utf8);
// The text without the characters Windows-1252 lacks.
std::string withoutRefused(std::string_view utf8);
// The note shown where such a character was typed or pasted.
std::string refusalNote(char32_t c);

// How a multi-line edit of a toolkit separates lines. Settings keep CR LF.
enum class LineBreaks { Lf, CrLf };
// A multi-line setting as its control shows it, and back.
std::string multiLineToControl(std::string_view stored, LineBreaks breaks);
std::string multiLineFromControl(std::string_view shown, LineBreaks breaks);

}  // namespace pairweb::app

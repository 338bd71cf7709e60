#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <string>

namespace pairweb::win {

// UTF-8 inside the program, UTF-16 at the Windows API.
std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);

// A window's text as UTF-8.
std::string windowText(HWND window);
void setWindowText(HWND window, const std::string& utf8);

// Keeps an edit's text to what Windows-1252 holds: a refused character is taken out again
// and a balloon note says why.
void guardSiteText(HWND edit);
// The note last shown for an edit ("" when none).
std::string refusalNoteOf(HWND edit);

// Draws the program's picture (a knight on a navy square) in an owner-drawn static.
void drawPicture(const DRAWITEMSTRUCT& item);

}  // namespace pairweb::win

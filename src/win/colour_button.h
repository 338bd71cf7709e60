#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <cstdint>

#include "app/palette.h"
#include "app/prompts.h"

namespace pairweb::win {

// The message a colour button sends its parent when its palette closes: the colour it took
// in wParam, the button's control id in lParam.
constexpr UINT kCloseUp = WM_APP + 1;

// The window class of the palette.
constexpr const wchar_t* kPaletteClass = L"PairwebColourPalette";

// An owner-drawn push button of a dialog that shows a colour; a click (forwarded by the
// dialog) drops down the palette. State and rules are the shared ColourButtonState's.
class ColourButton {
  public:
    ColourButton(HWND button, app::Prompts& prompts);

    HWND handle() const { return m_button; }
    app::ColourButtonState& state() { return m_state; }
    std::uint32_t colour() const { return m_state.colour(); }
    void setColour(std::uint32_t colour);

    // Opens the palette below the button (what a click does).
    void openPalette();
    // The open palette's window, or nullptr.
    HWND palette() const { return m_palette; }

    // From the palette, when it ends (a cancel gives the colour it opened with).
    void selectionEnded(std::uint32_t colour);
    void paletteClosed() { m_palette = nullptr; }

    void draw(const DRAWITEMSTRUCT& item) const;

  private:
    void notify(UINT message, std::uint32_t colour) const;

    HWND m_button;
    app::Prompts& m_prompts;
    app::ColourButtonState m_state;
    HWND m_palette = nullptr;
};

}  // namespace pairweb::win

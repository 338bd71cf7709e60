#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <cstdint>

#include "app/palette.h"
#include "app/prompts.h"

namespace pairweb::win {

// Messages of a colour button to its parent (and of its palette to the button), each with
// the colour in wParam and the button's control id in lParam.
constexpr UINT kSelectionChanged = 2025;
constexpr UINT kDropDown = 2026;
constexpr UINT kCloseUp = 2027;
constexpr UINT kSelectionEnded = 2028;
constexpr UINT kSelectionCancelled = 2029;

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

    // From the palette.
    void selectionChanged(std::uint32_t colour);
    void selectionEnded(std::uint32_t colour, bool accepted);
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

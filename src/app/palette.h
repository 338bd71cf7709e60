#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "settings/settings.h"

namespace pairweb::app {

// The colour picker: a button showing a colour that drops down a palette of 40 cells, an
// optional default box on top (the automatic colour) and an optional custom box below
// (the full colour dialog). Colours are 0x00BBGGRR. Everything here is the same in every
// front end; the front ends draw it and forward the mouse and the keyboard.

using settings::kAutomaticColour;

// Items of the palette: 0 to 39 are cells, then the two boxes, or nothing.
constexpr int kDefaultBox = -3;
constexpr int kCustomBox = -2;
constexpr int kNoItem = -1;
constexpr int kPaletteCells = 40;
constexpr int kPaletteColumns = 8;
constexpr int kPaletteRows = (kPaletteCells + kPaletteColumns - 1) / kPaletteColumns;

// One cell: its colour and its tooltip ("" for most).
struct PaletteCell {
    std::uint32_t colour;
    const char* name;
};
// The 40 cells, row by row.
const std::array<PaletteCell, kPaletteCells>& paletteCells();

// The keys the palette answers; front ends map their own key codes to these.
enum class Key { Left, Right, Up, Down, Enter, Space, Escape, Other };

// The item an arrow key moves to from current, with the boxes shown or not.
int moveSelection(int current, Key key, bool hasDefault, bool hasCustom);

// The item chosen when the palette opens on colour: the default box for the automatic
// colour (if shown), else the first cell of exactly that colour, else the custom box (if
// shown), else nothing.
int initialSelection(std::uint32_t colour, bool hasDefault, bool hasCustom);

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    bool operator==(const Rect&) const = default;
};

// Where the palette's items lie, in window coordinates.
class PaletteGeometry {
  public:
    // margin: the platform's edge width; textWidth/textHeight: the larger extent of the
    // two box texts in the menu font (ignored when neither box is shown).
    PaletteGeometry(int margin, bool hasDefault, bool hasCustom, int textWidth, int textHeight);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int cellSize() const { return m_cellSize; }
    Rect itemRect(int index) const;
    // The item under a point, or kNoItem.
    int itemAt(int x, int y) const;
    // The square of a cell filled with its colour: the cell inset by margin + 1.
    Rect swatchRect(int index) const;

    // The window's top-left corner for a button whose lower-left corner is at (x, y):
    // kept inside the screen area, above the button when it would pass the bottom.
    std::pair<int, int> place(int x, int y, int buttonHeight, const Rect& screen) const;

  private:
    int m_margin;
    bool m_hasDefault;
    bool m_hasCustom;
    int m_cellSize = 18;
    int m_width = 0;
    int m_height = 0;
    int m_gridTop = 0;
    Rect m_defaultRect;
    Rect m_customRect;
};

// The selection of an open palette.
class PaletteSelection {
  public:
    PaletteSelection(std::uint32_t colour, bool hasDefault, bool hasCustom);

    int current() const { return m_current; }
    int chosen() const { return m_chosen; }
    // The colour under selection: the cell's, the automatic colour for the default box,
    // the initial colour for the custom box.
    std::uint32_t colour() const { return m_colour; }
    bool ended() const { return m_ended; }

    // Makes index current; true when it changed (tell the button, repaint).
    bool select(int index);

    enum class KeyAction { None, Moved, Accept, Cancel };
    // Arrows move (Moved when the item changed); Enter and Space accept; Escape restores
    // the initial colour and cancels.
    KeyAction key(Key k);

    struct Outcome {
        bool accepted;
        std::uint32_t colour;
    };
    // Ends the selection (once; later calls repeat the first outcome). Accepting the
    // custom box asks for a colour with chooseColour, which starts at the returned start
    // colour; its cancel turns the end into a cancel. A cancel gives the initial colour.
    template <typename ChooseColour>
    Outcome finish(bool accepted, ChooseColour&& chooseColour) {
        if (!m_ended) {
            m_ended = true;
            std::uint32_t colour = m_colour;
            if (accepted && m_current == kCustomBox) {
                if (const auto picked = chooseColour(colourDialogStart())) {
                    colour = *picked & 0xFFFFFFu;
                } else {
                    accepted = false;
                }
            }
            m_outcome = {accepted, accepted ? colour : m_initial};
        }
        return m_outcome;
    }
    // Where the colour dialog starts: the initial colour (black for the automatic one).
    std::uint32_t colourDialogStart() const;

  private:
    bool m_hasDefault;
    bool m_hasCustom;
    std::uint32_t m_initial;
    std::uint32_t m_colour;
    int m_current;
    int m_chosen;
    bool m_ended = false;
    Outcome m_outcome{false, 0};
};

// The state of a colour button: the colour it shows (its face), the colour of its caption,
// and the texts of its palette's boxes. The button takes a colour when its palette ends.
class ColourButtonState {
  public:
    // buttonFace, buttonText: the platform's button colours, the initial colours.
    ColourButtonState(std::uint32_t buttonFace, std::uint32_t buttonText)
        : m_background(buttonFace), m_text(buttonText) {}

    std::uint32_t colour() const { return m_background; }
    void setColour(std::uint32_t colour) { m_background = colour; }
    bool active() const { return m_active; }
    // Caption of the palette's top box; empty hides it.
    const std::string& defaultText() const { return m_defaultText; }
    void setDefaultText(std::string text) { m_defaultText = std::move(text); }
    // Caption of the palette's bottom box.
    const std::string& customText() const { return m_customText; }

    // The palette opens.
    void dropDown() { m_active = true; }
    // The palette ended, accepted or not, with this colour.
    void selectionEnded(std::uint32_t colour);

    // Drawing: the swatch's fill (nothing: the button-face colour, when disabled or
    // automatic) and the caption's colour.
    std::optional<std::uint32_t> swatchColour(bool enabled) const;
    std::uint32_t captionColour() const;

  private:
    std::uint32_t m_background;
    std::uint32_t m_text;
    bool m_active = false;
    std::string m_defaultText = "Automatic";
    std::string m_customText = "More Colours...";
};

}  // namespace pairweb::app

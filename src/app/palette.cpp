#include "app/palette.h"

#include <algorithm>

namespace pairweb::app {
namespace {

constexpr std::uint32_t rgb(std::uint32_t rrggbb) {
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

}  // namespace

const std::array<PaletteCell, kPaletteCells>& paletteCells() {
    static const std::array<PaletteCell, kPaletteCells> kCells = {{
        {rgb(0x000000), "Black"}, {rgb(0x000080), ""}, {rgb(0xEAEAFF), ""},
        {rgb(0xFFFF00), ""},      {rgb(0x0000FF), ""}, {rgb(0xFFFFFF), ""},
        {rgb(0x0066FF), ""},      {rgb(0x00CCCC), ""}, {rgb(0x00CCFF), ""},
        {rgb(0x00FFFF), ""},      {rgb(0x330066), ""}, {rgb(0x3300CC), ""},
        {rgb(0x3300FF), ""},      {rgb(0x333366), ""}, {rgb(0x336666), ""},
        {rgb(0x3366CC), ""},      {rgb(0x3366FF), ""}, {rgb(0x33CCCC), ""},
        {rgb(0x33CCFF), ""},      {rgb(0x33FFFF), ""}, {rgb(0x660066), ""},
        {rgb(0x6600CC), ""},      {rgb(0x6600FF), ""}, {rgb(0x666666), ""},
        {rgb(0x6666CC), ""},      {rgb(0x6666FF), ""}, {rgb(0x66CCCC), ""},
        {rgb(0x66CCFF), ""},      {rgb(0x66FFFF), ""}, {rgb(0xCC00CC), ""},
        {rgb(0xCC00FF), ""},      {rgb(0xCC66CC), ""}, {rgb(0xCC66FF), ""},
        {rgb(0xCCCCCC), ""},      {rgb(0xCCCCFF), ""}, {rgb(0xCCFFFF), ""},
        {rgb(0xFF00FF), ""},      {rgb(0xFF66FF), ""}, {rgb(0xFFCCFF), ""},
        {rgb(0xFFFFFF), "White"},
    }};
    return kCells;
}

int moveSelection(int current, Key key, bool hasDefault, bool hasCustom) {
    const int last = kPaletteCells - 1;
    switch (key) {
        case Key::Left:
            if (current > 0) return current - 1;
            if (current == 0) return hasDefault ? kDefaultBox : hasCustom ? kCustomBox : last;
            if (current == kDefaultBox) return hasCustom ? kCustomBox : last;
            return last;  // from the custom box, or from nothing
        case Key::Right:
            if (current >= 0 && current < last) return current + 1;
            if (current == last) return hasCustom ? kCustomBox : hasDefault ? kDefaultBox : 0;
            if (current == kCustomBox) return hasDefault ? kDefaultBox : 0;
            return 0;  // from the default box, or from nothing
        case Key::Up:
            if (current >= kPaletteColumns) return current - kPaletteColumns;
            if (current >= 0) return hasDefault ? kDefaultBox : hasCustom ? kCustomBox : last;
            if (current == kDefaultBox) return hasCustom ? kCustomBox : last;
            return last;
        case Key::Down:
            if (current >= 0 && current + kPaletteColumns <= last) return current + kPaletteColumns;
            if (current >= 0) return hasCustom ? kCustomBox : hasDefault ? kDefaultBox : 0;
            if (current == kCustomBox) return hasDefault ? kDefaultBox : 0;
            return 0;
        default:
            return current;
    }
}

int initialSelection(std::uint32_t colour, bool hasDefault, bool hasCustom) {
    if (colour == kAutomaticColour && hasDefault) {
        return kDefaultBox;
    }
    const auto& cells = paletteCells();
    for (int k = 0; k < kPaletteCells; ++k) {
        if (cells[static_cast<std::size_t>(k)].colour == colour) {
            return k;
        }
    }
    return hasCustom ? kCustomBox : kNoItem;
}

PaletteGeometry::PaletteGeometry(int margin, bool hasDefault, bool hasCustom, int textWidth,
                                 int textHeight)
    : m_margin(margin), m_hasDefault(hasDefault), m_hasCustom(hasCustom) {
    if (m_cellSize - 2 * m_margin - 7 < 0) {
        m_cellSize = 2 * m_margin + 7;
    }
    m_width = kPaletteColumns * m_cellSize + 2 * m_margin;
    m_height = kPaletteRows * m_cellSize + 2 * m_margin;
    int boxHeight = 0;
    if (hasDefault || hasCustom) {
        boxHeight = textHeight + 4 * m_margin + 2;
        m_width = std::max(m_width, textWidth + 2 * m_margin);
    }
    m_gridTop = m_margin;
    if (hasDefault) {
        m_defaultRect = {m_margin, m_margin, m_width - 2 * m_margin, boxHeight};
        m_gridTop += boxHeight;
        m_height += boxHeight;
    }
    if (hasCustom) {
        m_customRect = {m_margin, m_height - m_margin, m_width - 2 * m_margin, boxHeight};
        m_height += boxHeight;
    }
}

Rect PaletteGeometry::itemRect(int index) const {
    if (index == kDefaultBox) return m_hasDefault ? m_defaultRect : Rect{};
    if (index == kCustomBox) return m_hasCustom ? m_customRect : Rect{};
    if (index < 0 || index >= kPaletteCells) return {};
    return {m_margin + index % kPaletteColumns * m_cellSize,
            m_gridTop + index / kPaletteColumns * m_cellSize, m_cellSize, m_cellSize};
}

int PaletteGeometry::itemAt(int x, int y) const {
    if (m_hasDefault && m_defaultRect.contains(x, y)) return kDefaultBox;
    if (m_hasCustom && m_customRect.contains(x, y)) return kCustomBox;
    const int column = x - m_margin;
    const int row = y - m_gridTop;
    if (column < 0 || row < 0) return kNoItem;
    const int c = column / m_cellSize;
    const int r = row / m_cellSize;
    if (c >= kPaletteColumns || r >= kPaletteRows) return kNoItem;
    const int index = r * kPaletteColumns + c;
    return index < kPaletteCells ? index : kNoItem;
}

Rect PaletteGeometry::swatchRect(int index) const {
    const Rect cell = itemRect(index);
    const int inset = m_margin + 1;
    return {cell.x + inset, cell.y + inset, cell.width - 2 * inset, cell.height - 2 * inset};
}

std::pair<int, int> PaletteGeometry::place(int x, int y, int buttonHeight,
                                           const Rect& screen) const {
    if (x + m_width > screen.x + screen.width) x = screen.x + screen.width - m_width;
    if (x < screen.x) x = screen.x;
    if (y + m_height > screen.y + screen.height) y = y - buttonHeight - m_height;
    return {x, y};
}

PaletteSelection::PaletteSelection(std::uint32_t colour, bool hasDefault, bool hasCustom)
    : m_hasDefault(hasDefault),
      m_hasCustom(hasCustom),
      m_initial(colour),
      m_colour(colour),
      m_current(initialSelection(colour, hasDefault, hasCustom)),
      m_chosen(m_current) {}

bool PaletteSelection::select(int index) {
    if (index == m_current || m_ended) {
        return false;
    }
    m_current = index;
    if (index == kDefaultBox) {
        m_colour = kAutomaticColour;
    } else if (index >= 0 && index < kPaletteCells) {
        m_colour = paletteCells()[static_cast<std::size_t>(index)].colour;
    } else {
        m_colour = m_initial;  // the custom box, or nothing
    }
    return true;
}

PaletteSelection::KeyAction PaletteSelection::key(Key k) {
    switch (k) {
        case Key::Enter:
        case Key::Space:
            return KeyAction::Accept;
        case Key::Escape:
            m_colour = m_initial;
            return KeyAction::Cancel;
        case Key::Left:
        case Key::Right:
        case Key::Up:
        case Key::Down:
            return select(moveSelection(m_current, k, m_hasDefault, m_hasCustom)) ? KeyAction::Moved
                                                                                  : KeyAction::None;
        default:
            return KeyAction::None;
    }
}

std::uint32_t PaletteSelection::colourDialogStart() const { return m_initial & 0xFFFFFFu; }

void ColourButtonState::selectionEnded(std::uint32_t colour) {
    m_active = false;
    setColour(colour);
}

std::optional<std::uint32_t> ColourButtonState::swatchColour(bool enabled) const {
    if (!enabled || colour() == kAutomaticColour) return std::nullopt;
    return m_background & 0xFFFFFFu;
}

std::uint32_t ColourButtonState::captionColour() const {
    return colour() == kAutomaticColour ? 0u : m_text & 0xFFFFFFu;
}

}  // namespace pairweb::app

#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>

namespace pairweb::ui {

class CColourPicker;

// Items of the palette: 0 to 39 are cells, then the two boxes, or nothing.
constexpr int kDefaultBox = -3;
constexpr int kCustomBox = -2;
constexpr int kNoItem = -1;
constexpr int kPaletteCells = 40;
constexpr int kPaletteColumns = 8;

// One cell of the palette: its colour (0x00BBGGRR) and its tooltip ("" for most).
struct PaletteCell {
    std::uint32_t colour;
    const char* name;
};

// The 40 cells, row by row.
const std::array<PaletteCell, kPaletteCells>& paletteCells();

// The item that the arrow key moves to from current (a cell index or a box), with the
// boxes present or not.
int moveSelection(int current, int key, bool hasDefault, bool hasCustom);

// The item chosen when the palette opens on colour: the default box for the automatic
// colour (if shown), else the first cell of exactly that colour, else the custom box (if
// shown), else nothing.
int initialSelection(std::uint32_t colour, bool hasDefault, bool hasCustom);

// The drop-down palette of a CColourPicker: a borderless pop-up at the button's lower-left
// corner that tracks the mouse and the keyboard and tells its button what happens. It
// deletes itself when the selection ends.
class CColourPopup : public QWidget {
    Q_OBJECT

public:
    CColourPopup(const QPoint& topLeft, std::uint32_t colour, CColourPicker* owner,
                 const QString& defaultText, const QString& customText);

    int currentIndex() const { return m_current; }
    int chosenIndex() const { return m_chosen; }
    std::uint32_t colourUnderSelection() const { return m_colour; }
    // Geometry, for tests and for the mouse: the rectangle of an item in window coordinates.
    QRect itemRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void layoutItems(const QPoint& topLeft);
    int itemAt(const QPoint& pos) const;
    void changeSelection(int index);
    // Ends the selection: accepted or cancelled; tells the button and closes.
    void endSelection(bool accepted);
    std::uint32_t colourOf(int index) const;

    CColourPicker* m_owner;
    QString m_defaultText;
    QString m_customText;
    std::uint32_t m_initial;
    std::uint32_t m_colour;
    int m_current = kNoItem;
    int m_chosen = kNoItem;
    int m_cellSize = 18;
    int m_margin = 2;
    int m_rows = kPaletteCells / kPaletteColumns;
    QRect m_defaultRect;
    QRect m_customRect;
    int m_gridTop = 0;
    QFont m_menuFont;
    bool m_ended = false;
};

}  // namespace pairweb::ui

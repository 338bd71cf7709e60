#include "ui/colour_popup.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <qdrawutil.h>

#include "ui/colour_picker.h"
#include "ui/ui_services.h"

namespace pairweb::ui {
namespace {

constexpr std::uint32_t rgb(std::uint32_t rrggbb) {
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

}  // namespace

const std::array<PaletteCell, kPaletteCells>& paletteCells() {
    static const std::array<PaletteCell, kPaletteCells> kCells = {{
        {rgb(0x000000), "Black"}, {rgb(0x000080), ""}, {rgb(0xEAEAFF), ""}, {rgb(0xFFFF00), ""},
        {rgb(0x0000FF), ""},      {rgb(0xFFFFFF), ""}, {rgb(0x0066FF), ""}, {rgb(0x00CCCC), ""},
        {rgb(0x00CCFF), ""},      {rgb(0x00FFFF), ""}, {rgb(0x330066), ""}, {rgb(0x3300CC), ""},
        {rgb(0x3300FF), ""},      {rgb(0x333366), ""}, {rgb(0x336666), ""}, {rgb(0x3366CC), ""},
        {rgb(0x3366FF), ""},      {rgb(0x33CCCC), ""}, {rgb(0x33CCFF), ""}, {rgb(0x33FFFF), ""},
        {rgb(0x660066), ""},      {rgb(0x6600CC), ""}, {rgb(0x6600FF), ""}, {rgb(0x666666), ""},
        {rgb(0x6666CC), ""},      {rgb(0x6666FF), ""}, {rgb(0x66CCCC), ""}, {rgb(0x66CCFF), ""},
        {rgb(0x66FFFF), ""},      {rgb(0xCC00CC), ""}, {rgb(0xCC00FF), ""}, {rgb(0xCC66CC), ""},
        {rgb(0xCC66FF), ""},      {rgb(0xCCCCCC), ""}, {rgb(0xCCCCFF), ""}, {rgb(0xCCFFFF), ""},
        {rgb(0xFF00FF), ""},      {rgb(0xFF66FF), ""}, {rgb(0xFFCCFF), ""}, {rgb(0xFFFFFF), "White"},
    }};
    return kCells;
}

int moveSelection(int current, int key, bool hasDefault, bool hasCustom) {
    const int last = kPaletteCells - 1;
    switch (key) {
        case Qt::Key_Left:
            if (current > 0) return current - 1;
            if (current == 0) return hasDefault ? kDefaultBox : hasCustom ? kCustomBox : last;
            if (current == kDefaultBox) return hasCustom ? kCustomBox : last;
            return last;  // from the custom box, or from nothing
        case Qt::Key_Right:
            if (current >= 0 && current < last) return current + 1;
            if (current == last) return hasCustom ? kCustomBox : hasDefault ? kDefaultBox : 0;
            if (current == kCustomBox) return hasDefault ? kDefaultBox : 0;
            return 0;  // from the default box, or from nothing
        case Qt::Key_Up:
            if (current >= kPaletteColumns) return current - kPaletteColumns;
            if (current >= 0) return hasDefault ? kDefaultBox : hasCustom ? kCustomBox : last;
            if (current == kDefaultBox) return hasCustom ? kCustomBox : last;
            return last;
        case Qt::Key_Down:
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

CColourPopup::CColourPopup(const QPoint& topLeft, std::uint32_t colour, CColourPicker* owner,
                           const QString& defaultText, const QString& customText)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint),
      m_owner(owner),
      m_defaultText(defaultText),
      m_customText(customText),
      m_initial(colour),
      m_colour(colour) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_margin = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    m_menuFont = QApplication::font("QMenu");
    m_rows = (kPaletteCells + kPaletteColumns - 1) / kPaletteColumns;
    m_chosen = initialSelection(colour, !m_defaultText.isEmpty(), !m_customText.isEmpty());
    m_current = m_chosen;
    layoutItems(topLeft);
    show();
    setFocus();
}

void CColourPopup::layoutItems(const QPoint& topLeft) {
    if (m_cellSize - 2 * m_margin - 7 < 0) {
        m_cellSize = 2 * m_margin + 7;
    }
    int width = kPaletteColumns * m_cellSize + 2 * m_margin;
    int height = m_rows * m_cellSize + 2 * m_margin;
    int boxHeight = 0;
    if (!m_defaultText.isEmpty() || !m_customText.isEmpty()) {
        const QFontMetrics metrics(m_menuFont);
        const QSize a = metrics.size(Qt::TextSingleLine, m_defaultText);
        const QSize b = metrics.size(Qt::TextSingleLine, m_customText);
        boxHeight = std::max(a.height(), b.height()) + 4 * m_margin + 2;
        width = std::max(width, std::max(a.width(), b.width()) + 2 * m_margin);
    }
    m_gridTop = m_margin;
    if (!m_defaultText.isEmpty()) {
        m_defaultRect = QRect(m_margin, m_margin, width - 2 * m_margin, boxHeight);
        m_gridTop += boxHeight;
        height += boxHeight;
    }
    if (!m_customText.isEmpty()) {
        m_customRect = QRect(m_margin, height - m_margin, width - 2 * m_margin, boxHeight);
        height += boxHeight;
    }

    // Kept on the screen: left of the right edge, right of the left edge, above the button
    // when it would pass the bottom.
    QPoint pos = topLeft;
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (screen == nullptr) {
        // The button's lower edge may be the screen's last row, so the corner lies outside.
        screen = m_owner != nullptr ? m_owner->screen() : QGuiApplication::primaryScreen();
    }
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        if (pos.x() + width > area.right() + 1) pos.setX(area.right() + 1 - width);
        if (pos.x() < area.left()) pos.setX(area.left());
        if (pos.y() + height > area.bottom() + 1) {
            const int buttonHeight = m_owner != nullptr ? m_owner->height() : 0;
            pos.setY(topLeft.y() - buttonHeight - height);
        }
    }
    setGeometry(QRect(pos, QSize(width, height)));
}

QRect CColourPopup::itemRect(int index) const {
    if (index == kDefaultBox) return m_defaultRect;
    if (index == kCustomBox) return m_customRect;
    if (index < 0 || index >= kPaletteCells) return {};
    const int row = index / kPaletteColumns;
    const int column = index % kPaletteColumns;
    return QRect(m_margin + column * m_cellSize, m_gridTop + row * m_cellSize, m_cellSize,
                 m_cellSize);
}

int CColourPopup::itemAt(const QPoint& pos) const {
    if (!m_defaultText.isEmpty() && m_defaultRect.contains(pos)) return kDefaultBox;
    if (!m_customText.isEmpty() && m_customRect.contains(pos)) return kCustomBox;
    for (int k = 0; k < kPaletteCells; ++k) {
        if (itemRect(k).contains(pos)) return k;
    }
    return kNoItem;
}

std::uint32_t CColourPopup::colourOf(int index) const {
    if (index == kDefaultBox) return kAutomaticColour;
    if (index >= 0 && index < kPaletteCells) {
        return paletteCells()[static_cast<std::size_t>(index)].colour;
    }
    return m_initial;  // the custom box, or nothing
}

void CColourPopup::changeSelection(int index) {
    if (index == m_current) {
        return;
    }
    m_current = index;
    m_colour = colourOf(index);
    update();
    if (index >= 0) {
        const char* name = paletteCells()[static_cast<std::size_t>(index)].name;
        if (name[0] != '\0') {
            QToolTip::showText(mapToGlobal(itemRect(index).bottomRight()), QString::fromUtf8(name),
                               this);
        } else {
            QToolTip::hideText();
        }
    }
    if (m_owner != nullptr) {
        m_owner->popupSelectionChanged(m_colour);
    }
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
    const int index = itemAt(event->position().toPoint());
    if (index != kNoItem) {
        changeSelection(index);
    }
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (rect().contains(pos)) {
        const int index = itemAt(pos);
        if (index != kNoItem) {
            changeSelection(index);
        }
        endSelection(true);
    } else {
        endSelection(false);
    }
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            endSelection(true);
            return;
        case Qt::Key_Escape:
            m_colour = m_initial;
            endSelection(false);
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            changeSelection(moveSelection(m_current, event->key(), !m_defaultText.isEmpty(),
                                          !m_customText.isEmpty()));
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void CColourPopup::hideEvent(QHideEvent* event) {
    // Closed from outside (a click elsewhere, another application): a cancel.
    if (!m_ended) {
        endSelection(false);
    }
    QWidget::hideEvent(event);
}

void CColourPopup::endSelection(bool accepted) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    std::uint32_t colour = m_colour;
    if (accepted && m_current == kCustomBox) {
        // The full colour dialog, starting at the colour the palette opened with.
        const QColor start = m_initial == kAutomaticColour ? QColor(Qt::black)
                                                            : toQColor(m_initial & 0xFFFFFF);
        const std::optional<QColor> picked = prompts().chooseColour(m_owner, start);
        if (picked) {
            colour = fromQColor(*picked);
        } else {
            accepted = false;
        }
    }
    if (!accepted) {
        colour = m_initial;
    }
    if (m_owner != nullptr) {
        if (accepted) {
            m_owner->popupSelectionEnded(colour);
        } else {
            m_owner->popupSelectionCancelled(colour);
        }
    }
    close();
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    qDrawShadePanel(&painter, rect(), pal, false, 1);
    const auto drawItemFrame = [&](int index, const QRect& r) {
        const bool current = index == m_current;
        const bool chosen = index == m_chosen;
        painter.fillRect(r, chosen && !current ? pal.color(QPalette::Light)
                                               : pal.color(QPalette::Button));
        if (current) qDrawShadePanel(&painter, r.adjusted(1, 1, -1, -1), pal, false, 1);
        if (chosen) qDrawShadePanel(&painter, r, pal, true, 1);
    };
    for (int k = 0; k < kPaletteCells; ++k) {
        const QRect r = itemRect(k);
        drawItemFrame(k, r);
        const int inset = m_margin + 1;
        const QRect square = r.adjusted(inset, inset, -inset, -inset);
        painter.fillRect(square, toQColor(paletteCells()[static_cast<std::size_t>(k)].colour));
        painter.setPen(pal.color(QPalette::Shadow));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
    painter.setFont(m_menuFont);
    painter.setPen(pal.color(QPalette::ButtonText));
    if (!m_defaultText.isEmpty()) {
        drawItemFrame(kDefaultBox, m_defaultRect);
        painter.drawText(m_defaultRect, Qt::AlignCenter, m_defaultText);
    }
    if (!m_customText.isEmpty()) {
        drawItemFrame(kCustomBox, m_customRect);
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(m_customRect.topLeft(), m_customRect.topRight());
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(m_customRect.topLeft() + QPoint(0, 1),
                         m_customRect.topRight() + QPoint(0, 1));
        painter.setPen(pal.color(QPalette::ButtonText));
        painter.drawText(m_customRect, Qt::AlignCenter, m_customText);
    }
}

}  // namespace pairweb::ui

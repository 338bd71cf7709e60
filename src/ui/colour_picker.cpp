#include "ui/colour_picker.h"

#include <QPainter>
#include <qdrawutil.h>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/colour_popup.h"
#include "ui/ui_services.h"

namespace pairweb::ui {

CColourPicker::CColourPicker(const QString& text, int controlId, QWidget* parent)
    : QPushButton(text, parent),
      m_background(fromQColor(palette().color(QPalette::Button))),
      m_text(fromQColor(palette().color(QPalette::ButtonText))),
      m_controlId(controlId) {
    connect(this, &QPushButton::clicked, this, &CColourPicker::openPopup);
}

std::uint32_t CColourPicker::colour() const {
    return m_mode == SelectionMode::Text ? m_text : m_background;
}

void CColourPicker::setColour(std::uint32_t colour) {
    (m_mode == SelectionMode::Text ? m_text : m_background) = colour;
    update();
}

CColourPopup* CColourPicker::popup() const { return m_popup.data(); }

void CColourPicker::openPopup() {
    if (m_popup) {
        return;
    }
    m_active = true;
    m_popup = new CColourPopup(mapToGlobal(rect().bottomLeft()), colour(), this, m_defaultText,
                               m_customText);
    emit dropDown(colour(), m_controlId);
}

void CColourPicker::popupSelectionChanged(std::uint32_t colour) {
    if (m_track) {
        setColour(colour);
    }
    emit selectionChanged(colour, m_controlId);
}

void CColourPicker::popupSelectionEnded(std::uint32_t colour) {
    m_active = false;
    setColour(colour);
    emit closeUp(colour, m_controlId);
    emit selectionEnded(colour, m_controlId);
}

void CColourPicker::popupSelectionCancelled(std::uint32_t colour) {
    m_active = false;
    setColour(colour);
    emit closeUp(colour, m_controlId);
    emit selectionCancelled(colour, m_controlId);
}

QSize CColourPicker::sizeHint() const {
    const QSize base = QPushButton::sizeHint();
    return {base.width() + 24, base.height()};
}

void CColourPicker::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    // The drop-down arrow at the right, the colour in a sunken rectangle at the left.
    const int arrowWidth = 16;
    const QRect inner = rect().adjusted(4, 4, -4, -4);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(inner.right() - arrowWidth + 1, inner.top(), arrowWidth, inner.height());
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);

    const QRect swatch = inner.adjusted(0, 0, -arrowWidth - 2, 0);
    const std::uint32_t c = colour();
    const bool automatic = c == kAutomaticColour;
    const QColor fill = !isEnabled() || automatic ? palette().color(QPalette::Button)
                                                  : toQColor(m_background & 0xFFFFFF);
    painter.fillRect(swatch, fill);
    qDrawShadePanel(&painter, swatch, palette(), true, 1);
    painter.setPen(automatic ? QColor(Qt::black) : toQColor(m_text & 0xFFFFFF));
    painter.drawText(swatch, Qt::AlignCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = swatch.adjusted(2, 2, -2, -2);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace pairweb::ui

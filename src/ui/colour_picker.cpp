#include "ui/colour_picker.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "ui/colour_popup.h"
#include "ui/ui_services.h"

namespace pairweb::ui {

CColourPicker::CColourPicker(const QString& text, int controlId, app::Prompts& prompts,
                             QWidget* parent)
    : QPushButton(text, parent),
      m_state(fromQColor(palette().color(QPalette::Button)),
              fromQColor(palette().color(QPalette::ButtonText))),
      m_prompts(prompts),
      m_controlId(controlId) {
    connect(this, &QPushButton::clicked, this, &CColourPicker::openPopup);
}

void CColourPicker::setColour(std::uint32_t colour) {
    m_state.setColour(colour);
    update();
}

CColourPopup* CColourPicker::popup() const { return m_popup.data(); }

void CColourPicker::openPopup() {
    if (m_popup) {
        return;
    }
    m_state.dropDown();
    m_popup = new CColourPopup(mapToGlobal(rect().bottomLeft()), this, m_prompts);
}

void CColourPicker::popupSelectionEnded(std::uint32_t colour) {
    m_state.selectionEnded(colour);
    update();
    emit closeUp(colour, m_controlId);
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
    const auto fill = m_state.swatchColour(isEnabled());
    painter.fillRect(swatch, fill ? toQColor(*fill) : palette().color(QPalette::Button));
    qDrawShadePanel(&painter, swatch, palette(), true, 1);
    painter.setPen(toQColor(m_state.captionColour()));
    painter.drawText(swatch, Qt::AlignCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = swatch.adjusted(2, 2, -2, -2);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace pairweb::ui

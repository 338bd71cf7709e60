#include "ui/colour_popup.h"

#include <qdrawutil.h>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

#include "ui/colour_picker.h"
#include "ui/ui_services.h"

namespace pairweb::ui {
namespace {

QRect toQRect(const app::Rect& r) { return {r.x, r.y, r.width, r.height}; }

app::PaletteGeometry geometryFor(const std::string& defaultText, const std::string& customText,
                                 int margin) {
    const QFontMetrics metrics(QApplication::font("QMenu"));
    const QSize a = metrics.size(Qt::TextSingleLine, qs(defaultText));
    const QSize b = metrics.size(Qt::TextSingleLine, qs(customText));
    return app::PaletteGeometry(margin, !defaultText.empty(), !customText.empty(),
                                std::max(a.width(), b.width()), std::max(a.height(), b.height()));
}

app::Key keyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Left:
            return app::Key::Left;
        case Qt::Key_Right:
            return app::Key::Right;
        case Qt::Key_Up:
            return app::Key::Up;
        case Qt::Key_Down:
            return app::Key::Down;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return app::Key::Enter;
        case Qt::Key_Space:
            return app::Key::Space;
        case Qt::Key_Escape:
            return app::Key::Escape;
        default:
            return app::Key::Other;
    }
}

}  // namespace

CColourPopup::CColourPopup(const QPoint& topLeft, CColourPicker* owner, app::Prompts& prompts)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint),
      m_owner(owner),
      m_prompts(prompts),
      m_defaultText(owner->state().defaultText()),
      m_customText(owner->state().customText()),
      m_selection(owner->colour(), !m_defaultText.empty(), !m_customText.empty()),
      m_geometry(geometryFor(m_defaultText, m_customText,
                             owner->style()->pixelMetric(QStyle::PM_DefaultFrameWidth))),
      m_menuFont(QApplication::font("QMenu")) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    // Kept on the screen the button is on.
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (screen == nullptr) screen = owner->screen();
    const QRect area =
        screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
    const auto [x, y] = m_geometry.place(topLeft.x(), topLeft.y(), owner->height(),
                                         {area.x(), area.y(), area.width(), area.height()});
    setGeometry(QRect(x, y, m_geometry.width(), m_geometry.height()));
    show();
    setFocus();
}

QRect CColourPopup::itemRect(int index) const { return toQRect(m_geometry.itemRect(index)); }

void CColourPopup::changeSelection(int index) {
    if (m_selection.select(index)) selectionMoved();
}

void CColourPopup::selectionMoved() {
    update();
    const int index = m_selection.current();
    if (index >= 0) {
        const char* name = app::paletteCells()[static_cast<std::size_t>(index)].name;
        if (name[0] != '\0') {
            QToolTip::showText(mapToGlobal(itemRect(index).bottomRight()), QString::fromUtf8(name),
                               this);
        } else {
            QToolTip::hideText();
        }
    }
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int index = m_geometry.itemAt(pos.x(), pos.y());
    if (index != app::kNoItem) {
        changeSelection(index);
    }
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (rect().contains(pos)) {
        const int index = m_geometry.itemAt(pos.x(), pos.y());
        if (index != app::kNoItem) changeSelection(index);
        endSelection(true);
    } else {
        endSelection(false);
    }
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
    const app::Key key = keyOf(event->key());
    switch (m_selection.key(key)) {
        case app::PaletteSelection::KeyAction::Accept:
            endSelection(true);
            return;
        case app::PaletteSelection::KeyAction::Cancel:
            endSelection(false);
            return;
        case app::PaletteSelection::KeyAction::Moved:
            selectionMoved();
            return;
        case app::PaletteSelection::KeyAction::None:
            if (key == app::Key::Other) QWidget::keyPressEvent(event);
            return;
    }
}

void CColourPopup::hideEvent(QHideEvent* event) {
    // Closed from outside (a click elsewhere, another application): a cancel.
    if (!m_selection.ended()) {
        endSelection(false);
    }
    QWidget::hideEvent(event);
}

void CColourPopup::endSelection(bool accepted) {
    if (m_selection.ended()) {
        return;
    }
    const auto outcome = m_selection.finish(
        accepted, [this](std::uint32_t start) { return m_prompts.chooseColour(start); });
    m_owner->popupSelectionEnded(outcome.colour);
    close();
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    qDrawShadePanel(&painter, rect(), pal, false, 1);
    const auto drawItemFrame = [&](int index, const QRect& r) {
        const bool current = index == m_selection.current();
        const bool chosen = index == m_selection.chosen();
        painter.fillRect(
            r, chosen && !current ? pal.color(QPalette::Light) : pal.color(QPalette::Button));
        if (current) qDrawShadePanel(&painter, r.adjusted(1, 1, -1, -1), pal, false, 1);
        if (chosen) qDrawShadePanel(&painter, r, pal, true, 1);
    };
    for (int k = 0; k < app::kPaletteCells; ++k) {
        drawItemFrame(k, itemRect(k));
        const QRect square = toQRect(m_geometry.swatchRect(k));
        painter.fillRect(square, toQColor(app::paletteCells()[static_cast<std::size_t>(k)].colour));
        painter.setPen(pal.color(QPalette::Shadow));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
    painter.setFont(m_menuFont);
    painter.setPen(pal.color(QPalette::ButtonText));
    if (!m_defaultText.empty()) {
        const QRect r = itemRect(app::kDefaultBox);
        drawItemFrame(app::kDefaultBox, r);
        painter.drawText(r, Qt::AlignCenter, qs(m_defaultText));
    }
    if (!m_customText.empty()) {
        const QRect r = itemRect(app::kCustomBox);
        drawItemFrame(app::kCustomBox, r);
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(r.topLeft() + QPoint(0, 1), r.topRight() + QPoint(0, 1));
        painter.setPen(pal.color(QPalette::ButtonText));
        painter.drawText(r, Qt::AlignCenter, qs(m_customText));
    }
}

}  // namespace pairweb::ui

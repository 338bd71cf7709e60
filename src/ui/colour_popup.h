#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <cstdint>

#include "app/palette.h"
#include "app/prompts.h"

namespace pairweb::ui {

class CColourPicker;

// The drop-down palette of a CColourPicker, drawn with Qt: a borderless pop-up at the
// button's lower-left corner. The selection, geometry and keys are the shared palette's;
// this widget forwards the mouse and the keyboard. It deletes itself when the selection
// ends.
class CColourPopup : public QWidget {
    Q_OBJECT

  public:
    CColourPopup(const QPoint& topLeft, CColourPicker* owner, app::Prompts& prompts);

    const app::PaletteSelection& selection() const { return m_selection; }
    // The rectangle of an item in window coordinates.
    QRect itemRect(int index) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void changeSelection(int index);
    // The selection moved: repaint, tooltip, tell the button.
    void selectionMoved();
    void endSelection(bool accepted);

    CColourPicker* m_owner;
    app::Prompts& m_prompts;
    std::string m_defaultText;
    std::string m_customText;
    app::PaletteSelection m_selection;
    app::PaletteGeometry m_geometry;
    QFont m_menuFont;
};

}  // namespace pairweb::ui

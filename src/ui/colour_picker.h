#pragma once

#include <QPointer>
#include <QPushButton>
#include <cstdint>

#include "app/palette.h"
#include "app/prompts.h"

namespace pairweb::ui {

class CColourPopup;

// A push button that shows a colour and drops down a palette to choose another; its state
// and rules are the shared ColourButtonState's. It tells its parent the colour it took when
// its palette closes, with the button's control id.
class CColourPicker : public QPushButton {
    Q_OBJECT

  public:
    CColourPicker(const QString& text, int controlId, app::Prompts& prompts,
                  QWidget* parent = nullptr);

    app::ColourButtonState& state() { return m_state; }
    const app::ColourButtonState& state() const { return m_state; }
    std::uint32_t colour() const { return m_state.colour(); }
    void setColour(std::uint32_t colour);
    int controlId() const { return m_controlId; }
    // The open palette, or nullptr.
    CColourPopup* popup() const;

    // Opens the palette (what a click does).
    void openPopup();

    // Called by the palette when it ends (a cancel gives the colour it opened with).
    void popupSelectionEnded(std::uint32_t colour);

  signals:
    void closeUp(std::uint32_t colour, int controlId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

  private:
    app::ColourButtonState m_state;
    app::Prompts& m_prompts;
    int m_controlId;
    QPointer<CColourPopup> m_popup;
};

}  // namespace pairweb::ui

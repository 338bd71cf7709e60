#pragma once

#include <QPointer>
#include <QPushButton>
#include <cstdint>

namespace pairweb::ui {

class CColourPopup;

// The automatic colour: no particular colour, what the palette's default box selects.
constexpr std::uint32_t kAutomaticColour = 0xFF000000u;

// A push button that shows a colour and drops down a palette to choose another. Colours
// are 0x00BBGGRR. It tells its parent what happens through five signals, each with the
// colour and the button's control id.
class CColourPicker : public QPushButton {
    Q_OBJECT

public:
    enum class SelectionMode { Text = 1, Background = 2 };

    explicit CColourPicker(const QString& text = {}, int controlId = 0, QWidget* parent = nullptr);

    std::uint32_t colour() const;
    void setColour(std::uint32_t colour);
    SelectionMode selectionMode() const { return m_mode; }
    void setSelectionMode(SelectionMode mode) { m_mode = mode; }
    bool trackSelection() const { return m_track; }
    void setTrackSelection(bool track) { m_track = track; }
    // Caption of the palette's top box; empty hides the box.
    QString defaultText() const { return m_defaultText; }
    void setDefaultText(const QString& text) { m_defaultText = text; }
    // Caption of the palette's bottom box; empty hides the box.
    QString customText() const { return m_customText; }
    void setCustomText(const QString& text) { m_customText = text; }
    int controlId() const { return m_controlId; }
    bool isActive() const { return m_active; }
    // The open palette, or nullptr.
    CColourPopup* popup() const;

    // Opens the palette (what a click does).
    void openPopup();

    // Called by the palette.
    void popupSelectionChanged(std::uint32_t colour);
    void popupSelectionEnded(std::uint32_t colour);
    void popupSelectionCancelled(std::uint32_t colour);

signals:
    void selectionChanged(std::uint32_t colour, int controlId);
    void dropDown(std::uint32_t colour, int controlId);
    void closeUp(std::uint32_t colour, int controlId);
    void selectionEnded(std::uint32_t colour, int controlId);
    void selectionCancelled(std::uint32_t colour, int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    std::uint32_t m_background;
    std::uint32_t m_text;
    SelectionMode m_mode = SelectionMode::Background;
    bool m_track = false;
    bool m_active = false;
    QString m_defaultText = QStringLiteral("Automatic");
    QString m_customText = QStringLiteral("More Colours...");
    int m_controlId;
    QPointer<CColourPopup> m_popup;
};

}  // namespace pairweb::ui

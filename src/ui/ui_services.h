#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace pairweb::ui {

// What blocks on the user outside the dialogs themselves: message boxes and the colour
// dialog. The app uses the real ones; tests answer them.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A modal message box with one OK button.
    virtual void message(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The full colour dialog starting at initial; nothing when the user cancels.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;
};

// The real message boxes and colour dialog.
class QtPrompts : public UserPrompts {
public:
    void message(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override;
};

// The prompts the widgets use: the real ones unless a test installed others.
UserPrompts& prompts();
// Installs prompts for tests; nullptr restores the real ones. Not owned.
void setPrompts(UserPrompts* prompts);

// Colours are held as 0x00BBGGRR, red in the low byte.
QColor toQColor(std::uint32_t colour);
std::uint32_t fromQColor(const QColor& colour);

}  // namespace pairweb::ui

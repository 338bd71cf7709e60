#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "app/prompts.h"

namespace pairweb::ui {

// Qt's message boxes and colour dialog, over the active window.
class QtPrompts : public app::Prompts {
  public:
    void message(const std::string& caption, const std::string& text,
                 app::MessageKind kind) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    std::optional<std::string> askPassword(const std::string& caption,
                                           const std::string& text) override;
};

// Qt's file dialogs.
class QtFileDialogs : public app::FileDialogs {
  public:
    std::optional<std::string> open(const app::FileDialogRequest& request) override;
    std::optional<std::string> save(const app::FileDialogRequest& request) override;
    // A filter list in Qt's form: "Tournament files (*.trn *.trf)", "All Files (*)".
    static QString qtFilters(const std::vector<app::FileFilter>& filters);
};

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

// Colours are held as 0x00BBGGRR, red in the low byte.
QColor toQColor(std::uint32_t colour);
std::uint32_t fromQColor(const QColor& colour);

}  // namespace pairweb::ui

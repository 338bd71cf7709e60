#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "app/prompts.h"

class QCheckBox;
class QLineEdit;

namespace pairweb::ui {

// Qt's message boxes and colour dialog, over the active window.
class QtPrompts : public app::Prompts {
  public:
    void message(const std::string& caption, const std::string& text,
                 app::MessageKind kind) override;
    bool ask(const std::string& caption, const std::string& text) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    std::optional<app::PasswordAnswer> askPassword(const app::PasswordQuestion& question) override;
};

// The password box: the question's text, a masked field ("password") and, when the question
// offers it, the check box ("remember").
class CPasswordDlg : public QDialog {
    Q_OBJECT
  public:
    CPasswordDlg(const app::PasswordQuestion& question, QWidget* parent = nullptr);
    app::PasswordAnswer answer() const;

  private:
    QLineEdit* m_password;
    QCheckBox* m_remember = nullptr;
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

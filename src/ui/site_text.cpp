#include "ui/site_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolTip>
#include <QValidator>
#include <algorithm>

#include "app/site_text.h"

namespace pairweb::ui {
namespace {

void showRefusal(QWidget* control, char32_t c) {
    const QString note = QString::fromStdString(app::refusalNote(c));
    control->setProperty(kRefusalNoteProperty, note);
    QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), note, control);
}

class SiteTextValidator : public QValidator {
  public:
    explicit SiteTextValidator(QWidget* control) : QValidator(control), m_control(control) {}
    State validate(QString& input, int&) const override {
        if (const auto c = app::firstRefused(input.toStdString())) {
            showRefusal(m_control, *c);
            return Invalid;
        }
        return Acceptable;
    }

  private:
    QWidget* m_control;
};

}  // namespace

void guardSiteText(QLineEdit* edit) { edit->setValidator(new SiteTextValidator(edit)); }

void guardSiteText(QComboBox* combo) { combo->setValidator(new SiteTextValidator(combo)); }

void guardSiteText(QPlainTextEdit* edit) {
    // Multi-line edits take no validator: refused characters are taken out again at once.
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        const QString text = edit->toPlainText();
        const auto c = app::firstRefused(text.toStdString());
        if (!c) {
            return;
        }
        const QString kept = QString::fromStdString(app::withoutRefused(text.toStdString()));
        const int position = edit->textCursor().position() - (text.size() - kept.size());
        edit->setPlainText(kept);
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(std::clamp(position, 0, static_cast<int>(kept.size())));
        edit->setTextCursor(cursor);
        showRefusal(edit, *c);
    });
}

}  // namespace pairweb::ui

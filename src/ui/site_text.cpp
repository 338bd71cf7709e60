#include "ui/site_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolTip>
#include <QValidator>

#include "data/windows1252.h"

namespace pairweb::ui {
namespace {

// The first character of text that Windows-1252 lacks, or 0.
char32_t firstMissing(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        if (!data::unicodeToWindows1252(c)) {
            return c;
        }
    }
    return 0;
}

void showRefusal(QWidget* control, char32_t c) {
    const QString note = refusalNote(c);
    control->setProperty(kRefusalNoteProperty, note);
    QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), note, control);
}

class SiteTextValidator : public QValidator {
  public:
    SiteTextValidator(QWidget* control) : QValidator(control), m_control(control) {}
    State validate(QString& input, int&) const override {
        if (const char32_t c = firstMissing(input)) {
            showRefusal(m_control, c);
            return Invalid;
        }
        return Acceptable;
    }

  private:
    QWidget* m_control;
};

}  // namespace

QString refusalNote(char32_t c) {
    return QStringLiteral(
               "\"%1\" cannot be used here: the site's pages are written in "
               "Windows-1252 (Western European), which lacks it.")
        .arg(QString::fromUcs4(&c, 1));
}

QString fromSiteText(const std::string& bytes) {
    return QString::fromStdString(data::windows1252ToUtf8(bytes));
}

std::string toSiteText(const QString& text) {
    std::string out;
    for (const char32_t c : text.toUcs4()) {
        out += static_cast<char>(data::unicodeToWindows1252(c).value_or('?'));
    }
    return out;
}

void guardSiteText(QLineEdit* edit) { edit->setValidator(new SiteTextValidator(edit)); }

void guardSiteText(QComboBox* combo) { combo->setValidator(new SiteTextValidator(combo)); }

void guardSiteText(QPlainTextEdit* edit) {
    // Multi-line edits take no validator: refused characters are taken out again at once.
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        const QString text = edit->toPlainText();
        const char32_t c = firstMissing(text);
        if (c == 0) {
            return;
        }
        QString kept;
        for (const char32_t k : text.toUcs4()) {
            if (data::unicodeToWindows1252(k)) kept += QString::fromUcs4(&k, 1);
        }
        const int position = edit->textCursor().position() - (text.size() - kept.size());
        edit->setPlainText(kept);
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(std::clamp(position, 0, static_cast<int>(kept.size())));
        edit->setTextCursor(cursor);
        showRefusal(edit, c);
    });
}

}  // namespace pairweb::ui

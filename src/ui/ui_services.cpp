#include "ui/ui_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QVBoxLayout>

namespace pairweb::ui {

void QtPrompts::message(const std::string& caption, const std::string& text,
                        app::MessageKind kind) {
    QMessageBox box(
        kind == app::MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Information,
        qs(caption), qs(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

std::optional<std::uint32_t> QtPrompts::chooseColour(std::uint32_t initial) {
    QColorDialog dialog(toQColor(initial), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return fromQColor(dialog.selectedColor());
}

bool QtPrompts::ask(const std::string& caption, const std::string& text) {
    QMessageBox box(QMessageBox::Question, qs(caption), qs(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

CPasswordDlg::CPasswordDlg(const app::PasswordQuestion& question, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(qs(question.caption));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(qs(question.text), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    layout->addWidget(m_password);
    if (!question.rememberText.empty()) {
        m_remember = new QCheckBox(qs(question.rememberText), this);
        m_remember->setObjectName(QStringLiteral("remember"));
        layout->addWidget(m_remember);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

app::PasswordAnswer CPasswordDlg::answer() const {
    return {m_password->text().toStdString(), m_remember != nullptr && m_remember->isChecked()};
}

std::optional<app::PasswordAnswer> QtPrompts::askPassword(const app::PasswordQuestion& question) {
    CPasswordDlg dialog(question, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.answer();
}

QString QtFileDialogs::qtFilters(const std::vector<app::FileFilter>& filters) {
    QStringList list;
    for (const app::FileFilter& f : filters) {
        // Qt shows the patterns itself, separated by blanks, so a description that names
        // its own patterns ("TRF files (*.trf)") gives them up. "*.*" means every file,
        // also those without a dot.
        QString description = qs(f.description);
        const QString own = QStringLiteral(" (%1)").arg(qs(f.pattern));
        if (description.endsWith(own)) description.chop(own.size());
        QString patterns = qs(f.pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (f.pattern == "*.*") patterns = QStringLiteral("*");
        list << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return list.join(QStringLiteral(";;"));
}

namespace {

std::optional<std::string> run(const app::FileDialogRequest& request, bool save) {
    QFileDialog dialog(QApplication::activeWindow(), qs(request.title), QString(),
                       QtFileDialogs::qtFilters(request.filters));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!save) dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.proposed.empty()) dialog.selectFile(qs(request.proposed));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace

std::optional<std::string> QtFileDialogs::open(const app::FileDialogRequest& request) {
    return run(request, false);
}

std::optional<std::string> QtFileDialogs::save(const app::FileDialogRequest& request) {
    return run(request, true);
}

QColor toQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t fromQColor(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace pairweb::ui

#include "ui/ui_services.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

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

std::optional<std::string> QtPrompts::askPassword(const std::string& caption,
                                                  const std::string& text) {
    bool ok = false;
    const QString password = QInputDialog::getText(QApplication::activeWindow(), qs(caption),
                                                   qs(text), QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return password.toStdString();
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

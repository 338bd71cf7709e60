#include "ui/common_dialog.h"

#include <QFileDialog>

namespace pairweb::ui {

std::optional<QString> QtFileDialogs::open(QWidget* parent, const QString& title,
                                           const QStringList& filters, const QString& proposed) {
    QFileDialog dialog(parent, title, QString(), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

std::optional<QString> QtFileDialogs::save(QWidget* parent, const QString& title,
                                           const QStringList& filters, const QString& proposed) {
    QFileDialog dialog(parent, title, QString(), filters.join(";;"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

QStringList CommonDialog::qtFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (int k = 0; k + 1 < parts.size(); k += 2) {
        // "*.*" means every file, also those without a dot.
        const QString pattern = parts[k + 1] == "*.*" ? QStringLiteral("*") : parts[k + 1];
        filters << QStringLiteral("%1 (%2)").arg(parts[k], pattern);
    }
    return filters;
}

void CommonDialog::ShowOpen(QWidget* parent) {
    if (const auto chosen = m_backend.open(parent, m_title, qtFilters(m_filter), m_fileName)) {
        m_fileName = *chosen;
    }
}

void CommonDialog::ShowSave(QWidget* parent) {
    if (const auto chosen = m_backend.save(parent, m_title, qtFilters(m_filter), m_fileName)) {
        m_fileName = *chosen;
    }
}

}  // namespace pairweb::ui

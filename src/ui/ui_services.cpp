#include "ui/ui_services.h"

#include <QColorDialog>
#include <QMessageBox>

namespace pairweb::ui {
namespace {

UserPrompts* g_prompts = nullptr;

}  // namespace

void QtPrompts::message(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

std::optional<QColor> QtPrompts::chooseColour(QWidget* parent, const QColor& initial) {
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

UserPrompts& prompts() {
    static QtPrompts real;
    return g_prompts != nullptr ? *g_prompts : real;
}

void setPrompts(UserPrompts* prompts) { g_prompts = prompts; }

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

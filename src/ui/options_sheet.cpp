#include "ui/options_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/colour_picker.h"
#include "ui/site_text.h"
#include "ui/ui_services.h"

namespace pairweb::ui {
namespace {

using app::ItemKind;

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// An editable drop-down combo box whose text is what the user typed: no completion, and
// an item is matched only with the same case.
QComboBox* editableCombo(const std::vector<std::string>& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    for (const std::string& item : items) combo->addItem(qs(item));
    guardSiteText(combo);
    return combo;
}

}  // namespace

OptionsPage::OptionsPage(int index, app::OptionsSheet& sheet, app::Prompts& prompts,
                         QWidget* parent)
    : QWidget(parent) {
    auto* pageLayout = new QVBoxLayout(this);
    QWidget* owner = this;
    QVBoxLayout* layout = pageLayout;
    QFormLayout* form = nullptr;
    QGridLayout* grid = nullptr;
    for (const app::PageItem& item : app::optionPages()[static_cast<std::size_t>(index)].items) {
        QWidget* made = nullptr;
        switch (item.kind) {
            case ItemKind::Group: {
                auto* group = new QGroupBox(qs(item.text), this);
                pageLayout->addWidget(group);
                owner = group;
                layout = new QVBoxLayout(group);
                form = nullptr;
                continue;
            }
            case ItemKind::EndGroup:
                owner = this;
                layout = pageLayout;
                form = nullptr;
                continue;
            case ItemKind::Note: {
                QLabel* label = note(qs(item.text), owner);
                layout->addWidget(label);
                m_controls[item.id] = label;
                form = nullptr;  // labelled controls after it come below it
                continue;
            }
            case ItemKind::Button: {
                auto* b = new QPushButton(qs(item.text), owner);
                b->setAutoDefault(false);
                b->setProperty("controlId", item.id);
                connect(b, &QPushButton::clicked, this,
                        [this, &sheet, index, id = item.id] { sheet.press(index, id, this); });
                m_controls[item.id] = b;
                auto* row = new QHBoxLayout();
                row->addWidget(b);
                row->addStretch();
                layout->addLayout(row);
                continue;
            }
            case ItemKind::Check:
                made = new QCheckBox(qs(item.text), owner);
                layout->addWidget(made);
                break;
            case ItemKind::Combo:
                made = editableCombo(item.items, owner);
                break;
            case ItemKind::List: {
                auto* list = new QComboBox(owner);
                for (const std::string& entry : item.items) list->addItem(qs(entry));
                connect(list, &QComboBox::currentIndexChanged, this,
                        [this, &sheet, index] { sheet.choiceChanged(index, *this); });
                made = list;
                break;
            }
            case ItemKind::Edit: {
                auto* edit = new QLineEdit(owner);
                guardSiteText(edit);
                made = edit;
                break;
            }
            case ItemKind::MultiLineEdit: {
                auto* edit = new QPlainTextEdit(owner);
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                edit->setFixedHeight(70);
                guardSiteText(edit);
                layout->addWidget(edit);
                made = edit;
                break;
            }
            case ItemKind::Colour: {
                auto* button = new CColourPicker(qs(item.text), item.id, prompts, owner);
                button->state().setDefaultText(item.defaultText);
                button->setMinimumWidth(170);
                if (grid == nullptr) {
                    grid = new QGridLayout();
                    layout->addLayout(grid);
                }
                const int row = grid->rowCount();
                grid->addWidget(button, row, 0);
                grid->addWidget(new QLabel(qs(item.description), owner), row, 1);
                // The button holds its colour from the moment it is chosen.
                connect(button, &CColourPicker::closeUp, this,
                        [&sheet, index](std::uint32_t colour, int id) {
                            sheet.colourChosen(index, id, colour);
                        });
                made = button;
                break;
            }
        }
        if (item.kind == ItemKind::Combo || item.kind == ItemKind::List ||
            item.kind == ItemKind::Edit) {
            if (item.labelId == 0) {
                layout->addWidget(made);
            } else {
                if (form == nullptr) {
                    form = new QFormLayout();
                    layout->addLayout(form);
                }
                form->addRow(qs(item.text), made);
            }
        }
        made->setObjectName(qs(item.name));
        m_controls[item.id] = made;
    }
    pageLayout->addStretch();
    sheet.show(index, *this);
}

QWidget* OptionsPage::control(int id) const {
    const auto it = m_controls.find(id);
    return it != m_controls.end() ? it->second : nullptr;
}

CColourPicker* OptionsPage::colourButton(int id) const {
    return qobject_cast<CColourPicker*>(control(id));
}

bool OptionsPage::checked(int id) const {
    const auto* box = qobject_cast<QCheckBox*>(control(id));
    return box != nullptr && box->isChecked();
}

void OptionsPage::setChecked(int id, bool on) {
    if (auto* box = qobject_cast<QCheckBox*>(control(id))) box->setChecked(on);
}

std::string OptionsPage::text(int id) const {
    QWidget* c = control(id);
    if (const auto* combo = qobject_cast<QComboBox*>(c)) return combo->currentText().toStdString();
    if (const auto* edit = qobject_cast<QLineEdit*>(c)) return edit->text().toStdString();
    if (const auto* multi = qobject_cast<QPlainTextEdit*>(c)) {
        return multi->toPlainText().toStdString();
    }
    return {};
}

void OptionsPage::setText(int id, const std::string& utf8) {
    QWidget* c = control(id);
    if (auto* combo = qobject_cast<QComboBox*>(c)) {
        if (combo->isEditable()) {
            combo->setEditText(qs(utf8));
        } else {
            combo->setCurrentIndex(combo->findText(qs(utf8)));
        }
    }
    if (auto* edit = qobject_cast<QLineEdit*>(c)) edit->setText(qs(utf8));
    if (auto* multi = qobject_cast<QPlainTextEdit*>(c)) multi->setPlainText(qs(utf8));
}

void OptionsPage::setColour(int id, std::uint32_t colour) {
    if (CColourPicker* button = colourButton(id)) button->setColour(colour);
}

void OptionsPage::setShown(int id, bool shown) {
    if (QWidget* c = control(id)) c->setVisible(shown);
}

COptionsSheet::COptionsSheet(app::OptionsSheet& sheet, app::Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_sheet(sheet) {
    setWindowTitle(QString());
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    for (int k = 0; k < app::kOptionPageCount; ++k) {
        auto* p = new OptionsPage(k, sheet, prompts, m_tabs);
        m_tabs->addTab(p, qs(app::optionPages()[static_cast<std::size_t>(k)].tab));
        m_pages.push_back(p);
    }
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    // Leaving a page commits its controls.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        m_sheet.commit(m_shown, *page(m_shown));
        m_shown = index;
    });
}

void COptionsSheet::accept() {
    m_sheet.commit(m_shown, *page(m_shown));
    QDialog::accept();
}

}  // namespace pairweb::ui

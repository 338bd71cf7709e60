#include "ui/generator_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/options_sheet.h"
#include "ui/progress_dlg.h"
#include "ui/site_text.h"
#include "ui/ui_services.h"

namespace pairweb::ui {
namespace {

namespace id = app::control;

QString textOf(int control) {
    for (const app::ControlText& t : app::mainDialogTexts()) {
        if (t.id == control) return qs(t.text);
    }
    return {};
}

// The program's picture: a knight on a small square.
QLabel* picture(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("\u265E"), parent);
    QFont font = label->font();
    font.setPointSize(28);
    label->setFont(font);
    label->setFixedSize(48, 48);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("background: #000080; color: #ffffff;"));
    return label;
}

}  // namespace

CGeneratorDlg::CGeneratorDlg(const std::string& programPath, platform::Platform& platform,
                             app::FileDialogs& files, app::Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_model(programPath, platform, files, prompts), m_prompts(prompts) {
    setWindowTitle(qs(app::mainDialogCaption()));
    std::map<int, QWidget*> controls;
    const auto button = [&](int control, QWidget* owner) {
        auto* b = new QPushButton(textOf(control), owner);
        b->setAutoDefault(false);
        controls[control] = b;
        return b;
    };
    const auto edit = [&](int control) {
        auto* e = new QLineEdit(this);
        m_edits[control] = e;
        controls[control] = e;
        return e;
    };

    auto* layout = new QVBoxLayout(this);
    auto* header = new QHBoxLayout();
    header->addWidget(picture(this));
    auto* headerText = new QVBoxLayout();
    headerText->addWidget(new QLabel(textOf(id::kVersionLine), this));
    headerText->addWidget(new QLabel(textOf(id::kInstruction), this));
    header->addLayout(headerText, 1);
    layout->addLayout(header);

    const auto fileGroup = [&](int group, QPushButton* b, QLineEdit* e) {
        auto* box = new QGroupBox(textOf(group), this);
        auto* row = new QHBoxLayout(box);
        if (b != nullptr) row->addWidget(b);
        row->addWidget(e, 1);
        layout->addWidget(box);
    };
    edit(id::kTrnFile)->setObjectName(QStringLiteral("strFilename"));
    edit(id::kHomePage)->setObjectName(QStringLiteral("OutputIndex"));
    edit(id::kTitle)->setObjectName(QStringLiteral("TourneyName"));
    guardSiteText(m_edits[id::kTitle]);
    fileGroup(id::kTrnGroup, button(id::kBrowse, this), m_edits[id::kTrnFile]);
    fileGroup(id::kHomePageGroup, button(id::kOpen, this), m_edits[id::kHomePage]);
    fileGroup(id::kTitleGroup, nullptr, m_edits[id::kTitle]);

    auto* actions = new QHBoxLayout();
    actions->addWidget(button(id::kGenerate, this));
    actions->addWidget(button(id::kOptions, this));
    auto* slotGroup = new QGroupBox(textOf(id::kSlotGroup), this);
    auto* slotRow = new QHBoxLayout(slotGroup);
    m_slotCombo = new QComboBox(slotGroup);
    m_slotCombo->setObjectName(QStringLiteral("slot"));
    m_slotCombo->setEditable(true);
    m_slotCombo->setInsertPolicy(QComboBox::NoInsert);
    m_slotCombo->setCompleter(nullptr);  // typed text stays as typed
    for (const std::string& item : app::slotItems()) m_slotCombo->addItem(qs(item));
    m_slotCombo->setCurrentIndex(-1);
    m_slotCombo->setEditText(QString());
    controls[id::kSlot] = m_slotCombo;
    slotRow->addWidget(m_slotCombo);
    slotRow->addWidget(button(id::kLoad, slotGroup));
    slotRow->addWidget(button(id::kSave, slotGroup));
    actions->addWidget(slotGroup, 1);
    layout->addLayout(actions);

    auto* bottom = new QHBoxLayout();
    bottom->addWidget(button(id::kAbout, this));
    bottom->addStretch();
    auto* ok = button(id::kOk, this);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    bottom->addWidget(ok);
    bottom->addWidget(button(id::kCancel, this));
    layout->addLayout(bottom);

    for (const auto& [control, widget] : controls) {
        widget->setProperty("controlId", control);
    }
    const std::vector<int>& order = app::mainDialogTabOrder();
    for (std::size_t k = 1; k < order.size(); ++k) {
        setTabOrder(controls[order[k - 1]], controls[order[k]]);
    }

    // Every keystroke in the three edits reaches the members at once.
    for (const auto& [control, e] : m_edits) {
        connect(e, &QLineEdit::textChanged, this, [this] { m_model.textChanged(); });
    }
    const auto onClick = [&](int control, auto action) {
        connect(static_cast<QPushButton*>(controls[control]), &QPushButton::clicked, this, action);
    };
    onClick(id::kBrowse, [this] { m_model.browse(); });
    onClick(id::kOpen, [this] { m_model.open(); });
    onClick(id::kOptions, [this] { onOptions(); });
    onClick(id::kLoad, [this] { m_model.loadSettings(); });
    onClick(id::kSave, [this] { m_model.saveSettings(); });
    onClick(id::kGenerate, [this] { m_model.generate(); });
    onClick(id::kOk, [this] {
        m_model.ok();
        accept();
    });
    onClick(id::kCancel, [this] { reject(); });
    onClick(id::kAbout, [this] {
        CAboutDlg about(this);
        about.exec();
    });

    m_model.setControls(this);
    m_model.updateData(false);
    m_model.publishing().setProgressRunner(
        [this](app::BackgroundTask& task) { CProgressDlg::run(task, this); });
}

std::string CGeneratorDlg::text(int control) const {
    if (control == id::kSlot) return m_slotCombo->currentText().toStdString();
    const auto it = m_edits.find(control);
    return it != m_edits.end() ? it->second->text().toStdString() : std::string();
}

void CGeneratorDlg::setText(int control, const std::string& utf8) {
    if (control == id::kSlot) {
        m_slotCombo->setEditText(qs(utf8));
    } else if (const auto it = m_edits.find(control); it != m_edits.end()) {
        it->second->setText(qs(utf8));
    }
}

void CGeneratorDlg::onOptions() {
    m_model.options([this](app::OptionsSheet& sheet) {
        COptionsSheet dialog(sheet, m_prompts, this);
        dialog.exec();
    });
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(qs(app::aboutCaption()));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture(this));
    auto* column = new QVBoxLayout();
    auto* text = new QLabel(qs(app::aboutText()), this);
    text->setObjectName(QStringLiteral("aboutText"));
    column->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    column->addWidget(buttons);
    layout->addLayout(column);
}

}  // namespace pairweb::ui

#include "ui/generator_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/tournament_ini.h"
#include "settings/settings_file.h"
#include "site/driver.h"
#include "ui/options_sheet.h"
#include "ui/site_text.h"
#include "ui/ui_services.h"

namespace pairweb::ui {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

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

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

CGeneratorDlg::CGeneratorDlg(QString programPath, platform::Platform& platform,
                             FileDialogBackend& files, QWidget* parent)
    : QDialog(parent),
      m_programPath(std::move(programPath)),
      m_platform(platform),
      m_fileDialog(files) {
    setWindowTitle(QStringLiteral("PAIRWEB"));
    auto* layout = new QVBoxLayout(this);

    auto* header = new QHBoxLayout();
    header->addWidget(picture(this));
    auto* headerText = new QVBoxLayout();
    headerText->addWidget(new QLabel(QStringLiteral("PAIRWEB version 1.0.3"), this));
    headerText->addWidget(new QLabel(
        QStringLiteral("Select the TRN file, output HTML file, options and then click "
                       "\"Generate HTML\"."),
        this));
    header->addLayout(headerText, 1);
    layout->addLayout(header);

    const auto fileGroup = [&](const QString& title, QPushButton* b, QLineEdit* edit) {
        auto* group = new QGroupBox(title, this);
        auto* row = new QHBoxLayout(group);
        if (b != nullptr) row->addWidget(b);
        row->addWidget(edit, 1);
        layout->addWidget(group);
    };
    m_trnEdit = new QLineEdit(this);
    m_trnEdit->setObjectName(QStringLiteral("strFilename"));
    m_outputEdit = new QLineEdit(this);
    m_outputEdit->setObjectName(QStringLiteral("OutputIndex"));
    m_titleEdit = new QLineEdit(this);
    m_titleEdit->setObjectName(QStringLiteral("TourneyName"));
    guardSiteText(m_titleEdit);
    auto* browse = button(QStringLiteral("&Browse"), "browse", this);
    auto* open = button(QStringLiteral("&Open"), "open", this);
    fileGroup(QStringLiteral("Select source trn file"), browse, m_trnEdit);
    fileGroup(QStringLiteral("Select the home html file for your website"), open, m_outputEdit);
    fileGroup(QStringLiteral("Tournament title"), nullptr, m_titleEdit);

    auto* actions = new QHBoxLayout();
    auto* generate = button(QStringLiteral("&Generate HTML"), "generate", this);
    auto* options = button(QStringLiteral("&Options"), "options", this);
    actions->addWidget(generate);
    actions->addWidget(options);
    auto* slotGroup = new QGroupBox(QStringLiteral("Save/Load settings"), this);
    auto* slotRow = new QHBoxLayout(slotGroup);
    m_slotCombo = new QComboBox(slotGroup);
    m_slotCombo->setObjectName(QStringLiteral("slot"));
    m_slotCombo->setEditable(true);
    m_slotCombo->setInsertPolicy(QComboBox::NoInsert);
    m_slotCombo->addItems({"1", "2", "3", "4", "5", "6", "7", "8"});
    m_slotCombo->setCurrentIndex(-1);
    m_slotCombo->setEditText(QString());
    auto* load = button(QStringLiteral("&Load Settings"), "load", slotGroup);
    auto* save = button(QStringLiteral("&Save Settings"), "save", slotGroup);
    slotRow->addWidget(m_slotCombo);
    slotRow->addWidget(load);
    slotRow->addWidget(save);
    actions->addWidget(slotGroup, 1);
    layout->addLayout(actions);

    auto* bottom = new QHBoxLayout();
    auto* about = button(QStringLiteral("&About"), "about", this);
    auto* ok = button(QStringLiteral("OK"), "ok", this);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* cancel = button(QStringLiteral("Cancel"), "cancel", this);
    bottom->addWidget(about);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    // Every keystroke in the three edits reaches the members at once.
    for (QLineEdit* edit : {m_trnEdit, m_outputEdit, m_titleEdit}) {
        connect(edit, &QLineEdit::textChanged, this, [this] { updateData(true); });
    }
    connect(browse, &QPushButton::clicked, this, &CGeneratorDlg::onBrowse);
    connect(open, &QPushButton::clicked, this, &CGeneratorDlg::onOpen);
    connect(options, &QPushButton::clicked, this, &CGeneratorDlg::onOptions);
    connect(load, &QPushButton::clicked, this, &CGeneratorDlg::onLoadSettings);
    connect(save, &QPushButton::clicked, this, &CGeneratorDlg::onSaveSettings);
    connect(generate, &QPushButton::clicked, this, &CGeneratorDlg::onGenerate);
    connect(ok, &QPushButton::clicked, this, &CGeneratorDlg::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(about, &QPushButton::clicked, this, &CGeneratorDlg::onAbout);

    updateData(false);
}

QString CGeneratorDlg::appTitle() const { return QFileInfo(m_programPath).completeBaseName(); }

QString CGeneratorDlg::settingsPath() const {
    return qs(settings::settingsFilePath(m_programPath.toStdString(), m_slot.toStdString(),
                                         m_platform));
}

void CGeneratorDlg::updateData(bool fromControls) {
    // Setting the edits from the members fires their change signals; those must not read
    // the edits not yet set back into the members.
    if (m_transferring) {
        return;
    }
    m_transferring = true;
    if (fromControls) {
        m_settings.strFilename = m_trnEdit->text().toStdString();
        m_settings.TourneyName = toSiteText(m_titleEdit->text());
        m_settings.OutputIndex = m_outputEdit->text().toStdString();
        m_slot = m_slotCombo->currentText();
    } else {
        m_trnEdit->setText(qs(m_settings.strFilename));
        m_titleEdit->setText(fromSiteText(m_settings.TourneyName));
        m_outputEdit->setText(qs(m_settings.OutputIndex));
        m_slotCombo->setEditText(m_slot);
    }
    m_transferring = false;
}

void CGeneratorDlg::onBrowse() {
    m_fileDialog.setDialogTitle(QStringLiteral("Select SwissPerfect Tournament file"));
    m_fileDialog.setFilter(QStringLiteral("Tournament files|*.trn|All Files|*.*"));
    m_fileDialog.setFileName(QString());
    m_fileDialog.ShowOpen(this);
    if (m_fileDialog.fileName().isEmpty()) {
        return;
    }
    m_settings.strFilename = m_fileDialog.fileName().toStdString();
    // A title still empty or showing its prompt is filled from the event's own name, which
    // the pairing program keeps in an .ini file beside the tables.
    if (m_settings.TourneyName.empty() ||
        m_settings.TourneyName == settings::Settings{}.TourneyName) {
        if (const auto name = data::tournamentName(m_settings.strFilename, m_platform)) {
            m_settings.TourneyName = *name;
        }
    }
    updateData(false);
}

void CGeneratorDlg::onOpen() {
    m_fileDialog.setDialogTitle(QStringLiteral("Select Output index filename"));
    m_fileDialog.setFileName(QStringLiteral("index.html"));
    m_fileDialog.setFilter(QStringLiteral("HTML files|*.html|All Files|*.*"));
    m_fileDialog.ShowSave(this);
    // A cancelled dialog leaves the proposed "index.html", which the generation refuses.
    m_settings.OutputIndex = m_fileDialog.fileName().toStdString();
    updateData(false);
}

void CGeneratorDlg::onOptions() { COptionsSheet::edit(m_settings, this); }

void CGeneratorDlg::onLoadSettings() {
    updateData(true);
    switch (settings::readSettingsFile(settingsPath().toStdString(), m_settings, m_platform)) {
        case settings::LoadResult::Loaded:
            break;
        case settings::LoadResult::Missing:
            prompts().message(this, appTitle(), qs(std::string(settings::kMissingSettingsFileMessage)));
            return;
        case settings::LoadResult::Unreadable:
            prompts().message(this, appTitle(), QStringLiteral("That preference file cannot be read!"));
            return;
    }
    updateData(false);
}

void CGeneratorDlg::onSaveSettings() {
    updateData(true);
    if (!settings::writeSettingsFile(settingsPath().toStdString(), m_settings, m_platform)) {
        prompts().message(this, appTitle(),
                          QStringLiteral("The settings could not be saved to %1").arg(settingsPath()));
    }
}

void CGeneratorDlg::onGenerate() {
    updateData(true);
    const std::string message = site::generateSite(m_settings, m_platform);
    prompts().message(this, appTitle(), qs(message));
}

void CGeneratorDlg::onOk() {
    onGenerate();
    accept();
}

void CGeneratorDlg::onAbout() {
    CAboutDlg about(this);
    about.exec();
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About pairweb"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture(this));
    auto* column = new QVBoxLayout();
    auto* text = new QLabel(QStringLiteral("pairweb tournament web site generator, Version 1.0.3"),
                            this);
    text->setObjectName(QStringLiteral("aboutText"));
    column->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    column->addWidget(buttons);
    layout->addLayout(column);
}

}  // namespace pairweb::ui

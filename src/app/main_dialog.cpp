#include "app/main_dialog.h"

#include "data/tournament_ini.h"
#include "data/trf_reader.h"
#include "platform/password_hash.h"
#include "qr/qr_encoder.h"
#include "settings/settings_file.h"
#include "site/driver.h"
#include "site/fragments.h"

namespace pairweb::app {

const std::string& mainDialogCaption() {
    static const std::string kCaption = "PAIRWEB";
    return kCaption;
}

const std::vector<ControlText>& mainDialogTexts() {
    static const std::vector<ControlText> kTexts = {
        {control::kOk, "OK"},
        {control::kCancel, "Cancel"},
        {control::kAbout, "&About"},
        {control::kBrowse, "&Browse"},
        {control::kOpen, "&Open"},
        {control::kGenerate, "&Generate HTML"},
        {control::kOptions, "&Options"},
        {control::kLoad, "&Load Settings"},
        {control::kSave, "&Save Settings"},
        {control::kVersionLine, "PAIRWEB version " + std::string(site::kVersion)},
        {control::kInstruction,
         "Select the TRN file, output HTML file, options and then click \"Generate HTML\"."},
        {control::kTrnGroup, "Select source trn file"},
        {control::kHomePageGroup, "Select the home html file for your website"},
        {control::kTitleGroup, "Tournament title"},
        {control::kSlotGroup, "Save/Load settings"},
    };
    return kTexts;
}

const std::vector<std::string>& slotItems() {
    static const std::vector<std::string> kItems = {"1", "2", "3", "4", "5", "6", "7", "8"};
    return kItems;
}

const std::vector<int>& mainDialogTabOrder() {
    using namespace control;
    static const std::vector<int> kOrder = {kBrowse,  kTrnFile,  kOpen, kHomePage, kTitle,
                                            kOptions, kGenerate, kSlot, kLoad,     kSave,
                                            kOk,      kCancel,   kAbout};
    return kOrder;
}

const std::string& aboutCaption() {
    static const std::string kCaption = "About pairweb";
    return kCaption;
}

std::string aboutText() {
    return "pairweb tournament web site generator, Version " + std::string(site::kVersion);
}

std::string applicationTitle(const std::string& programPath) {
    const std::size_t slash = programPath.find_last_of("/\\");
    std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

GeneratorDialog::GeneratorDialog(std::string programPath, platform::Platform& platform,
                                 FileDialogs& files, Prompts& prompts)
    : m_programPath(std::move(programPath)),
      m_appTitle(applicationTitle(m_programPath)),
      m_platform(platform),
      m_prompts(prompts),
      m_fileDialog(files),
      m_hasher(platform::hashPassword),
      m_publishing(prompts, m_appTitle) {}

std::string GeneratorDialog::settingsPath() const {
    return settings::settingsFilePath(m_programPath, m_slot, m_platform);
}

void GeneratorDialog::updateData(bool fromControls) {
    if (m_transferring || m_controls == nullptr) {
        return;
    }
    m_transferring = true;
    if (fromControls) {
        m_settings.strFilename = m_controls->text(control::kTrnFile);
        m_settings.TourneyName = utf8ToSiteText(m_controls->text(control::kTitle));
        m_settings.OutputIndex = m_controls->text(control::kHomePage);
        m_slot = m_controls->text(control::kSlot);
    } else {
        m_controls->setText(control::kTrnFile, m_settings.strFilename);
        m_controls->setText(control::kTitle, siteTextToUtf8(m_settings.TourneyName));
        m_controls->setText(control::kHomePage, m_settings.OutputIndex);
        m_controls->setText(control::kSlot, m_slot);
    }
    m_transferring = false;
}

namespace {

// Browse offers both kinds of tournament file together, then each alone.
constexpr std::string_view kTournamentFilter =
    "Tournament files (*.trn;*.trf)|*.trn;*.trf|SwissPerfect tables (*.trn)|*.trn|"
    "TRF files (*.trf)|*.trf|All Files|*.*";

// The event's name as the chosen file's program keeps it: a TRF file's 012 line, or the
// .ini file beside SwissPerfect's tables.
std::optional<std::string> eventName(const std::string& path, const platform::Platform& files) {
    return data::isTrfPath(path) ? data::trfTournamentName(path, files)
                                 : data::tournamentName(path, files);
}

}  // namespace

void GeneratorDialog::browse() {
    m_fileDialog.setDialogTitle("Select SwissPerfect Tournament file");
    m_fileDialog.setFilter(std::string(kTournamentFilter));
    m_fileDialog.setFileName("");
    m_fileDialog.ShowOpen();
    if (m_fileDialog.fileName().empty()) {
        return;
    }
    m_settings.strFilename = m_fileDialog.fileName();
    // A title still empty or showing its prompt is filled from the event's own name, which
    // the pairing program keeps in an .ini file beside the tables, or a TRF file in itself.
    if (m_settings.TourneyName.empty() ||
        m_settings.TourneyName == settings::Settings{}.TourneyName) {
        if (const auto name = eventName(m_settings.strFilename, m_platform)) {
            m_settings.TourneyName = *name;
        }
    }
    updateData(false);
}

void GeneratorDialog::open() {
    m_fileDialog.setDialogTitle("Select Output index filename");
    m_fileDialog.setFileName("index.html");
    m_fileDialog.setFilter("HTML files|*.html|All Files|*.*");
    m_fileDialog.ShowSave();
    // A cancelled dialog leaves the proposed "index.html", which the generation refuses.
    m_settings.OutputIndex = m_fileDialog.fileName();
    updateData(false);
}

void GeneratorDialog::options(const std::function<void(OptionsSheet&)>& runSheet) {
    OptionsSheet sheet(m_settings);
    sheet.setPassword = [this](const settings::Settings& s) { setAdminPassword(s); };
    sheet.testConnection = [this](settings::Settings& s) { m_publishing.testConnection(s); };
    sheet.forgetPassword = [this](const settings::Settings& s) { m_publishing.forgetPassword(s); };
    runSheet(sheet);
    sheet.store(m_settings);
}

void GeneratorDialog::setAdminPassword(const settings::Settings& s) {
    const std::optional<PasswordAnswer> answer = m_prompts.askPassword(
        {"Set admin password",
         "The new password for the site's game entry (admin.php), at least 8 characters:",
         ""});
    if (answer) {
        const site::PasswordResult result =
            site::setAdminPassword(s, answer->password, m_hasher, m_platform);
        tell(result.message, result.ok());
    }
}

void GeneratorDialog::loadSettings() {
    updateData(true);
    const settings::SettingsResult result =
        settings::readSettingsFile(settingsPath(), m_settings, m_platform);
    if (result.ok()) {
        updateData(false);
    } else {
        tell(result.message, false);
    }
}

void GeneratorDialog::saveSettings() {
    updateData(true);
    const settings::SettingsResult result =
        settings::writeSettingsFile(settingsPath(), m_settings, m_platform);
    if (!result.ok()) {
        tell(result.message, false);
    }
}

void GeneratorDialog::generate() {
    updateData(true);
    const site::RunResult result =
        site::generateSite(m_settings, m_platform, nullptr, qr::encodeQr);
    if (result.ok() && m_settings.PublishAfterGenerate != 0) {
        const FlowMessage end = m_publishing.publishGenerated(m_settings, result.message);
        m_prompts.message(m_appTitle, end.text, end.kind);
        return;
    }
    tell(result.message, result.ok());
}

void GeneratorDialog::tell(const std::string& text, bool succeeded) {
    m_prompts.message(m_appTitle, text, messageKind(succeeded));
}

}  // namespace pairweb::app

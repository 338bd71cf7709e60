#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/options.h"
#include "app/prompts.h"
#include "app/publish_flow.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "site/admin_password.h"

namespace pairweb::app {

// The main dialog's controls, as app/control_ids.h numbers them.
namespace control {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kTrnFile = IDC_MAIN_TRNFILE;
constexpr int kHomePage = IDC_MAIN_HOMEPAGE;
constexpr int kTitle = IDC_MAIN_TITLE;
constexpr int kSlot = IDC_MAIN_SLOT;
constexpr int kOptions = IDC_MAIN_OPTIONS;
constexpr int kLoad = IDC_MAIN_LOAD;
constexpr int kSave = IDC_MAIN_SAVE;
constexpr int kGenerate = IDC_MAIN_GENERATE;
constexpr int kOpen = IDC_MAIN_OPEN;
constexpr int kBrowse = IDC_MAIN_BROWSE;
constexpr int kAbout = IDC_MAIN_ABOUT;
constexpr int kVersionLine = IDC_MAIN_VERSION;
constexpr int kInstruction = IDC_MAIN_INSTRUCTION;
constexpr int kTrnGroup = IDC_MAIN_TRN_GROUP;
constexpr int kHomePageGroup = IDC_MAIN_HOMEPAGE_GROUP;
constexpr int kTitleGroup = IDC_MAIN_TITLE_GROUP;
constexpr int kSlotGroup = IDC_MAIN_SLOT_GROUP;
constexpr int kAboutText = IDC_ABOUT_TEXT;
}  // namespace control

struct ControlText {
    int id;
    std::string text;
};

// "PAIRWEB"
const std::string& mainDialogCaption();
// Every captioned control and static of the main dialog with its text.
const std::vector<ControlText>& mainDialogTexts();
// The slot combo box's list: "1" to "8".
const std::vector<std::string>& slotItems();
// The keyboard's tab order of the main dialog's controls.
const std::vector<int>& mainDialogTabOrder();
// The About box: its caption and its one line.
const std::string& aboutCaption();
std::string aboutText();

// The application's title, caption of every message box: the program's file name without
// its folder and extension.
std::string applicationTitle(const std::string& programPath);

// What a front end's main dialog offers: the texts of its edits and of the slot combo box
// (UTF-8), by id.
class MainDialogControls {
  public:
    virtual ~MainDialogControls() = default;
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, const std::string& utf8) = 0;
};

// The main dialog's state and commands: it owns the process's one Settings record and the
// settings slot, and runs every action of the dialog's buttons.
class GeneratorDialog {
  public:
    // programPath: the program's own file (settings files and the viewer lie beside it).
    GeneratorDialog(std::string programPath, platform::Platform& platform, FileDialogs& files,
                    Prompts& prompts);

    // The front end's controls; until set, transfers do nothing.
    void setControls(MainDialogControls* controls) { m_controls = controls; }

    settings::Settings& settings() { return m_settings; }
    const std::string& slot() const { return m_slot; }
    const std::string& appTitle() const { return m_appTitle; }
    // The current slot's settings file.
    std::string settingsPath() const;

    // Controls to members (true) or members to controls (false). Filling the controls
    // fires their change notices; those do not read the not-yet-filled controls back.
    void updateData(bool fromControls);
    // A text edit changed: every control goes to the members at once.
    void textChanged() { updateData(true); }

    void browse();
    void open();
    // Runs the options sheet on the settings: runSheet shows it modally; what its pages
    // hold goes back whatever the result.
    void options(const std::function<void(OptionsSheet&)>& runSheet);
    void loadSettings();
    void saveSettings();
    // Generates the site; with "Publish after Generate HTML" on, a site generated without
    // fault is then published. One message box says how it all went.
    void generate();
    // OK: generates (and publishes), and the dialog then closes whatever the run said.
    void ok() { generate(); }
    // "Set admin password..." with the settings shown in the sheet: asks for the password and
    // writes its hash into the site's PGN folder, as pairweb-gen --admin-password does.
    void setAdminPassword(const settings::Settings& s);
    // What computes password hashes (the system's cryptography unless a test replaces it).
    void setPasswordHasher(site::HashPassword hasher) { m_hasher = std::move(hasher); }
    // Publishing after Generate and the Publish page's buttons; the front end gives it its
    // progress dialog, tests their own publisher and password store.
    PublishFlow& publishing() { return m_publishing; }

  private:
    // Shows a command's message, with the icon of its success or failure.
    void tell(const std::string& text, bool succeeded);

    std::string m_programPath;
    std::string m_appTitle;
    platform::Platform& m_platform;
    Prompts& m_prompts;
    CommonDialog m_fileDialog;
    MainDialogControls* m_controls = nullptr;
    settings::Settings m_settings;
    std::string m_slot;
    bool m_transferring = false;
    site::HashPassword m_hasher;
    PublishFlow m_publishing;
};

}  // namespace pairweb::app

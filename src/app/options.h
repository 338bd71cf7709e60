#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/publish_address.h"
#include "app/site_text.h"
#include "settings/settings.h"

namespace pairweb::app {

// The options sheet's seven pages as data: which control edits which setting, with its
// caption, list and notes, in the order the page shows them. Front ends lay the items out
// and bind controls by id; they decide nothing else.

enum class ItemKind {
    Group,  // a group box around the following items up to EndGroup
    EndGroup,
    Check,          // automatic check box: a flag (0 or 1)
    Combo,          // editable drop-down combo box, list sorted: a text
    List,           // drop-down list, not editable, in the order given: one of its entries
    Edit,           // one-line edit: a text
    MultiLineEdit,  // multi-line edit with a vertical scroll bar: a text
    Colour,         // colour button beside a description: a colour
    Note,           // static text, wrapped
    Button,         // push button: an action of the sheet (see OptionsSheet::press)
};

struct PageItem {
    ItemKind kind = ItemKind::Note;
    int id = 0;        // the control's identifier (statics get identifiers of their own)
    std::string text;  // check box text, group title, note, colour caption, or the label
    std::string name;  // the setting's name; empty for statics
    std::int32_t settings::Settings::*flag = nullptr;
    std::string settings::Settings::*textField = nullptr;
    std::uint32_t settings::Settings::*colour = nullptr;
    std::vector<std::string> items;  // a combo box's list, sorted
    std::string description;         // a colour button's description
    std::string defaultText;         // a colour button's default-box text
    // The static that labels a combo box or edit, or describes a colour button (0: none).
    int labelId = 0;
    // Which part of PublishUrl the control shows (the Publish page), or none.
    AddressPart part = AddressPart::None;
    // An item shown only while the control shownWith holds the text shownWithText (0: always).
    int shownWith = 0;
    std::string shownWithText;

    bool isControl() const { return !name.empty(); }
};

struct PageDef {
    std::string tab;
    std::vector<PageItem> items;
};

// The PGN page's button that sets the site's admin password.
constexpr int kSetPasswordButton = IDC_PGN_SET_PASSWORD;

// The seven pages in tab order: Options, Colours, Tiebreaks, Fonts, Labels, PGN, Publish.
const std::vector<PageDef>& optionPages();
constexpr int kOptionPageCount = 7;
constexpr int kPgnPage = 5;
constexpr int kPublishPage = 6;

// The Publish page's controls.
constexpr int kPublishProtocol = IDC_PUBLISH_PROTOCOL;
constexpr int kPublishHost = IDC_PUBLISH_HOST;
constexpr int kPublishPort = IDC_PUBLISH_PORT;
constexpr int kPublishUser = IDC_PUBLISH_USER;
constexpr int kPublishFolder = IDC_PUBLISH_FOLDER;
constexpr int kPublishHostKey = IDC_PUBLISH_HOSTKEY;
constexpr int kPublishAfterGenerate = IDC_PUBLISH_AFTER_GENERATE;
constexpr int kTestConnectionButton = IDC_PUBLISH_TEST_CONNECTION;
constexpr int kForgetPasswordButton = IDC_PUBLISH_FORGET_PASSWORD;
constexpr int kPlainFtpNote = IDC_PUBLISH_PLAIN_FTP_NOTE;

// What a front end's page offers: its controls' values by id. Texts are UTF-8.
class PageControls {
  public:
    virtual ~PageControls() = default;
    virtual bool checked(int id) const = 0;
    virtual void setChecked(int id, bool on) = 0;
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, const std::string& utf8) = 0;
    virtual void setColour(int id, std::uint32_t colour) = 0;
    // Shows or hides a control or static.
    virtual void setShown(int id, bool shown) = 0;
    // How the toolkit's multi-line edits separate lines.
    virtual LineBreaks lineBreaks() const = 0;
};

// The sheet's state while it is open. Each page keeps its own copy of the settings: its
// controls are committed to it when the user leaves the page or presses OK, colour buttons
// the moment a colour is chosen. Whatever the sheet's result, store() copies every page's
// values back, so Cancel drops only the uncommitted edits of the page shown, and a page
// never shown gives back what it was given.
class OptionsSheet {
  public:
    explicit OptionsSheet(const settings::Settings& s);

    // The page's values to its controls (when the page is first shown).
    void show(int page, PageControls& controls) const;
    // A list's choice changed: shows the items that depend on it, hides the others.
    void choiceChanged(int page, PageControls& controls) const;
    // The page's controls to its values (the page is left, or OK pressed on it).
    void commit(int page, const PageControls& controls);
    // A colour button of the page took a colour.
    void colourChosen(int page, int id, std::uint32_t colour);
    // Every page's values into the settings (only the fields each page edits).
    void store(settings::Settings& s) const;
    // A button of the page was pressed: runs its action with the page's values. Given the
    // page's controls, they are committed first (the action works on what they show) and
    // shown again after (the action may change the values: a trusted host key).
    void press(int page, int id, PageControls* controls = nullptr);
    // What the buttons do; given by the main dialog.
    std::function<void(const settings::Settings&)> setPassword;     // "Set admin password..."
    std::function<void(settings::Settings&)> testConnection;        // "Test connection"
    std::function<void(const settings::Settings&)> forgetPassword;  // "Forget password"

    const settings::Settings& values(int page) const {
        return m_values[static_cast<std::size_t>(page)];
    }

  private:
    std::array<settings::Settings, kOptionPageCount> m_values;
};

}  // namespace pairweb::app

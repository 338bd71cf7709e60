#include "app/options.h"

#include <algorithm>

#include "data/tournament.h"

namespace pairweb::app {
namespace {

using settings::Settings;

// Identifiers are app/control_ids.h's; a control's label is its id + 100.
constexpr int kLabelOffset = 100;

std::vector<std::string> sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return items;
}

PageItem make(ItemKind kind, int id, std::string text, std::string name) {
    PageItem item;
    item.kind = kind;
    item.id = id;
    item.text = std::move(text);
    item.name = std::move(name);
    return item;
}

PageItem group(int id, std::string title) {
    return make(ItemKind::Group, id, std::move(title), {});
}
PageItem endGroup() { return make(ItemKind::EndGroup, 0, {}, {}); }
PageItem note(int id, std::string text) { return make(ItemKind::Note, id, std::move(text), {}); }
PageItem button(int id, std::string text) {
    return make(ItemKind::Button, id, std::move(text), {});
}

PageItem check(int id, std::string text, std::string name, std::int32_t Settings::*field) {
    PageItem item = make(ItemKind::Check, id, std::move(text), std::move(name));
    item.flag = field;
    return item;
}

PageItem textControl(ItemKind kind, int id, std::string label, std::string name,
                     std::string Settings::*field, std::vector<std::string> items = {}) {
    PageItem item = make(kind, id, std::move(label), std::move(name));
    item.textField = field;
    item.items = sorted(std::move(items));
    item.labelId = item.text.empty() ? 0 : id + kLabelOffset;
    return item;
}

PageItem combo(int id, std::string label, std::string name, std::string Settings::*field,
               std::vector<std::string> items) {
    return textControl(ItemKind::Combo, id, std::move(label), std::move(name), field,
                       std::move(items));
}

PageItem edit(int id, std::string label, std::string name, std::string Settings::*field) {
    return textControl(ItemKind::Edit, id, std::move(label), std::move(name), field);
}

// A control of the Publish page that shows a part of PublishUrl.
PageItem addressControl(ItemKind kind, int id, std::string label, std::string name,
                        AddressPart part) {
    PageItem item = textControl(kind, id, std::move(label), std::move(name), &Settings::PublishUrl);
    item.part = part;
    if (part == AddressPart::Protocol) {
        item.flag = &Settings::PublishPlainFtp;
        item.items = protocolNames();  // in their own order
    }
    return item;
}

PageDef publishPage() {
    PageItem plainNote = note(kPlainFtpNote,
                              "Without encryption the password and the pages travel in clear, "
                              "for anyone on the networks in between to read.");
    plainNote.shownWith = kPublishProtocol;
    plainNote.shownWithText = plainFtpName();
    return {"Publish",
            {addressControl(ItemKind::List, kPublishProtocol, "Protocol", "PublishProtocol",
                            AddressPart::Protocol),
             plainNote,
             addressControl(ItemKind::Edit, kPublishHost, "Host", "PublishHost", AddressPart::Host),
             addressControl(ItemKind::Edit, kPublishPort, "Port (empty: default)", "PublishPort",
                            AddressPart::Port),
             addressControl(ItemKind::Edit, kPublishUser, "User name", "PublishUser",
                            AddressPart::User),
             addressControl(ItemKind::Edit, kPublishFolder, "Remote folder", "PublishFolder",
                            AddressPart::Folder),
             edit(kPublishHostKey, "SFTP host key", "PublishHostKey", &Settings::PublishHostKey),
             check(kPublishAfterGenerate, "Publish after Generate HTML", "PublishAfterGenerate",
                   &Settings::PublishAfterGenerate),
             button(kTestConnectionButton, "Test connection"),
             button(kForgetPasswordButton, "Forget password"),
             note(IDC_PUBLISH_NOTE2,
                  "The password is never written to the settings file: it is asked for when a "
                  "publish needs it, and kept by the system (Windows Credential Manager, or the "
                  "netrc file on Linux) when \"Remember this password\" is ticked."),
             note(IDC_PUBLISH_NOTE3,
                  "SFTP: the first connection shows the server's host key and asks whether to "
                  "trust it; a trusted key is kept above, and a server that shows another key "
                  "later is refused.")}};
}

PageItem colour(int id, std::string caption, std::string description, std::string defaultText,
                std::string name, std::uint32_t Settings::*field) {
    PageItem item = make(ItemKind::Colour, id, std::move(caption), std::move(name));
    item.colour = field;
    item.description = std::move(description);
    item.defaultText = std::move(defaultText);
    item.labelId = id + kLabelOffset;
    return item;
}

std::vector<std::string> tiebreakNames() {
    return {data::kTiebreakNames.begin(), data::kTiebreakNames.end()};
}

const std::vector<std::string> kSizes = {"8px",  "10px", "12px", "14px", "16px",
                                         "18px", "20px", "22px", "24px", "26px"};

std::vector<PageDef> makePages() {
    PageItem disclaimer = textControl(ItemKind::MultiLineEdit, IDC_OPTIONS_DISCLAIMER, "",
                                      "Disclaimer", &Settings::Disclaimer);
    return {
        {"Options",
         {group(IDC_OPTIONS_TOURNAMENT_TYPE_GROUP, "Tournament type"),
          combo(IDC_OPTIONS_TOURNEYTYPE, "", "TourneyType", &Settings::TourneyType,
                {"Swiss", "Round-Robin"}),
          endGroup(),
          group(IDC_OPTIONS_DISPLAY_OPTIONS_GROUP, "Display Options"),
          check(IDC_OPTIONS_DISPLAYTITLES, "Display titles", "DisplayTitles",
                &Settings::DisplayTitles),
          check(IDC_OPTIONS_DISPLAYRATING, "Display Rating (usually FIDE)", "DisplayRating",
                &Settings::DisplayRating),
          check(IDC_OPTIONS_DISPLAYRATING_2, "Display Rating_2 (usually ACF)", "DisplayRating_2",
                &Settings::DisplayRating_2),
          check(IDC_OPTIONS_DISPLAYSEED, "Display Seed number", "DisplaySeed",
                &Settings::DisplaySeed),
          check(IDC_OPTIONS_DISPLAYFED, "Display Federation", "DisplayFed", &Settings::DisplayFed),
          check(IDC_OPTIONS_DISPLAYCLUB, "Display Club", "DisplayClub", &Settings::DisplayClub),
          check(IDC_OPTIONS_CROSSSTARTRANK, "Crosstable in starting rank", "CrossStartrank",
                &Settings::CrossStartrank),
          note(IDC_OPTIONS_NOTE1, "(otherwise in score rank)"),
          endGroup(),
          group(IDC_OPTIONS_DISCLAIMER_GROUP, "Disclaimer"),
          disclaimer,
          note(IDC_OPTIONS_NOTE2, "Displayed at the start of any uncommenced pairing."),
          endGroup(),
          group(IDC_OPTIONS_PHONE_PAGES_GROUP, "Phone pages"),
          check(IDC_OPTIONS_PHONEPAGES, "Write phone pages (folder m of the site)", "PhonePages",
                &Settings::PhonePages),
          edit(IDC_OPTIONS_PUBLICURL, "Public address", "PublicUrl", &Settings::PublicUrl),
          endGroup()}},
        {"Colours",
         {colour(IDC_COLOURS_TEXTCOLOUR1, "Text Colour", "Text colour for table or page body",
                 "Select text colour", "TextColour1", &Settings::TextColour1),
          colour(IDC_COLOURS_TITLECOLOUR, "Title Colour", "Text colour for the tournament title",
                 "Select title colour", "TitleColour", &Settings::TitleColour),
          colour(IDC_COLOURS_HEADTEXTCOLOUR, "Header Text Colour", "Text colour for table headers",
                 "Select header text colour", "HeadTextColour", &Settings::HeadTextColour),
          colour(IDC_COLOURS_LINKTEXTCOLOUR, "Text Link Colour",
                 "Text colour for links in table body or text", "Select text link colour",
                 "LinkTextColour", &Settings::LinkTextColour),
          colour(IDC_COLOURS_HEADHOVERCOLOUR, "Header Hover Colour",
                 "Hover colour for links in table header", "Select header hover colour",
                 "HeadHoverColour", &Settings::HeadHoverColour),
          colour(IDC_COLOURS_TEXTHOVERCOLOUR, "Text Hover Colour",
                 "Hover colour for table or page body", "Select text hover colour",
                 "TextHoverColour", &Settings::TextHoverColour),
          colour(IDC_COLOURS_BGCOLOURMAIN, "Page BG Colour", "Page background colour",
                 "Select main BG colour", "BGColourMain", &Settings::BGColourMain),
          colour(IDC_COLOURS_BGCOLOURTABLE, "Table BG Colour", "Background colour for all tables",
                 "Select table BG colour", "BGColourTable", &Settings::BGColourTable),
          colour(IDC_COLOURS_BGCOLOURHEAD, "Header BG Colour", "Background for table headers",
                 "Select header BG colour", "BGColourHead", &Settings::BGColourHead)}},
        {"Tiebreaks",
         {check(IDC_TIEBREAKS_DISPLAYTIEBREAKS, "Display tiebreaks", "DisplayTiebreaks",
                &Settings::DisplayTiebreaks),
          group(IDC_TIEBREAKS_TIEBREAKS_GROUP, "Tiebreaks"),
          combo(IDC_TIEBREAKS_FIRSTTB, "First", "FirstTB", &Settings::FirstTB, tiebreakNames()),
          combo(IDC_TIEBREAKS_SECONDTB, "Second", "SecondTB", &Settings::SecondTB, tiebreakNames()),
          combo(IDC_TIEBREAKS_THIRDTB, "Third", "ThirdTB", &Settings::ThirdTB, tiebreakNames()),
          endGroup(),
          note(IDC_TIEBREAKS_NOTE1,
               "Note: tiebreaks will be applied to rank standings and crosstables even if "
               "\"Display Tiebreaks\" is unchecked.  If you do not want any tiebreaks applied, "
               "select \"Start Rank\" as the first tiebreak.")}},
        {"Fonts",
         {combo(IDC_FONTS_FONTFAMILY, "Select font:", "FontFamily", &Settings::FontFamily,
                {"Times", "\"Times New Roman\"", "Garamond", "Arial", "\"Arial Black\"",
                 "\"Comic Sans MS\"", "Georgia", "Palatino", "Helvetica", "Verdana",
                 "\"Trebuchet MS\"", "\"Book Antiqua\"", "Serif", "Sans-serif", "Tahoma"}),
          group(IDC_FONTS_FONT_SIZES_GROUP, "Font sizes"),
          combo(IDC_FONTS_TOPTITLESIZE, "Tournament title", "ToptitleSize", &Settings::ToptitleSize,
                kSizes),
          combo(IDC_FONTS_TOPSIZE, "Subheadings", "TopSize", &Settings::TopSize, kSizes),
          combo(IDC_FONTS_TITLESIZE, "Table title", "TitleSize", &Settings::TitleSize, kSizes),
          combo(IDC_FONTS_HEADSIZE, "Table headings", "HeadSize", &Settings::HeadSize, kSizes),
          combo(IDC_FONTS_TEXTSIZE, "Table body text", "TextSize", &Settings::TextSize, kSizes),
          combo(IDC_FONTS_CROSSTABLESIZE, "Crosstable entries", "CrosstableSize",
                &Settings::CrosstableSize, kSizes),
          combo(IDC_FONTS_RRCROSSTABLESIZE, "Round-robin crosstables", "rrCrosstableSize",
                &Settings::rrCrosstableSize, kSizes),
          endGroup()}},
        {"Labels",
         {edit(IDC_LABELS_PLAYER_LIST, "Player List", "Player_List", &Settings::Player_List),
          edit(IDC_LABELS_PAIRINGS, "Pairings", "Pairings", &Settings::Pairings),
          edit(IDC_LABELS_STANDINGS, "Standings", "Standings", &Settings::Standings),
          edit(IDC_LABELS_CROSSTABLE, "Crosstable", "Crosstable", &Settings::Crosstable),
          edit(IDC_LABELS_ROUND, "Round", "Round", &Settings::Round),
          edit(IDC_LABELS_NAME, "Name", "Name", &Settings::Name),
          edit(IDC_LABELS_FEDERATION, "Federation", "Federation", &Settings::Federation),
          edit(IDC_LABELS_RANK, "Rank", "Rank", &Settings::Rank),
          edit(IDC_LABELS_SEED, "Seed", "Seed", &Settings::Seed),
          edit(IDC_LABELS_SCORE, "Score", "Score", &Settings::Score),
          edit(IDC_LABELS_RESULT, "Result", "Result", &Settings::Result),
          edit(IDC_LABELS_BOARD, "Board", "Board", &Settings::Board),
          edit(IDC_LABELS_CLUB, "Club", "Club", &Settings::Club),
          edit(IDC_LABELS_RATING, "Rating (if only one is displayed)", "Rating", &Settings::Rating),
          edit(IDC_LABELS_RATING_1, "Rating_1 (if both are displayed)", "Rating_1",
               &Settings::Rating_1),
          edit(IDC_LABELS_RATING_2, "Rating_2 (if both are displayed)", "Rating_2",
               &Settings::Rating_2),
          edit(IDC_LABELS_BYE, "Bye", "Bye", &Settings::Bye),
          edit(IDC_LABELS_PREVIOUS, "Previous", "Previous", &Settings::Previous),
          edit(IDC_LABELS_NEXT, "Next", "Next", &Settings::Next)}},
        {"PGN",
         {check(IDC_PGN_MAKEPGN, "Generate PGN Files", "MakePGN", &Settings::MakePGN),
          check(IDC_PGN_LINKPGN, "Link to PGN Files", "LinkPGN", &Settings::LinkPGN),
          edit(IDC_PGN_FNAMEPREFIX, "Filename Prefix", "FnamePrefix", &Settings::FnamePrefix),
          edit(IDC_PGN_PGNSITE, "Site", "PGNSite", &Settings::PGNSite),
          edit(IDC_PGN_PGNDATE, "Date", "PGNDate", &Settings::PGNDate),
          button(kSetPasswordButton, "Set admin password..."),
          note(IDC_PGN_NOTE1,
               "The \"Generate PGN\" option enables skeleton PGN files to be created, which "
               "contain player and tournament information, but no moves.  If these files "
               "already exist, they will not be overwritten."),
          note(IDC_PGN_NOTE2,
               "The \"Link to PGN\" option creates links from the pairings pages, and "
               "crosstables (click on the result) to PGN files.  The link will bring up a "
               "pop-up javascript applet in a window which will allow the user to play "
               "through the games."),
          note(IDC_PGN_NOTE3,
               "PGN filenames will begin with \"Filename Prefix\".  Use this e.g to insert the "
               "tournament name in the PGN filename.  The Site and Date fields will appear in "
               "the appropriate PGN fields.")}},
        publishPage(),
    };
}

}  // namespace

const std::vector<PageDef>& optionPages() {
    static const std::vector<PageDef> kPages = makePages();
    return kPages;
}

OptionsSheet::OptionsSheet(const Settings& s) { m_values.fill(s); }

void OptionsSheet::show(int page, PageControls& controls) const {
    const Settings& v = values(page);
    PublishAddress address = readAddress(v);
    for (const PageItem& item : optionPages()[static_cast<std::size_t>(page)].items) {
        if (item.part != AddressPart::None) {
            controls.setText(item.id, partOf(address, item.part));
        } else if (item.flag != nullptr) {
            controls.setChecked(item.id, v.*(item.flag) != 0);
        } else if (item.colour != nullptr) {
            controls.setColour(item.id, v.*(item.colour));
        } else if (item.textField != nullptr) {
            const std::string shown = siteTextToUtf8(v.*(item.textField));
            controls.setText(item.id, item.kind == ItemKind::MultiLineEdit
                                          ? multiLineToControl(shown, controls.lineBreaks())
                                          : shown);
        }
    }
    choiceChanged(page, controls);
}

void OptionsSheet::choiceChanged(int page, PageControls& controls) const {
    for (const PageItem& item : optionPages()[static_cast<std::size_t>(page)].items) {
        if (item.shownWith != 0) {
            controls.setShown(item.id, controls.text(item.shownWith) == item.shownWithText);
        }
    }
}

void OptionsSheet::commit(int page, const PageControls& controls) {
    Settings& v = m_values[static_cast<std::size_t>(page)];
    PublishAddress address;
    bool hasAddress = false;
    for (const PageItem& item : optionPages()[static_cast<std::size_t>(page)].items) {
        if (item.part != AddressPart::None) {
            // Address texts are not site texts: they stay UTF-8.
            partOf(address, item.part) = controls.text(item.id);
            hasAddress = true;
        } else if (item.flag != nullptr) {
            v.*(item.flag) = controls.checked(item.id) ? 1 : 0;
        } else if (item.textField != nullptr) {
            const std::string shown = controls.text(item.id);
            v.*(item.textField) =
                utf8ToSiteText(item.kind == ItemKind::MultiLineEdit
                                   ? multiLineFromControl(shown, controls.lineBreaks())
                                   : shown);
        }
    }
    if (hasAddress) writeAddress(v, address);
}

void OptionsSheet::colourChosen(int page, int id, std::uint32_t colour) {
    for (const PageItem& item : optionPages()[static_cast<std::size_t>(page)].items) {
        if (item.colour != nullptr && item.id == id) {
            m_values[static_cast<std::size_t>(page)].*(item.colour) = colour;
        }
    }
}

void OptionsSheet::press(int page, int id, PageControls* controls) {
    if (controls != nullptr) commit(page, *controls);
    Settings& v = m_values[static_cast<std::size_t>(page)];
    if (page == kPgnPage && id == kSetPasswordButton && setPassword) setPassword(v);
    if (page == kPublishPage && id == kTestConnectionButton && testConnection) testConnection(v);
    if (page == kPublishPage && id == kForgetPasswordButton && forgetPassword) forgetPassword(v);
    if (controls != nullptr) show(page, *controls);
}

void OptionsSheet::store(Settings& s) const {
    for (int page = 0; page < kOptionPageCount; ++page) {
        const Settings& v = values(page);
        for (const PageItem& item : optionPages()[static_cast<std::size_t>(page)].items) {
            if (item.flag != nullptr) s.*(item.flag) = v.*(item.flag);
            if (item.textField != nullptr) s.*(item.textField) = v.*(item.textField);
            if (item.colour != nullptr) s.*(item.colour) = v.*(item.colour);
        }
    }
}

}  // namespace pairweb::app

#include "ui/options_pages.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/site_text.h"

namespace pairweb::ui {
namespace {

using settings::Settings;

// Notes are plain text; they may be long and wrap.
QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

template <typename Control>
Control* named(Control* control, const char* settingName) {
    control->setObjectName(QString::fromLatin1(settingName));
    return control;
}

const QStringList kSizes = {"8px",  "10px", "12px", "14px", "16px",
                            "18px", "20px", "22px", "24px", "26px"};

}  // namespace

QComboBox* makeEditableCombo(const QStringList& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    QStringList sorted = items;
    sorted.sort();
    combo->addItems(sorted);
    return combo;
}

void BoundPage::bind(QCheckBox* box, std::int32_t Settings::*field) {
    m_bindings.push_back({box, field, nullptr});
}
// Every text these pages edit is a text of the site, held in Windows-1252.
void BoundPage::bind(QComboBox* combo, std::string Settings::*field) {
    guardSiteText(combo);
    m_bindings.push_back({combo, nullptr, field});
}
void BoundPage::bind(QLineEdit* edit, std::string Settings::*field) {
    guardSiteText(edit);
    m_bindings.push_back({edit, nullptr, field});
}
void BoundPage::bind(QPlainTextEdit* edit, std::string Settings::*field) {
    guardSiteText(edit);
    m_bindings.push_back({edit, nullptr, field});
}

void BoundPage::load(const Settings& s) {
    m_values = s;
    showValues();
}

void BoundPage::showValues() {
    for (const Binding& b : m_bindings) {
        if (auto* box = qobject_cast<QCheckBox*>(b.control)) {
            box->setChecked(m_values.*(b.flag) != 0);
        } else if (auto* combo = qobject_cast<QComboBox*>(b.control)) {
            combo->setEditText(fromSiteText(m_values.*(b.text)));
        } else if (auto* edit = qobject_cast<QLineEdit*>(b.control)) {
            edit->setText(fromSiteText(m_values.*(b.text)));
        } else if (auto* multi = qobject_cast<QPlainTextEdit*>(b.control)) {
            // The multi-line edit shows line breaks; the setting keeps them as CR LF.
            multi->setPlainText(
                fromSiteText(m_values.*(b.text)).replace(QStringLiteral("\r\n"), "\n"));
        }
    }
}

void BoundPage::commit() {
    for (const Binding& b : m_bindings) {
        if (auto* box = qobject_cast<QCheckBox*>(b.control)) {
            m_values.*(b.flag) = box->isChecked() ? 1 : 0;
        } else if (auto* combo = qobject_cast<QComboBox*>(b.control)) {
            m_values.*(b.text) = toSiteText(combo->currentText());
        } else if (auto* edit = qobject_cast<QLineEdit*>(b.control)) {
            m_values.*(b.text) = toSiteText(edit->text());
        } else if (auto* multi = qobject_cast<QPlainTextEdit*>(b.control)) {
            m_values.*(b.text) =
                toSiteText(multi->toPlainText().replace("\n", QStringLiteral("\r\n")));
        }
    }
}

void BoundPage::store(Settings& s) const {
    for (const Binding& b : m_bindings) {
        if (b.flag != nullptr) {
            s.*(b.flag) = m_values.*(b.flag);
        } else {
            s.*(b.text) = m_values.*(b.text);
        }
    }
}

COptionsPage::COptionsPage(QWidget* parent) : BoundPage(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* typeGroup = new QGroupBox(tr("Tournament type"), this);
    auto* type = named(makeEditableCombo({"Swiss", "Round-Robin"}, typeGroup), "TourneyType");
    (new QVBoxLayout(typeGroup))->addWidget(type);
    layout->addWidget(typeGroup);

    auto* display = new QGroupBox(tr("Display Options"), this);
    auto* displayLayout = new QVBoxLayout(display);
    const auto check = [&](const char* text, const char* name, std::int32_t Settings::*field) {
        auto* box = named(new QCheckBox(QString::fromUtf8(text), display), name);
        displayLayout->addWidget(box);
        bind(box, field);
    };
    check("Display titles", "DisplayTitles", &Settings::DisplayTitles);
    check("Display Rating (usually FIDE)", "DisplayRating", &Settings::DisplayRating);
    check("Display Rating_2 (usually ACF)", "DisplayRating_2", &Settings::DisplayRating_2);
    check("Display Seed number", "DisplaySeed", &Settings::DisplaySeed);
    check("Display Federation", "DisplayFed", &Settings::DisplayFed);
    check("Display Club", "DisplayClub", &Settings::DisplayClub);
    check("Crosstable in starting rank", "CrossStartrank", &Settings::CrossStartrank);
    displayLayout->addWidget(note(tr("(otherwise in score rank)"), display));
    layout->addWidget(display);

    auto* disclaimerGroup = new QGroupBox(tr("Disclaimer"), this);
    auto* disclaimerLayout = new QVBoxLayout(disclaimerGroup);
    auto* disclaimer = named(new QPlainTextEdit(disclaimerGroup), "Disclaimer");
    disclaimer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    disclaimer->setFixedHeight(70);
    disclaimerLayout->addWidget(disclaimer);
    disclaimerLayout->addWidget(
        note(tr("Displayed at the start of any uncommenced pairing."), disclaimerGroup));
    layout->addWidget(disclaimerGroup);
    layout->addStretch();
    bind(type, &Settings::TourneyType);
    bind(disclaimer, &Settings::Disclaimer);
}

namespace {

struct ColourButton {
    const char* caption;
    const char* description;
    const char* defaultText;
    const char* name;
    int id;
    std::uint32_t Settings::*field;
};

const std::array<ColourButton, 9> kColourButtons = {{
    {"Text Colour", "Text colour for table or page body", "Select text colour", "TextColour1",
     1002, &Settings::TextColour1},
    {"Title Colour", "Text colour for the tournament title", "Select title colour",
     "TitleColour", 1005, &Settings::TitleColour},
    {"Header Text Colour", "Text colour for table headers", "Select header text colour",
     "HeadTextColour", 1007, &Settings::HeadTextColour},
    {"Text Link Colour", "Text colour for links in table body or text",
     "Select text link colour", "LinkTextColour", 1008, &Settings::LinkTextColour},
    {"Header Hover Colour", "Hover colour for links in table header",
     "Select header hover colour", "HeadHoverColour", 1009, &Settings::HeadHoverColour},
    {"Text Hover Colour", "Hover colour for table or page body", "Select text hover colour",
     "TextHoverColour", 1010, &Settings::TextHoverColour},
    {"Page BG Colour", "Page background colour", "Select main BG colour", "BGColourMain", 1003,
     &Settings::BGColourMain},
    {"Table BG Colour", "Background colour for all tables", "Select table BG colour",
     "BGColourTable", 1006, &Settings::BGColourTable},
    {"Header BG Colour", "Background for table headers", "Select header BG colour",
     "BGColourHead", 1004, &Settings::BGColourHead},
}};

}  // namespace

CColoursPage::CColoursPage(QWidget* parent) : OptionsPage(parent) {
    auto* layout = new QGridLayout(this);
    for (std::size_t k = 0; k < kColourButtons.size(); ++k) {
        const ColourButton& c = kColourButtons[k];
        auto* button = named(new CColourPicker(QString::fromUtf8(c.caption), c.id, this), c.name);
        button->setDefaultText(QString::fromUtf8(c.defaultText));
        button->setMinimumWidth(170);
        layout->addWidget(button, static_cast<int>(k), 0);
        layout->addWidget(new QLabel(QString::fromUtf8(c.description), this), static_cast<int>(k),
                          1);
        m_buttons[k] = button;
    }
    layout->setRowStretch(static_cast<int>(kColourButtons.size()), 1);
}

void CColoursPage::load(const Settings& s) {
    for (std::size_t k = 0; k < kColourButtons.size(); ++k) {
        m_buttons[k]->setColour(s.*(kColourButtons[k].field));
    }
}

void CColoursPage::store(Settings& s) const {
    for (std::size_t k = 0; k < kColourButtons.size(); ++k) {
        s.*(kColourButtons[k].field) = m_buttons[k]->colour();
    }
}

CTiebreaksPage::CTiebreaksPage(QWidget* parent) : BoundPage(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* display = named(new QCheckBox(tr("Display tiebreaks"), this), "DisplayTiebreaks");
    layout->addWidget(display);
    bind(display, &Settings::DisplayTiebreaks);
    auto* group = new QGroupBox(tr("Tiebreaks"), this);
    auto* form = new QFormLayout(group);
    const QStringList names = {"Sum Prog", "Buchholz", "MBuchholz", "Num Wins", "Start Rank"};
    const auto combo = [&](const char* label, const char* name, std::string Settings::*field) {
        auto* box = named(makeEditableCombo(names, group), name);
        form->addRow(QString::fromUtf8(label), box);
        bind(box, field);
    };
    combo("First", "FirstTB", &Settings::FirstTB);
    combo("Second", "SecondTB", &Settings::SecondTB);
    combo("Third", "ThirdTB", &Settings::ThirdTB);
    layout->addWidget(group);
    layout->addWidget(note(
        tr("Note: tiebreaks will be applied to rank standings and crosstables even if "
           "\"Display Tiebreaks\" is unchecked.  If you do not want any tiebreaks applied, "
           "select \"Start Rank\" as the first tiebreak."),
        this));
    layout->addStretch();
}

CFontsPage::CFontsPage(QWidget* parent) : BoundPage(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* fontForm = new QFormLayout();
    auto* font = named(makeEditableCombo({"Times", "\"Times New Roman\"", "Garamond", "Arial",
                                          "\"Arial Black\"", "\"Comic Sans MS\"", "Georgia",
                                          "Palatino", "Helvetica", "Verdana", "\"Trebuchet MS\"",
                                          "\"Book Antiqua\"", "Serif", "Sans-serif", "Tahoma"},
                                         this),
                       "FontFamily");
    fontForm->addRow(tr("Select font:"), font);
    bind(font, &Settings::FontFamily);
    layout->addLayout(fontForm);
    auto* group = new QGroupBox(tr("Font sizes"), this);
    auto* form = new QFormLayout(group);
    const auto size = [&](const char* label, const char* name, std::string Settings::*field) {
        auto* box = named(makeEditableCombo(kSizes, group), name);
        form->addRow(QString::fromUtf8(label), box);
        bind(box, field);
    };
    size("Tournament title", "ToptitleSize", &Settings::ToptitleSize);
    size("Subheadings", "TopSize", &Settings::TopSize);
    size("Table title", "TitleSize", &Settings::TitleSize);
    size("Table headings", "HeadSize", &Settings::HeadSize);
    size("Table body text", "TextSize", &Settings::TextSize);
    size("Crosstable entries", "CrosstableSize", &Settings::CrosstableSize);
    size("Round-robin crosstables", "rrCrosstableSize", &Settings::rrCrosstableSize);
    layout->addWidget(group);
    layout->addStretch();
}

CLabelsPage::CLabelsPage(QWidget* parent) : BoundPage(parent) {
    auto* form = new QFormLayout(this);
    const auto label = [&](const char* text, const char* name, std::string Settings::*field) {
        auto* edit = named(new QLineEdit(this), name);
        form->addRow(QString::fromUtf8(text), edit);
        bind(edit, field);
    };
    label("Player List", "Player_List", &Settings::Player_List);
    label("Pairings", "Pairings", &Settings::Pairings);
    label("Standings", "Standings", &Settings::Standings);
    label("Crosstable", "Crosstable", &Settings::Crosstable);
    label("Round", "Round", &Settings::Round);
    label("Name", "Name", &Settings::Name);
    label("Federation", "Federation", &Settings::Federation);
    label("Rank", "Rank", &Settings::Rank);
    label("Seed", "Seed", &Settings::Seed);
    label("Score", "Score", &Settings::Score);
    label("Result", "Result", &Settings::Result);
    label("Board", "Board", &Settings::Board);
    label("Club", "Club", &Settings::Club);
    label("Rating (if only one is displayed)", "Rating", &Settings::Rating);
    label("Rating_1 (if both are displayed)", "Rating_1", &Settings::Rating_1);
    label("Rating_2 (if both are displayed)", "Rating_2", &Settings::Rating_2);
    label("Bye", "Bye", &Settings::Bye);
    label("Previous", "Previous", &Settings::Previous);
    label("Next", "Next", &Settings::Next);
}

CPgnPage::CPgnPage(QWidget* parent) : BoundPage(parent) {
    auto* layout = new QVBoxLayout(this);
    auto* make = named(new QCheckBox(tr("Generate PGN Files"), this), "MakePGN");
    auto* link = named(new QCheckBox(tr("Link to PGN Files"), this), "LinkPGN");
    layout->addWidget(make);
    layout->addWidget(link);
    bind(make, &Settings::MakePGN);
    bind(link, &Settings::LinkPGN);
    auto* form = new QFormLayout();
    const auto edit = [&](const char* text, const char* name, std::string Settings::*field) {
        auto* line = named(new QLineEdit(this), name);
        form->addRow(QString::fromUtf8(text), line);
        bind(line, field);
    };
    edit("Filename Prefix", "FnamePrefix", &Settings::FnamePrefix);
    edit("Site", "PGNSite", &Settings::PGNSite);
    edit("Date", "PGNDate", &Settings::PGNDate);
    layout->addLayout(form);
    layout->addWidget(note(
        tr("The \"Generate PGN\" option enables skeleton PGN files to be created, which contain "
           "player and tournament information, but no moves.  If these files already exist, "
           "they will not be overwritten."),
        this));
    layout->addWidget(note(
        tr("The \"Link to PGN\" option creates links from the pairings pages, and crosstables "
           "(click on the result) to PGN files.  The link will bring up a pop-up javascript "
           "applet in a window which will allow the user to play through the games."),
        this));
    layout->addWidget(note(
        tr("PGN filenames will begin with \"Filename Prefix\".  Use this e.g to insert the "
           "tournament name in the PGN filename.  The Site and Date fields will appear in the "
           "appropriate PGN fields."),
        this));
    layout->addStretch();
}

}  // namespace pairweb::ui

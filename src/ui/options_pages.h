#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "ui/colour_picker.h"
#include "ui/options_sheet.h"

namespace pairweb::ui {

// A sorted, editable drop-down combo box: pick an item or type any text.
QComboBox* makeEditableCombo(const QStringList& items, QWidget* parent);

// Pages whose controls are check boxes, combo boxes and edits bound to settings fields.
// Each binding knows its control and its field; the page's values are a Settings copy.
class BoundPage : public OptionsPage {
    Q_OBJECT

public:
    using OptionsPage::OptionsPage;
    void load(const settings::Settings& s) override;
    void commit() override;
    void store(settings::Settings& s) const override;

protected:
    void bind(QCheckBox* box, std::int32_t settings::Settings::*field);
    void bind(QComboBox* combo, std::string settings::Settings::*field);
    void bind(QLineEdit* edit, std::string settings::Settings::*field);
    void bind(QPlainTextEdit* edit, std::string settings::Settings::*field);

private:
    void showValues();  // values to controls

    struct Binding {
        QWidget* control;
        std::int32_t settings::Settings::*flag = nullptr;
        std::string settings::Settings::*text = nullptr;
    };
    std::vector<Binding> m_bindings;
    settings::Settings m_values;
};

class COptionsPage : public BoundPage {
    Q_OBJECT
public:
    explicit COptionsPage(QWidget* parent = nullptr);
};

// Nine colour buttons; each holds its colour itself from the moment it is chosen.
class CColoursPage : public OptionsPage {
    Q_OBJECT
public:
    explicit CColoursPage(QWidget* parent = nullptr);
    void load(const settings::Settings& s) override;
    void commit() override {}
    void store(settings::Settings& s) const override;
    CColourPicker* button(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }

private:
    std::array<CColourPicker*, 9> m_buttons{};
};

class CTiebreaksPage : public BoundPage {
    Q_OBJECT
public:
    explicit CTiebreaksPage(QWidget* parent = nullptr);
};

class CFontsPage : public BoundPage {
    Q_OBJECT
public:
    explicit CFontsPage(QWidget* parent = nullptr);
};

class CLabelsPage : public BoundPage {
    Q_OBJECT
public:
    explicit CLabelsPage(QWidget* parent = nullptr);
};

class CPgnPage : public BoundPage {
    Q_OBJECT
public:
    explicit CPgnPage(QWidget* parent = nullptr);
};

}  // namespace pairweb::ui

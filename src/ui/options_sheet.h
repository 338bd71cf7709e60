#pragma once

#include <QDialog>
#include <QWidget>
#include <map>
#include <vector>

#include "app/options.h"
#include "app/prompts.h"

class QTabWidget;

namespace pairweb::ui {

class CColourPicker;

// One page of the options sheet, laid out from its description; its controls' values go
// to and from the shared sheet state by control id.
class OptionsPage : public QWidget, public app::PageControls {
    Q_OBJECT

  public:
    OptionsPage(int index, app::OptionsSheet& sheet, app::Prompts& prompts, QWidget* parent);

    // The control, button or note of an id (the settings' names are also the controls'
    // object names).
    QWidget* control(int id) const;
    CColourPicker* colourButton(int id) const;

    bool checked(int id) const override;
    void setChecked(int id, bool on) override;
    std::string text(int id) const override;
    void setText(int id, const std::string& utf8) override;
    void setColour(int id, std::uint32_t colour) override;
    void setShown(int id, bool shown) override;
    app::LineBreaks lineBreaks() const override { return app::LineBreaks::Lf; }

  private:
    std::map<int, QWidget*> m_controls;
};

// The modal sheet of seven pages, OK and Cancel only. Leaving a page or pressing OK commits
// the page shown; what happens to the values then is the shared sheet state's rule.
class COptionsSheet : public QDialog {
    Q_OBJECT

  public:
    COptionsSheet(app::OptionsSheet& sheet, app::Prompts& prompts, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    OptionsPage* page(int index) const { return m_pages[static_cast<std::size_t>(index)]; }

    void accept() override;

  private:
    app::OptionsSheet& m_sheet;
    QTabWidget* m_tabs;
    std::vector<OptionsPage*> m_pages;
    int m_shown = 0;
};

}  // namespace pairweb::ui

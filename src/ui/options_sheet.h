#pragma once

#include <QDialog>
#include <QWidget>
#include <array>
#include <vector>

#include "settings/settings.h"

class QTabWidget;
class QDialogButtonBox;

namespace pairweb::ui {

// One page of the options sheet. A page keeps its own copy of the settings it edits: the
// controls are committed to it when the user leaves the page or presses OK, and store()
// hands it back.
class OptionsPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    // Takes the values of the settings and shows them.
    virtual void load(const settings::Settings& s) = 0;
    // Controls to the page's values.
    virtual void commit() = 0;
    // The page's values into the settings (only the fields this page edits).
    virtual void store(settings::Settings& s) const = 0;
};

// The modal sheet of six pages that edits every option the main dialog does not show.
// OK and Cancel only; no Apply, no Help. Whatever the sheet's result, what the pages hold
// is copied back: Cancel drops only the uncommitted edits of the page shown.
class COptionsSheet : public QDialog {
    Q_OBJECT

public:
    explicit COptionsSheet(QWidget* parent = nullptr);

    // Runs the sheet modally on the settings and copies the pages back.
    static void edit(settings::Settings& s, QWidget* parent);

    void load(const settings::Settings& s);
    void store(settings::Settings& s) const;

    QTabWidget* tabs() const { return m_tabs; }
    OptionsPage* page(int index) const { return m_pages[static_cast<std::size_t>(index)]; }

    void accept() override;

private:
    QTabWidget* m_tabs;
    std::vector<OptionsPage*> m_pages;
    int m_shown = 0;
};

}  // namespace pairweb::ui

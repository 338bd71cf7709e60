#include "ui/options_sheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/options_pages.h"

namespace pairweb::ui {

COptionsSheet::COptionsSheet(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString());
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    const std::pair<OptionsPage*, const char*> pages[] = {
        {new COptionsPage(m_tabs), "Options"}, {new CColoursPage(m_tabs), "Colours"},
        {new CTiebreaksPage(m_tabs), "Tiebreaks"}, {new CFontsPage(m_tabs), "Fonts"},
        {new CLabelsPage(m_tabs), "Labels"},      {new CPgnPage(m_tabs), "PGN"},
    };
    for (const auto& [page, title] : pages) {
        m_tabs->addTab(page, QString::fromLatin1(title));
        m_pages.push_back(page);
    }
    layout->addWidget(m_tabs);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    // Leaving a page commits its controls.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        page(m_shown)->commit();
        m_shown = index;
    });
}

void COptionsSheet::load(const settings::Settings& s) {
    for (OptionsPage* p : m_pages) {
        p->load(s);
    }
}

void COptionsSheet::store(settings::Settings& s) const {
    for (const OptionsPage* p : m_pages) {
        p->store(s);
    }
}

void COptionsSheet::accept() {
    page(m_shown)->commit();
    QDialog::accept();
}

void COptionsSheet::edit(settings::Settings& s, QWidget* parent) {
    COptionsSheet sheet(parent);
    sheet.load(s);
    sheet.exec();
    // The result is not looked at: what the pages hold goes back either way.
    sheet.store(s);
}

}  // namespace pairweb::ui

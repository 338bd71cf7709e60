#include "win/options_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <array>
#include <map>
#include <memory>

#include "win/colour_button.h"
#include "win/resource.h"
#include "win/win_util.h"

namespace pairweb::win {
namespace {

using app::ItemKind;

constexpr std::array<int, app::kOptionPageCount> kPageResources = {
    IDD_PAGE_OPTIONS, IDD_PAGE_COLOURS, IDD_PAGE_TIEBREAKS, IDD_PAGE_FONTS,
    IDD_PAGE_LABELS,  IDD_PAGE_PGN,     IDD_PAGE_PUBLISH};

// One page: its controls by id, filled from the page's description.
class Page : public app::PageControls {
  public:
    Page(int index, app::OptionsSheet& sheet, app::Prompts& prompts)
        : m_index(index), m_sheet(sheet), m_prompts(prompts) {}

    const app::PageDef& def() const {
        return app::optionPages()[static_cast<std::size_t>(m_index)];
    }

    void init(HWND window) {
        m_window = window;
        for (const app::PageItem& item : def().items) {
            HWND control = GetDlgItem(window, item.id);
            switch (item.kind) {
                case ItemKind::Group:
                case ItemKind::Note:
                case ItemKind::Check:
                case ItemKind::Button:
                    setWindowText(control, item.text);
                    break;
                case ItemKind::Combo:
                case ItemKind::List:
                    for (const std::string& entry : item.items) {
                        SendMessageW(control, CB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(wide(entry).c_str()));
                    }
                    break;
                case ItemKind::Colour: {
                    setWindowText(control, item.text);
                    auto button = std::make_unique<ColourButton>(control, m_prompts);
                    button->state().setDefaultText(item.defaultText);
                    m_colours[item.id] = std::move(button);
                    setWindowText(GetDlgItem(window, item.labelId), item.description);
                    continue;
                }
                default:
                    break;
            }
            if (item.labelId != 0) setWindowText(GetDlgItem(window, item.labelId), item.text);
        }
        m_sheet.show(m_index, *this);
    }

    INT_PTR command(WPARAM wParam, LPARAM lParam) {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (code == BN_CLICKED) {
            if (auto it = m_colours.find(id); it != m_colours.end()) {
                it->second->openPalette();
                return TRUE;
            }
            if (kindOf(id) == ItemKind::Button) {
                m_sheet.press(m_index, id, this);
                return TRUE;
            }
        }
        if (code == CBN_SELCHANGE && kindOf(id) == ItemKind::List) {
            m_sheet.choiceChanged(m_index, *this);
            return TRUE;
        }
        if (code == EN_CHANGE) guardSiteText(reinterpret_cast<HWND>(lParam));
        if (code == CBN_EDITCHANGE) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(reinterpret_cast<HWND>(lParam), &info)) {
                guardSiteText(info.hwndItem);
            }
        }
        return FALSE;
    }

    ColourButton* colour(int id) const {
        const auto it = m_colours.find(id);
        return it != m_colours.end() ? it->second.get() : nullptr;
    }

    void commit() { m_sheet.commit(m_index, *this); }
    void colourChosen(int id, std::uint32_t colour) { m_sheet.colourChosen(m_index, id, colour); }

    bool checked(int id) const override { return IsDlgButtonChecked(m_window, id) == BST_CHECKED; }
    void setChecked(int id, bool on) override {
        CheckDlgButton(m_window, id, on ? BST_CHECKED : BST_UNCHECKED);
    }
    std::string text(int id) const override { return windowText(GetDlgItem(m_window, id)); }
    void setText(int id, const std::string& utf8) override {
        HWND control = GetDlgItem(m_window, id);
        if (kindOf(id) == ItemKind::List) {
            const LRESULT found = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(wide(utf8).c_str()));
            SendMessageW(control, CB_SETCURSEL,
                         found == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found), 0);
        } else {
            setWindowText(control, utf8);
        }
    }
    void setShown(int id, bool shown) override {
        ShowWindow(GetDlgItem(m_window, id), shown ? SW_SHOWNA : SW_HIDE);
    }
    void setColour(int id, std::uint32_t c) override {
        if (ColourButton* button = colour(id)) button->setColour(c);
    }
    app::LineBreaks lineBreaks() const override { return app::LineBreaks::CrLf; }

  private:
    // The kind of the page's item with this id (a Note for statics not described).
    ItemKind kindOf(int id) const {
        for (const app::PageItem& item : def().items) {
            if (item.id == id) return item.kind;
        }
        return ItemKind::Note;
    }

    int m_index;
    app::OptionsSheet& m_sheet;
    app::Prompts& m_prompts;
    HWND m_window = nullptr;
    std::map<int, std::unique_ptr<ColourButton>> m_colours;
};

// Each page's state hangs on its window, as every window of the program keeps its own.
Page* pageOf(HWND window) {
    return reinterpret_cast<Page*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

INT_PTR CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<Page*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page));
        page->init(window);
        return TRUE;
    }
    Page* page = pageOf(window);
    if (page == nullptr) return FALSE;
    switch (message) {
        case WM_COMMAND:
            return page->command(wParam, lParam);
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (ColourButton* button = page->colour(static_cast<int>(item->CtlID))) {
                button->draw(*item);
                return TRUE;
            }
            return FALSE;
        }
        case kCloseUp:
            // A colour button holds its colour from the moment it is chosen.
            page->colourChosen(static_cast<int>(lParam), static_cast<std::uint32_t>(wParam));
            return TRUE;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_KILLACTIVE) {
                // The page is left, or OK pressed on it.
                page->commit();
                SetWindowLongPtrW(window, DWLP_MSGRESULT, FALSE);
                return TRUE;
            }
            return FALSE;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

ColourButton* colourButtonOf(HWND page, int id) {
    Page* p = pageOf(page);
    return p != nullptr ? p->colour(id) : nullptr;
}

void runOptionsSheet(HWND owner, app::OptionsSheet& sheet, app::Prompts& prompts) {
    std::vector<std::unique_ptr<Page>> pages;
    std::vector<std::wstring> titles;
    std::array<PROPSHEETPAGEW, app::kOptionPageCount> descriptions{};
    for (int k = 0; k < app::kOptionPageCount; ++k) {
        pages.push_back(std::make_unique<Page>(k, sheet, prompts));
        titles.push_back(wide(pages.back()->def().tab));
    }
    for (int k = 0; k < app::kOptionPageCount; ++k) {
        PROPSHEETPAGEW& p = descriptions[static_cast<std::size_t>(k)];
        p.dwSize = sizeof p;
        p.dwFlags = PSP_USETITLE;
        p.hInstance = GetModuleHandleW(nullptr);
        p.pszTemplate = MAKEINTRESOURCEW(kPageResources[static_cast<std::size_t>(k)]);
        p.pfnDlgProc = pageProc;
        p.pszTitle = titles[static_cast<std::size_t>(k)].c_str();
        p.lParam = reinterpret_cast<LPARAM>(pages[static_cast<std::size_t>(k)].get());
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    // No Apply and no Help: OK and Cancel only; no caption.
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = L"";
    header.nPages = app::kOptionPageCount;
    header.ppsp = descriptions.data();
    PropertySheetW(&header);
}

}  // namespace pairweb::win

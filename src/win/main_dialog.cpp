#include "win/main_dialog.h"

#include "win/options_sheet.h"
#include "win/progress_dialog.h"
#include "win/resource.h"
#include "win/win_util.h"

namespace pairweb::win {
namespace {

namespace id = app::control;

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            setWindowText(window, app::aboutCaption());
            setWindowText(GetDlgItem(window, id::kAboutText), app::aboutText());
            return TRUE;
        case WM_DRAWITEM:
            drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

MainDialog::MainDialog(const std::string& programPath, platform::Platform& platform,
                       app::FileDialogs& files, app::Prompts& prompts)
    : m_model(programPath, platform, files, prompts), m_prompts(prompts) {
    // Over the window in front (the options sheet, for Test connection), which it disables.
    m_model.publishing().setProgressRunner([this](app::BackgroundTask& task) {
        HWND active = GetActiveWindow();
        runProgressDialog(active != nullptr ? active : m_window, task);
    });
}

void MainDialog::runModal() {
    m_modal = true;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, proc,
                    reinterpret_cast<LPARAM>(this));
}

HWND MainDialog::create() {
    m_modal = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, proc,
                              reinterpret_cast<LPARAM>(this));
}

void MainDialog::runAbout(HWND owner) {
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner, aboutProc, 0);
}

INT_PTR CALLBACK MainDialog::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<MainDialog*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        dialog->init(window);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (dialog == nullptr) return FALSE;
    switch (message) {
        case WM_COMMAND:
            dialog->command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            dialog->close(IDCANCEL);
            return TRUE;
        case WM_NCDESTROY:
            dialog->m_model.setControls(nullptr);
            dialog->m_window = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

void MainDialog::init(HWND window) {
    m_window = window;
    setWindowText(window, app::mainDialogCaption());
    for (const app::ControlText& t : app::mainDialogTexts()) {
        setWindowText(GetDlgItem(window, t.id), t.text);
    }
    HWND slot = GetDlgItem(window, id::kSlot);
    for (const std::string& item : app::slotItems()) {
        SendMessageW(slot, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
    }
    // The keyboard's tab order is the order of the controls in the window list.
    HWND previous = HWND_TOP;
    for (const int control : app::mainDialogTabOrder()) {
        HWND c = GetDlgItem(window, control);
        SetWindowPos(c, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = c;
    }
    m_model.setControls(this);
    m_model.updateData(false);
}

void MainDialog::command(int control, int code, HWND window) {
    if (code == EN_CHANGE) {
        if (control == id::kTitle) guardSiteText(window);
        m_model.textChanged();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (control) {
        case id::kBrowse:
            m_model.browse();
            break;
        case id::kOpen:
            m_model.open();
            break;
        case id::kOptions:
            m_model.options(
                [this](app::OptionsSheet& sheet) { runOptionsSheet(m_window, sheet, m_prompts); });
            break;
        case id::kLoad:
            m_model.loadSettings();
            break;
        case id::kSave:
            m_model.saveSettings();
            break;
        case id::kGenerate:
            m_model.generate();
            break;
        case id::kAbout:
            runAbout(m_window);
            break;
        case id::kOk:
            m_model.ok();
            close(IDOK);
            break;
        case id::kCancel:
            close(IDCANCEL);
            break;
        default:
            break;
    }
}

void MainDialog::close(int result) {
    if (m_modal) {
        EndDialog(m_window, result);
    } else {
        DestroyWindow(m_window);
    }
}

std::string MainDialog::text(int control) const {
    return windowText(GetDlgItem(m_window, control));
}

void MainDialog::setText(int control, const std::string& utf8) {
    setWindowText(GetDlgItem(m_window, control), utf8);
}

}  // namespace pairweb::win

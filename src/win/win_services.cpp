#include "win/win_services.h"

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <commdlg.h>

#include <vector>

#include "win/resource.h"
#include "win/win_util.h"

namespace pairweb::win {

void WinPrompts::message(const std::string& caption, const std::string& text,
                         app::MessageKind kind) {
    MessageBoxW(GetActiveWindow(), wide(text).c_str(), wide(caption).c_str(),
                MB_OK | (kind == app::MessageKind::Warning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

bool WinPrompts::ask(const std::string& caption, const std::string& text) {
    return MessageBoxW(GetActiveWindow(), wide(text).c_str(), wide(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<std::uint32_t> WinPrompts::chooseColour(std::uint32_t initial) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.rgbResult = initial;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
    if (!ChooseColorW(&dialog)) return std::nullopt;
    return static_cast<std::uint32_t>(dialog.rgbResult);
}

namespace {

struct PasswordBox {
    const app::PasswordQuestion& question;
    std::optional<app::PasswordAnswer> answer;
};

INT_PTR CALLBACK passwordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        const auto* box = reinterpret_cast<PasswordBox*>(lParam);
        setWindowText(window, box->question.caption);
        setWindowText(GetDlgItem(window, IDC_PASSWORD_TEXT), box->question.text);
        HWND remember = GetDlgItem(window, IDC_REMEMBER);
        setWindowText(remember, box->question.rememberText);
        ShowWindow(remember, box->question.rememberText.empty() ? SW_HIDE : SW_SHOWNA);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        auto* box = reinterpret_cast<PasswordBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (LOWORD(wParam) == IDOK) {
            box->answer =
                app::PasswordAnswer{windowText(GetDlgItem(window, IDC_PASSWORD)),
                                    IsDlgButtonChecked(window, IDC_REMEMBER) == BST_CHECKED};
        }
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::optional<app::PasswordAnswer> WinPrompts::askPassword(const app::PasswordQuestion& question) {
    PasswordBox box{question, std::nullopt};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PASSWORD), GetActiveWindow(),
                    passwordProc, reinterpret_cast<LPARAM>(&box));
    return box.answer;
}

std::wstring WinFileDialogs::filterList(const std::vector<app::FileFilter>& filters) {
    std::wstring list;
    for (const app::FileFilter& f : filters) {
        list += wide(f.description) + L'\0' + wide(f.pattern) + L'\0';
    }
    return list + L'\0';
}

namespace {

std::optional<std::string> run(const app::FileDialogRequest& request, bool save) {
    const std::wstring filter = WinFileDialogs::filterList(request.filters);
    const std::wstring title = wide(request.title);
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring proposed = wide(request.proposed);
    proposed.copy(name.data(), std::min(proposed.size(), name.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return utf8(name.data());
}

}  // namespace

std::optional<std::string> WinFileDialogs::open(const app::FileDialogRequest& request) {
    return run(request, false);
}

std::optional<std::string> WinFileDialogs::save(const app::FileDialogRequest& request) {
    return run(request, true);
}

}  // namespace pairweb::win

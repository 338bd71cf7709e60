#include "win/win_util.h"

#include <commctrl.h>

#include <map>

#include "app/site_text.h"
#include "platform/os.h"

namespace pairweb::win {

// The platform layer's conversions of paths serve for every text: both are UTF-8 inside.
std::wstring wide(const std::string& utf8) { return platform::os::toNative(utf8).wstring(); }

std::string utf8(const std::wstring& text) {
    return platform::os::fromNative(std::filesystem::path(text));
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return utf8(text);
}

void setWindowText(HWND window, const std::string& text) {
    SetWindowTextW(window, wide(text).c_str());
}

namespace {

// The notes last shown, by edit (the balloon needs its text to stay while it is shown).
std::map<HWND, std::wstring>& notes() {
    static std::map<HWND, std::wstring> kNotes;
    return kNotes;
}

}  // namespace

void guardSiteText(HWND edit) {
    const std::string text = windowText(edit);
    const auto refused = app::firstRefused(text);
    if (!refused) return;
    DWORD start = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    const std::string kept = app::withoutRefused(text);
    setWindowText(edit, kept);
    const std::size_t removed = wide(text).size() - wide(kept).size();
    const DWORD caret = start >= removed ? static_cast<DWORD>(start - removed) : 0;
    SendMessageW(edit, EM_SETSEL, caret, caret);
    std::wstring& note = notes()[edit];
    note = wide(app::refusalNote(*refused));
    EDITBALLOONTIP tip{sizeof(EDITBALLOONTIP), L"", note.c_str(), TTI_WARNING};
    SendMessageW(edit, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

std::string refusalNoteOf(HWND edit) {
    const auto it = notes().find(edit);
    return it != notes().end() ? utf8(it->second) : std::string();
}

void drawPicture(const DRAWITEMSTRUCT& item) {
    HBRUSH navy = CreateSolidBrush(RGB(0, 0, 0x80));
    FillRect(item.hDC, &item.rcItem, navy);
    DeleteObject(navy);
    const int height = item.rcItem.bottom - item.rcItem.top;
    HFONT font = CreateFontW(-(height * 3 / 4), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, L"Segoe UI Symbol");
    HGDIOBJ old = SelectObject(item.hDC, font);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    RECT r = item.rcItem;
    DrawTextW(item.hDC, L"\u265E", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, old);
    DeleteObject(font);
}

}  // namespace pairweb::win

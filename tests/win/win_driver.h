#pragma once

// Drives the Windows front end's real dialogs by window messages, as a user's clicks and
// keys would, from the dialogs' own thread.

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/colour_button.h"
#include "win/options_sheet.h"

namespace pairweb::win::testing {

// Runs script once, from the message loop of the modal window that the next action opens
// (timers are served by every modal loop of the thread).
inline void whileModal(std::function<void()> script) {
    static std::function<void()> pending;
    pending = std::move(script);
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        const std::function<void()> run = std::move(pending);
        pending = nullptr;
        if (run) run();
    });
}

// The thread's visible dialog windows (class "#32770").
inline std::vector<HWND> threadDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (std::wstring(name) == L"#32770" && IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

inline std::wstring captionOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The open dialog with this caption, or nullptr.
inline HWND findDialog(const std::wstring& caption) {
    for (HWND w : threadDialogs()) {
        if (captionOf(w) == caption) return w;
    }
    return nullptr;
}

// The open property sheet, or nullptr.
inline HWND findSheet() {
    for (HWND w : threadDialogs()) {
        if (PropSheet_GetCurrentPageHwnd(w) != nullptr) return w;
    }
    return nullptr;
}

// Shows page index of the sheet (leaving the current one) and returns its window.
inline HWND showPage(HWND sheet, int index) {
    PropSheet_SetCurSel(sheet, nullptr, index);
    return PropSheet_GetCurrentPageHwnd(sheet);
}

inline void click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// The open palette of a page's colour button (this thread's own), or nullptr.
inline HWND paletteOf(HWND page, int id) {
    const ColourButton* button = colourButtonOf(page, id);
    return button != nullptr ? button->palette() : nullptr;
}

// Runs action once with the dialog of this caption, from the message loop of the modal
// window that the next action opens, as soon as the dialog is shown: a modal dialog may
// serve its first timer before it shows itself, so the look is repeated (for 10 s at most).
inline void whenDialogShown(const std::wstring& caption, std::function<void(HWND)> action) {
    auto tries = std::make_shared<int>(0);
    auto look = std::make_shared<std::function<void()>>();
    *look = [caption, action, tries, look] {
        if (HWND dialog = findDialog(caption)) {
            action(dialog);
        } else if (++*tries < 200) {
            whileModal(*look);
        }
    };
    whileModal(*look);
}

inline void key(HWND window, WPARAM vk) {
    SendMessageW(window, WM_KEYDOWN, vk, 0);
    SendMessageW(window, WM_KEYUP, vk, 0);
}

// Serves the thread's messages for a while, so windows are painted.
inline void pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

}  // namespace pairweb::win::testing

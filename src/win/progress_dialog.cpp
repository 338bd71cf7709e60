#include "win/progress_dialog.h"

#include <commctrl.h>

#include "win/resource.h"
#include "win/win_util.h"

namespace pairweb::win {
namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 50;

app::BackgroundTask* taskOf(HWND window) {
    return reinterpret_cast<app::BackgroundTask*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void refresh(HWND window, app::BackgroundTask& task) {
    const app::BackgroundTask::View view = task.view();
    setWindowText(window, view.caption);
    setWindowText(GetDlgItem(window, IDC_PROGRESS_ACTION), view.action);
    setWindowText(GetDlgItem(window, IDC_PROGRESS_COUNTS), view.counts);
    HWND bar = GetDlgItem(window, IDC_PROGRESS_BAR);
    const bool busy = view.percent < 0;
    const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    if (busy != ((style & PBS_MARQUEE) != 0)) {
        SetWindowLongPtrW(bar, GWL_STYLE, busy ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
        SendMessageW(bar, PBM_SETMARQUEE, busy ? TRUE : FALSE, 0);
    }
    if (!busy) {
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(view.percent), 0);
    }
    HWND cancel = GetDlgItem(window, IDCANCEL);
    setWindowText(cancel, view.cancelText);
    EnableWindow(cancel, view.canCancel && !view.cancelling);
    if (task.finished()) {
        KillTimer(window, kRefreshTimer);
        EndDialog(window, IDOK);
    }
}

INT_PTR CALLBACK progressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
        refresh(window, *taskOf(window));
        return TRUE;
    }
    app::BackgroundTask* task = taskOf(window);
    if (task == nullptr) return FALSE;
    switch (message) {
        case WM_TIMER:
            if (wParam == kRefreshTimer) refresh(window, *task);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                task->cancel();
                refresh(window, *task);
            }
            return TRUE;
        case WM_CLOSE:
            task->cancel();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void runProgressDialog(HWND owner, app::BackgroundTask& task) {
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRESS), owner, progressProc,
                    reinterpret_cast<LPARAM>(&task));
}

}  // namespace pairweb::win

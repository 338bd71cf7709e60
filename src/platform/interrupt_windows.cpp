#include <windows.h>

#include "platform/file_ops.h"
#include "platform/interrupt.h"

namespace pairweb::platform {
namespace {

std::atomic<bool>* g_flag = nullptr;
InterruptMode g_mode = InterruptMode::SetFlag;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    if (g_mode == InterruptMode::EndNow) {
        removeTemporariesInProgress();
        ExitProcess(interrupt ? 130 : 143);
    }
    if (g_flag != nullptr) {
        g_flag->store(true);
    }
    return TRUE;
}

}  // namespace

void handleInterrupts(InterruptMode mode, std::atomic<bool>& flag) {
    g_flag = &flag;
    g_mode = mode;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool errorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace pairweb::platform

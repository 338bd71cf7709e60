#include <signal.h>
#include <unistd.h>

#include "platform/file_ops.h"
#include "platform/interrupt.h"

namespace pairweb::platform {
namespace {

std::atomic<bool>* g_flag = nullptr;

extern "C" void setFlag(int) {
    if (g_flag != nullptr) {
        g_flag->store(true);
    }
}

extern "C" void endNow(int signalNumber) {
    removeTemporariesInProgress();
    _exit(128 + signalNumber);
}

}  // namespace

void handleInterrupts(InterruptMode mode, std::atomic<bool>& flag) {
    g_flag = &flag;
    struct sigaction action = {};
    action.sa_handler = mode == InterruptMode::SetFlag ? setFlag : endNow;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool errorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace pairweb::platform

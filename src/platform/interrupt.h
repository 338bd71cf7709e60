#pragma once

#include <atomic>

namespace pairweb::platform {

// What Ctrl-C and a polite kill (SIGINT, SIGTERM) do to the process.
enum class InterruptMode {
    // Set the flag; the program ends at a point of its own choosing (a watch between runs).
    SetFlag,
    // End at once with status 128 + the signal number, after removing the temporary files
    // being written, so an interrupted run leaves nothing half-done behind.
    EndNow,
};

// Installs the handling for the rest of the process; flag is only used with SetFlag and
// must outlive the process's handling of signals.
void handleInterrupts(InterruptMode mode, std::atomic<bool>& flag);

}  // namespace pairweb::platform

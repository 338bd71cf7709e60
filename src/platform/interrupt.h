#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace pairweb::platform {

// What Ctrl-C and a polite kill (SIGINT, SIGTERM; on Windows Ctrl-C, Ctrl-Break and closing
// the console) do to the process.
enum class InterruptMode {
    // Set the flag; the program ends at a point of its own choosing (a watch between runs).
    SetFlag,
    // End at once with status 128 + the signal number (130 for Ctrl-C, 143 for a kill or a
    // closed console), after removing the temporary files being written, so an interrupted
    // run leaves nothing half-done behind.
    EndNow,
};

// Installs the handling for the rest of the process; flag is only used with SetFlag and
// must outlive the process's handling of signals.
void handleInterrupts(InterruptMode mode, std::atomic<bool>& flag);

// The program's arguments (without its name) as UTF-8, with the console set up so that what
// the program prints arrives byte for byte ("\n" line ends, UTF-8 paths) on every system.
std::vector<std::string> startConsole(int argc, char** argv);

// Whether standard error is a terminal (a console window), where a progress line belongs.
bool errorIsTerminal();

}  // namespace pairweb::platform

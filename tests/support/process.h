#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pairweb::testing {

// How to run a program for a test. Every wait is bounded: a program still running after
// timeoutMs is killed and reported as timed out.
struct ProcessOptions {
    std::vector<std::string> args;       // args[0] is the program's path
    std::vector<std::string> env;        // extra "NAME=value" entries
    std::optional<long> dataLimitBytes;  // RLIMIT_DATA of the program
    int timeoutMs = 20000;
    // When not 0, this signal is sent interruptAfterMs after the start.
    int interruptSignal = 0;
    int interruptAfterMs = 0;
};

struct ProcessResult {
    bool timedOut = false;
    int exitStatus = -1;  // -1 when the program ended by a signal
    int signal = 0;       // the signal that ended it, else 0
    std::string out;
    std::string err;
    int elapsedMs = 0;
};

// One implementation per system (process.cpp for POSIX, process_windows.cpp); on Windows the
// data limit and interrupts are not offered.
ProcessResult runProcess(const ProcessOptions& options);

// The path of pairweb-gen as built beside the running test program.
std::string pairwebGenPath();

// True in builds under AddressSanitizer, where limits of the address space do not apply.
constexpr bool kSanitizedBuild =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

}  // namespace pairweb::testing

// pairweb-gen: builds a tournament's web site from a settings file, without the desktop app.
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/gen_command.h"
#include "platform/interrupt.h"

namespace {

std::atomic<bool> g_stop{false};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = pairweb::platform::startConsole(argc, argv);
    // A watch ends on Ctrl-C (or a polite kill) between runs, never in the middle of one; a
    // single run ends at once, leaving no temporary file behind.
    const bool watch = !args.empty() && args[0] == "--watch";
    pairweb::platform::handleInterrupts(watch ? pairweb::platform::InterruptMode::SetFlag
                                              : pairweb::platform::InterruptMode::EndNow,
                                        g_stop);
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    return pairweb::cli::runGenCommand(
        args, epoch ? std::optional<std::string>(epoch) : std::nullopt, std::cout, std::cerr,
        g_stop);
}

// pairweb-gen: builds a tournament's web site from a settings file, without the desktop app.
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/gen_command.h"

namespace {

std::atomic<bool> g_stop{false};

extern "C" void requestStop(int) { g_stop = true; }

}  // namespace

int main(int argc, char** argv) {
    // Ctrl-C (and a polite kill) end a watch between runs, never in the middle of one.
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const std::vector<std::string> args(argv + 1, argv + argc);
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    return pairweb::cli::runGenCommand(
        args, epoch ? std::optional<std::string>(epoch) : std::nullopt, std::cout, std::cerr,
        g_stop);
}

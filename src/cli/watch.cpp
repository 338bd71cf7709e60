#include "cli/watch.h"

#include <ctime>
#include <ostream>

namespace pairweb::cli {
namespace {

std::string clockText() {
    const std::time_t now = std::time(nullptr);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return buffer;
}

}  // namespace

int runWatch(const std::function<std::string()>& runOnce, platform::FileWatcher& watcher,
             const std::atomic<bool>& stop, std::ostream& out) {
    // Messages a run prints elsewhere (standard error) come before its line, never inside.
    const auto runAndReport = [&] {
        const std::string started = clockText();
        const std::string message = runOnce();
        out << started + " " + message + "\n" << std::flush;
    };
    runAndReport();
    while (watcher.waitForChange(stop) && watcher.settle(500, stop)) {
        runAndReport();
    }
    out << clockText() << " stopped" << std::endl;
    return 0;
}

}  // namespace pairweb::cli

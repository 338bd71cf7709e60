#include "cli/watch.h"

#include <chrono>
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

int runWatch(const std::function<WatchRun()>& runOnce, platform::FileWatcher& watcher,
             const std::atomic<bool>& stop, std::ostream& out) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point retryAt = Clock::time_point::max();
    // Messages a run prints elsewhere (standard error) come before its line, never inside.
    const auto runAndReport = [&] {
        const std::string started = clockText();
        const WatchRun run = runOnce();
        retryAt = run.retryInSeconds > 0 ? Clock::now() + std::chrono::seconds(run.retryInSeconds)
                                         : Clock::time_point::max();
        out << started + " " + run.message + "\n" << std::flush;
    };
    runAndReport();
    while (!stop) {
        // A change starts a run once the files are quiet; a retry that falls due starts one
        // as they are.
        if (watcher.waitForChange(stop, retryAt) && !watcher.settle(500, stop)) break;
        if (stop) break;
        runAndReport();
    }
    out << clockText() << " stopped" << std::endl;
    return 0;
}

}  // namespace pairweb::cli

#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_watcher.h"

namespace pairweb::cli {

// What one run of watch mode gave: its message, and when to run again though nothing
// changes (a publish to retry), in seconds; 0 waits for a change.
struct WatchRun {
    std::string message;
    int retryInSeconds = 0;
};

// Watch mode of pairweb-gen: runs once, then again after every change of the watched files
// (or when a run asked to be retried), one line per run (the time the run started and its
// message, written in one piece once the run is over). Ends when stop becomes true
// (Ctrl-C); returns the exit status.
int runWatch(const std::function<WatchRun()>& runOnce, platform::FileWatcher& watcher,
             const std::atomic<bool>& stop, std::ostream& out);

}  // namespace pairweb::cli

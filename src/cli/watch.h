#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_watcher.h"

namespace pairweb::cli {

// Watch mode of pairweb-gen: runs once, then again after every change of the watched files,
// one line per run (the time the run started and its message, written in one piece once
// the run is over). Ends when stop becomes true (Ctrl-C); returns the exit status.
int runWatch(const std::function<std::string()>& runOnce, platform::FileWatcher& watcher,
             const std::atomic<bool>& stop, std::ostream& out);

}  // namespace pairweb::cli

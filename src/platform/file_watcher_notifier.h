#pragma once

// What FileWatcher takes from the operating system; one implementation per OS
// (file_watcher_posix.cpp, file_watcher_windows.cpp).

#include <string>
#include <vector>

#include "platform/file_watcher.h"

namespace pairweb::platform {

// Change notifications for the folders of the watched files (the pairing program may replace
// a file rather than rewrite it).
struct FileWatcher::Notifier {
    explicit Notifier(const std::vector<std::string>& paths);
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;
    // Sleeps up to ms milliseconds, waking early on a change in a watched folder.
    void nap(int ms);

    std::vector<long long> handles;  // the system's handles, as it numbers them
};

// The modification time (full resolution) and size of a file, or "missing".
std::string fileStamp(const std::string& path);

void sleepMs(int ms);

}  // namespace pairweb::platform

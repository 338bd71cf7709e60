#include "platform/file_watcher.h"

#include <algorithm>

#include "platform/file_watcher_notifier.h"

namespace pairweb::platform {

FileWatcher::FileWatcher(std::vector<std::string> paths) : m_paths(std::move(paths)) {
    m_notifier = std::make_unique<Notifier>(m_paths);
    m_reference = stamp();
}

FileWatcher::~FileWatcher() = default;

void FileWatcher::watch(std::vector<std::string> paths) {
    if (paths == m_paths) {
        return;
    }
    m_paths = std::move(paths);
    m_notifier = std::make_unique<Notifier>(m_paths);
    m_reference = stamp();
}

std::string FileWatcher::stamp() const {
    std::string s;
    for (const std::string& p : m_paths) {
        s += fileStamp(p);
        s += '|';
    }
    return s;
}

bool FileWatcher::waitForChange(const std::atomic<bool>& stop,
                                std::chrono::steady_clock::time_point deadline) {
    while (!stop) {
        if (stamp() != m_reference) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        m_notifier->nap(static_cast<int>(std::min<long long>(1000, left.count() + 1)));
    }
    return false;
}

bool FileWatcher::settle(int quietMs, const std::atomic<bool>& stop) {
    std::string last = stamp();
    for (;;) {
        if (stop) {
            return false;
        }
        sleepMs(quietMs);
        const std::string now = stamp();
        if (now == last) {
            m_reference = now;
            return !stop;
        }
        last = now;
    }
}

}  // namespace pairweb::platform

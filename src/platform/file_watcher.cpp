#include "platform/file_watcher.h"

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

bool FileWatcher::waitForChange(const std::atomic<bool>& stop) {
    while (!stop) {
        if (stamp() != m_reference) {
            return true;
        }
        m_notifier->nap(1000);
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

#include "cli/watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <set>
#include <system_error>

namespace pairweb::cli {
namespace fs = std::filesystem;

FileWatcher::FileWatcher(std::vector<std::string> paths) : m_paths(std::move(paths)) {
    startInotify();
    m_reference = stamp();
}

FileWatcher::~FileWatcher() { stopInotify(); }

void FileWatcher::watch(std::vector<std::string> paths) {
    if (paths == m_paths) {
        return;
    }
    stopInotify();
    m_paths = std::move(paths);
    startInotify();
    m_reference = stamp();
}

void FileWatcher::stopInotify() {
    if (m_inotify >= 0) {
        close(m_inotify);
        m_inotify = -1;
    }
}

void FileWatcher::startInotify() {
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0) {
        // Watch the folders: the pairing program may replace a file rather than rewrite it.
        std::set<std::string> folders;
        for (const std::string& p : m_paths) {
            const fs::path parent = fs::path(p).parent_path();
            folders.insert(parent.empty() ? "." : parent.string());
        }
        for (const std::string& folder : folders) {
            if (inotify_add_watch(m_inotify, folder.c_str(),
                                  IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO |
                                      IN_DELETE | IN_ATTRIB) < 0) {
                stopInotify();
                break;
            }
        }
    }
}

std::string FileWatcher::stamp() const {
    std::string s;
    for (const std::string& p : m_paths) {
        std::error_code ec;
        const auto time = fs::last_write_time(p, ec);
        const auto size = ec ? 0 : fs::file_size(p, ec);
        s += ec ? std::string("missing") : std::to_string(time.time_since_epoch().count()) +
                                               ":" + std::to_string(size);
        s += '|';
    }
    return s;
}

void FileWatcher::nap(int ms) {
    if (m_inotify < 0) {
        poll(nullptr, 0, ms);
        return;
    }
    pollfd fd{m_inotify, POLLIN, 0};
    if (poll(&fd, 1, ms) > 0) {
        char buffer[4096];
        while (read(m_inotify, buffer, sizeof buffer) > 0) {
        }
    }
}

bool FileWatcher::waitForChange(const std::atomic<bool>& stop) {
    while (!stop) {
        if (stamp() != m_reference) {
            return true;
        }
        nap(1000);
    }
    return false;
}

bool FileWatcher::settle(int quietMs, const std::atomic<bool>& stop) {
    std::string last = stamp();
    for (;;) {
        if (stop) {
            return false;
        }
        poll(nullptr, 0, quietMs);
        const std::string now = stamp();
        if (now == last) {
            m_reference = now;
            return !stop;
        }
        last = now;
    }
}

namespace {

std::string clockText() {
    const std::time_t now = std::time(nullptr);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return buffer;
}

}  // namespace

int runWatch(const std::function<std::string()>& runOnce, FileWatcher& watcher,
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

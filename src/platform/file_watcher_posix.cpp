#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/file_watcher_notifier.h"

namespace pairweb::platform {

FileWatcher::Notifier::Notifier(const std::vector<std::string>& paths) {
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        return;
    }
    std::set<std::string> folders;
    for (const std::string& p : paths) {
        const std::filesystem::path parent = std::filesystem::path(p).parent_path();
        folders.insert(parent.empty() ? "." : parent.string());
    }
    for (const std::string& folder : folders) {
        if (inotify_add_watch(
                fd, folder.c_str(),
                IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_ATTRIB) < 0) {
            close(fd);
            return;  // polling then serves alone
        }
    }
    handles.push_back(fd);
}

FileWatcher::Notifier::~Notifier() {
    for (const long long fd : handles) {
        close(static_cast<int>(fd));
    }
}

void FileWatcher::Notifier::nap(int ms) {
    if (handles.empty()) {
        poll(nullptr, 0, ms);
        return;
    }
    const int fd = static_cast<int>(handles.front());
    pollfd watched{fd, POLLIN, 0};
    if (poll(&watched, 1, ms) > 0) {
        char buffer[4096];
        while (read(fd, buffer, sizeof buffer) > 0) {
        }
    }
}

std::string fileStamp(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return "missing";
    }
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ":" +
           std::to_string(st.st_size);
}

void sleepMs(int ms) { poll(nullptr, 0, ms); }

}  // namespace pairweb::platform

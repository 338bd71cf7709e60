#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace pairweb::platform {

// Waits for changes of a few files: woken by the system's change notifications where it has
// them (inotify, folder change notifications), and looking at the files' modification times
// (at the system's full resolution) and sizes at least once a second. Used by one thread.
class FileWatcher {
  public:
    explicit FileWatcher(std::vector<std::string> paths);
    ~FileWatcher();
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    // Watches these files from now on (nothing changes when they are the ones watched); their
    // present state becomes the reference.
    void watch(std::vector<std::string> paths);
    // Blocks until some file differs from the state of the last call of settle() (or of the
    // construction), stop becomes true, or the deadline passes. True when a change was seen.
    bool waitForChange(const std::atomic<bool>& stop,
                       std::chrono::steady_clock::time_point deadline =
                           std::chrono::steady_clock::time_point::max());
    // Waits until none of the files has changed for quietMs milliseconds, then takes their
    // state as the new reference. False when stop became true meanwhile.
    bool settle(int quietMs, const std::atomic<bool>& stop);

  private:
    struct Notifier;  // the system's change notifications, one implementation per OS
    std::string stamp() const;

    std::vector<std::string> m_paths;
    std::string m_reference;
    std::unique_ptr<Notifier> m_notifier;
};

}  // namespace pairweb::platform

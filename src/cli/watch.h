#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace pairweb::cli {

// Waits for changes of a few files: through inotify where the system has it, otherwise by
// looking at their modification times and sizes once a second.
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
    // construction), or stop becomes true. True when a change was seen.
    bool waitForChange(const std::atomic<bool>& stop);
    // Waits until none of the files has changed for quietMs milliseconds, then takes their
    // state as the new reference. False when stop became true meanwhile.
    bool settle(int quietMs, const std::atomic<bool>& stop);
    // Whether inotify serves the waiting (otherwise polling does).
    bool usesInotify() const { return m_inotify >= 0; }

private:
    void startInotify();
    void stopInotify();
    std::string stamp() const;
    // Sleeps up to ms milliseconds, waking early on a file-system event.
    void nap(int ms);

    std::vector<std::string> m_paths;
    std::string m_reference;
    int m_inotify = -1;
};

// Watch mode of pairweb-gen: runs once, then again after every change of the watched files,
// one line per run (the time the run started and its message, written in one piece once
// the run is over). Ends when stop becomes true (Ctrl-C); returns the exit status.
int runWatch(const std::function<std::string()>& runOnce, FileWatcher& watcher,
             const std::atomic<bool>& stop, std::ostream& out);

}  // namespace pairweb::cli

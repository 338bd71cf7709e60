#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace pairweb::app {

// Work that runs on a thread of its own while the user sees how far it is. A front end's
// progress dialog shows view() and looks at finished() on a timer, while its own message
// loop keeps the program's windows painting and answering; its Cancel calls cancel().
//
// Threads: the work runs on the task's thread and reports with report(); view(), finished()
// and cancel() may be called from any thread at any time. start() and wait() belong to the
// thread that owns the task; the destructor waits for the work.
class BackgroundTask {
  public:
    // What the progress dialog shows.
    struct View {
        std::string caption;    // the dialog's title
        std::string action;     // what is being done: "Sending pgn/round1.pgn"
        std::string counts;     // how far: "File 3 of 12, 120 of 456 KB"
        int percent = -1;       // 0 to 100; -1 while it cannot be told (a busy bar)
        bool canCancel = true;  // whether Cancel is offered
        bool cancelling = false;
        std::string cancelText;  // the Cancel button's text
        bool operator==(const View&) const = default;
    };

    // cancelling: what the view says once Cancel was pressed; empty: Cancel is not offered.
    BackgroundTask(std::string caption, std::string action, std::string cancelling);
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Runs work on the task's thread (once).
    void start(std::function<void(BackgroundTask&)> work);
    // Waits until the work has ended.
    void wait();

    bool finished() const { return m_finished.load(); }
    View view() const;
    // Asks the work to stop where it can; the view says so until the work ends.
    void cancel();
    const std::atomic<bool>& cancelRequested() const { return m_cancel; }

    // From the work: where it is now.
    void report(std::string action, std::string counts, int percent);

  private:
    mutable std::mutex m_mutex;
    View m_view;
    std::string m_cancelling;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{false};
    std::thread m_thread;
};

// Runs a front end's modal progress dialog over a started task until the task has finished.
using RunProgress = std::function<void(BackgroundTask&)>;

}  // namespace pairweb::app

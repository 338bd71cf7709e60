#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace pairweb::site {

// Writes the files of one run in the order they are handed over, one complete file after
// the other, on a thread of its own so that the next page is built while the last one is
// written. Remembers the first file that could not be written. When no thread can be
// started it writes at once.
class SiteWriter {
  public:
    explicit SiteWriter(platform::Platform& platform);
    ~SiteWriter();
    SiteWriter(const SiteWriter&) = delete;
    SiteWriter& operator=(const SiteWriter&) = delete;

    // The run's generation time as the page footers show it (dateText without its line
    // end). A page that differs from the file already there only in that time, where the
    // file holds another time of the same form, leaves the file as it is, and so does a page
    // without that time that equals the file, so a run with no change to the tournament
    // changes no file. Empty (the default): every page is written.
    void keepFilesUnchangedBut(std::string timeText) { m_timeText = std::move(timeText); }
    // Writes a whole file, replacing one of that name once the new one is complete.
    void write(std::string path, std::string content);
    // Writes a file only when no file of that name exists; an existing one is never replaced.
    void create(std::string path, std::string content);
    // Returns once every file handed over is written.
    void flush();
    // The first file that could not be written (after flush), or empty.
    std::string firstFailure();

    // Pages waiting to be written may hold at most this many bytes; beyond it the caller
    // waits, so a run's memory stays bounded whatever the size of the tournament.
    static constexpr std::size_t kMaxPendingBytes = 2 * 1024 * 1024;

  private:
    struct Job {
        std::string path;
        std::string content;
        bool replace = true;
    };
    void enqueue(Job job);
    void perform(const Job& job);
    bool unchanged(const Job& job) const;
    void run();

    platform::Platform& m_platform;
    std::string m_timeText;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    std::size_t m_pendingBytes = 0;
    bool m_busy = false;
    bool m_stopping = false;
    std::string m_firstFailure;
    std::thread m_thread;
};

}  // namespace pairweb::site

#include "site/site_writer.h"

#include <system_error>

namespace pairweb::site {

SiteWriter::SiteWriter(platform::Platform& platform) : m_platform(platform) {
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread: every file is written when it is handed over.
    }
}

SiteWriter::~SiteWriter() {
    flush();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SiteWriter::write(std::string path, std::string content) {
    enqueue({std::move(path), std::move(content), true});
}

void SiteWriter::create(std::string path, std::string content) {
    enqueue({std::move(path), std::move(content), false});
}

void SiteWriter::enqueue(Job job) {
    if (!m_thread.joinable()) {
        perform(job);
        return;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_pendingBytes < kMaxPendingBytes; });
    m_pendingBytes += job.content.size();
    m_jobs.push_back(std::move(job));
    m_changed.notify_all();
}

namespace {

// Whether text holds, at position at, a time of the footer's form "Mon Dec 07 14:05:09 2026".
bool timeFormAt(std::string_view text, std::size_t at, std::size_t length) {
    static constexpr std::string_view kShape = "AAA AAA 00 00:00:00 0000";
    if (length != kShape.size() || at + length > text.size()) return false;
    for (std::size_t k = 0; k < length; ++k) {
        const char c = text[at + k];
        const char shape = kShape[k];
        const bool fits = shape == 'A'   ? (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
                          : shape == '0' ? c >= '0' && c <= '9'
                                         : c == shape;
        if (!fits) return false;
    }
    return true;
}

}  // namespace

bool SiteWriter::unchanged(const Job& job) const {
    const std::string_view page = job.content;
    if (m_timeText.empty()) {
        return false;
    }
    std::string file;
    if (!m_platform.readFile(job.path, file, page.size() + 1) || file.size() != page.size()) {
        return false;
    }
    if (page.find(m_timeText) == std::string_view::npos) {
        return page == file;  // a file without the time: kept when it is the same
    }
    std::size_t from = 0;
    for (std::size_t at = page.find(m_timeText); at != std::string_view::npos;
         at = page.find(m_timeText, from)) {
        if (page.substr(from, at - from) != std::string_view(file).substr(from, at - from) ||
            !timeFormAt(file, at, m_timeText.size())) {
            return false;
        }
        from = at + m_timeText.size();
    }
    return page.substr(from) == std::string_view(file).substr(from);
}

void SiteWriter::perform(const Job& job) {
    if (job.replace && unchanged(job)) {
        return;
    }
    const bool ok = job.replace ? m_platform.writeFile(job.path, job.content)
                                : m_platform.createFile(job.path, job.content) !=
                                      platform::CreateResult::Failed;
    if (!ok) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_firstFailure.empty()) {
            m_firstFailure = job.path;
        }
    }
}

void SiteWriter::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return;  // stopping, and nothing left to write
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        perform(job);
        lock.lock();
        m_busy = false;
        m_pendingBytes -= job.content.size();
        m_changed.notify_all();
    }
}

void SiteWriter::flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

std::string SiteWriter::firstFailure() {
    flush();
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_firstFailure;
}

}  // namespace pairweb::site

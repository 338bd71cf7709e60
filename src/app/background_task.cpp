#include "app/background_task.h"

namespace pairweb::app {

BackgroundTask::BackgroundTask(std::string caption, std::string action, std::string cancelling)
    : m_cancelling(std::move(cancelling)) {
    m_view.caption = std::move(caption);
    m_view.action = std::move(action);
    m_view.canCancel = !m_cancelling.empty();
    m_view.cancelText = "Cancel";
}

BackgroundTask::~BackgroundTask() { wait(); }

void BackgroundTask::start(std::function<void(BackgroundTask&)> work) {
    if (m_thread.joinable() || m_finished) return;
    m_thread = std::thread([this, work = std::move(work)] {
        work(*this);
        m_finished = true;
    });
}

void BackgroundTask::wait() {
    if (m_thread.joinable()) m_thread.join();
}

BackgroundTask::View BackgroundTask::view() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_view;
}

void BackgroundTask::cancel() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_view.canCancel) return;
    m_cancel = true;
    m_view.cancelling = true;
    m_view.action = m_cancelling;
}

void BackgroundTask::report(std::string action, std::string counts, int percent) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_view.cancelling) m_view.action = std::move(action);
    m_view.counts = std::move(counts);
    m_view.percent = percent;
}

}  // namespace pairweb::app

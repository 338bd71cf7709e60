#include "app/prompts.h"

namespace pairweb::app {

std::vector<FileFilter> CommonDialog::parseFilter(std::string_view filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = filter.find('|', start);
        parts.emplace_back(filter.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t k = 0; k + 1 < parts.size(); k += 2) {
        filters.push_back({parts[k], parts[k + 1]});
    }
    return filters;
}

FileDialogRequest CommonDialog::request() const {
    return {m_title, parseFilter(m_filter), m_fileName};
}

void CommonDialog::ShowOpen() {
    if (auto chosen = m_dialogs.open(request())) m_fileName = std::move(*chosen);
}

void CommonDialog::ShowSave() {
    if (auto chosen = m_dialogs.save(request())) m_fileName = std::move(*chosen);
}

}  // namespace pairweb::app

#include "support/test_env.h"

#include "platform/file_ops.h"
#include "platform/os.h"
#include "platform/platform.h"
#include "support/process.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace pairweb::testing {

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto candidate = base / ("pairweb-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate.string();
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // Folders made read-only by a test must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::operator/(const std::string& name) const {
    const char separator = platform::pathSeparator();
    std::string path = m_path + separator + name;
    for (std::size_t k = m_path.size(); k < path.size(); ++k) {
        if (path[k] == '/') path[k] = separator;
    }
    return path;
}

std::string pairwebGenPath() {
    const std::string self = platform::SystemPlatform().programPath();
    const std::size_t end = self.rfind(platform::pathSeparator());
    const bool exe = self.size() > 4 && self.compare(self.size() - 4, 4, ".exe") == 0;
    return self.substr(0, end + 1) + "pairweb-gen" + (exe ? ".exe" : "");
}

std::string native(std::string path) {
    for (char& c : path) {
        if (c == '/') c = platform::pathSeparator();
    }
    return path;
}

// Paths are UTF-8, on every system (on Windows a narrow path would be read in the ANSI code
// page).
std::filesystem::path utf8Path(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string readFile(const std::string& path) {
    std::ifstream file(utf8Path(path), std::ios::binary);
    std::ostringstream s;
    s << file.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(platform::os::toNative(folder), ec)) {
        names.push_back(platform::os::fromNative(e.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(utf8Path(path), ec);
}

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back("<<NOT CRLF>>" + text.substr(start));
            break;
        }
        if (lf == start || text[lf - 1] != '\r') {
            lines.push_back("<<NOT CRLF>>" + text.substr(start, lf - start));
        } else {
            lines.push_back(text.substr(start, lf - 1 - start));
        }
        start = lf + 1;
    }
    return lines;
}

void useUtc() {
#ifdef _WIN32
    _putenv_s("TZ", "UTC");
    _tzset();
#else
    setenv("TZ", "UTC", 1);
    tzset();
#endif
}

}  // namespace pairweb::testing

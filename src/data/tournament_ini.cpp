#include "data/tournament_ini.h"


namespace pairweb::data {
namespace {

// A real ini file holds a few kilobytes.
constexpr std::size_t kMaxIniBytes = 256 * 1024;

std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string tournamentIniPath(const std::string& trnPath) {
    const std::size_t dot = trnPath.rfind('.');
    const std::size_t slash = trnPath.find_last_of("/\\");
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? trnPath.substr(0, dot) : trnPath) + ".ini";
}

std::optional<std::string> tournamentNameFromIni(std::string_view text) {
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trimmed(line);
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[Tournament Info]";
        } else if (inSection && line.substr(0, 5) == "Name=") {
            const std::string_view name = trimmed(line.substr(5));
            if (name.empty()) {
                return std::nullopt;
            }
            return std::string(name);
        }
    }
    return std::nullopt;
}

std::optional<std::string> tournamentName(const std::string& trnPath,
                                          const platform::Platform& files) {
    std::string text;
    if (!files.readFile(tournamentIniPath(trnPath), text, kMaxIniBytes)) {
        return std::nullopt;
    }
    return tournamentNameFromIni(text);
}

}  // namespace pairweb::data

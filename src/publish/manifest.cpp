#include "publish/manifest.h"

#include <charconv>

namespace pairweb::publish {
namespace {

constexpr std::string_view kFirstLine = "pairweb-published 1";

bool isSha256Hex(std::string_view text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace

std::string manifestText(const Manifest& manifest) {
    std::string text = std::string(kFirstLine) + "\nurl " + manifest.url + "\n";
    for (const auto& [path, state] : manifest.files) {
        text += state.sha256 + " " + std::to_string(state.size) + " " + path + "\n";
    }
    return text;
}

std::optional<Manifest> parseManifest(std::string_view text) {
    Manifest manifest;
    int line = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut short
        const std::string_view row = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (line == 0) {
            if (row != kFirstLine) return std::nullopt;
        } else if (line == 1) {
            if (!row.starts_with("url ")) return std::nullopt;
            manifest.url = std::string(row.substr(4));
        } else {
            const std::size_t first = row.find(' ');
            const std::size_t second = first == std::string_view::npos
                                           ? std::string_view::npos
                                           : row.find(' ', first + 1);
            if (second == std::string_view::npos || !isSha256Hex(row.substr(0, first))) {
                return std::nullopt;
            }
            FileState state{0, std::string(row.substr(0, first))};
            const std::string_view size = row.substr(first + 1, second - first - 1);
            const auto parsed = std::from_chars(size.data(), size.data() + size.size(), state.size);
            const std::string_view path = row.substr(second + 1);
            if (parsed.ec != std::errc() || parsed.ptr != size.data() + size.size() ||
                path.empty()) {
                return std::nullopt;
            }
            manifest.files[std::string(path)] = state;
        }
        ++line;
    }
    if (line < 2) return std::nullopt;
    return manifest;
}

}  // namespace pairweb::publish

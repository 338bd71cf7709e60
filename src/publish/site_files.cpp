#include "publish/site_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_ops.h"
#include "platform/password_hash.h"

namespace pairweb::publish {
namespace {

namespace fs = std::filesystem;

// Files larger than this are not part of a site (a site at full size is about 13 MB).
constexpr std::size_t kMaxFileBytes = 256 * 1024 * 1024;

std::string utf8(const std::u8string& text) { return std::string(text.begin(), text.end()); }
std::string utf8(const fs::path& path) { return utf8(path.u8string()); }

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

}  // namespace

std::string sha256Hex(std::string_view content) {
    const std::optional<std::string> digest = platform::sha256Digest(content);
    if (!digest) return {};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : *digest) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

std::optional<std::vector<SiteFile>> listSiteFiles(const std::string& siteFolder,
                                                   std::string& problem) {
    std::vector<SiteFile> files;
    std::error_code error;
    const fs::path root = fromUtf8(siteFolder);
    fs::recursive_directory_iterator it(root, error);
    if (error) {
        problem = "the site folder " + siteFolder + " cannot be read";
        return std::nullopt;
    }
    for (; it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string name = utf8(it->path().filename());
        if (name.starts_with('.')) {
            if (it->is_directory(error)) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(error)) continue;
        SiteFile file;
        file.path = utf8(fs::relative(it->path(), root, error).generic_u8string());
        file.diskPath = utf8(it->path());
        std::string content;
        if (error || file.path.find_first_of("\r\n") != std::string::npos ||
            !platform::readWholeFile(file.diskPath, content, kMaxFileBytes)) {
            problem = "the file " + file.diskPath + " cannot be read";
            return std::nullopt;
        }
        file.state = {content.size(), sha256Hex(content)};
        if (file.state.sha256.empty()) {
            problem = "the files cannot be checked (no SHA-256 from the system)";
            return std::nullopt;
        }
        files.push_back(std::move(file));
    }
    if (error) {
        problem = "the site folder " + siteFolder + " cannot be read";
        return std::nullopt;
    }
    std::sort(files.begin(), files.end(),
              [](const SiteFile& a, const SiteFile& b) { return a.path < b.path; });
    return files;
}

bool isServerOwned(std::string_view path) {
    if (!path.starts_with("pgn/") || path.find('/', 4) != std::string_view::npos) return false;
    std::string_view name = path.substr(4);
    if (name.ends_with(".pgn")) {
        name.remove_suffix(4);
    } else if (name.ends_with("_pgn.html")) {
        name.remove_suffix(9);
    } else {
        return false;
    }
    const std::size_t digits = name.find_last_not_of("0123456789");
    return digits != std::string_view::npos && digits + 1 < name.size() &&
           name.substr(0, digits + 1).ends_with("round");
}

int uploadStage(std::string_view path, std::string_view homeFile) {
    if (path == homeFile) return 3;
    if (path == "contents.html" || path == "results.html" || path == "standings.html") return 2;
    if (path == "m/version.txt") return 1;
    return 0;
}

std::vector<SiteFile> filesToUpload(const std::vector<SiteFile>& files, const Manifest& last,
                                    bool everything, const std::vector<std::string>& onServer,
                                    std::string_view homeFile) {
    std::vector<SiteFile> chosen;
    for (const SiteFile& file : files) {
        if (isServerOwned(file.path)) {
            const std::string name = file.path.substr(4);
            if (std::find(onServer.begin(), onServer.end(), name) == onServer.end()) {
                chosen.push_back(file);
            }
            continue;
        }
        const auto sent = last.files.find(file.path);
        if (everything || sent == last.files.end() || sent->second != file.state) {
            chosen.push_back(file);
        }
    }
    std::stable_sort(chosen.begin(), chosen.end(), [homeFile](const SiteFile& a, const SiteFile& b) {
        return uploadStage(a.path, homeFile) < uploadStage(b.path, homeFile);
    });
    return chosen;
}

}  // namespace pairweb::publish

#include "platform/file_ops.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace pairweb::platform {
namespace fs = std::filesystem;
namespace {

// A temporary file in the target's own folder, so that the final rename stays on one file
// system. Opened exclusively ("x"), so two writers never share one.
struct TempFile {
    std::string path;
    std::FILE* file = nullptr;
};

TempFile openTemporaryFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const fs::path targetPath(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = ".";
        name.append(targetPath.filename().string()).append(".tmp");
        name.append(std::to_string(seed)).append("-").append(std::to_string(counter++));
        std::string path = (targetPath.parent_path() / name).string();
        if (std::FILE* f = std::fopen(path.c_str(), "wbx")) {
            return {std::move(path), f};
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return {};
}

// Writes content into a fresh temporary file and closes it; empty path on failure.
std::string writeTemporary(const std::string& target, std::string_view content) {
    TempFile temp = openTemporaryFor(target);
    if (temp.file == nullptr) {
        return {};
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), temp.file) ==
                         content.size();
    const bool closed = std::fclose(temp.file) == 0;
    if (!written || !closed) {
        std::remove(temp.path.c_str());
        return {};
    }
    return temp.path;
}

}  // namespace

bool pathExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)) || fs::exists(path, ec);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool readWholeFile(const std::string& path, std::string& out) {
    if (isDirectory(path)) {
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    std::string data;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        data.append(buffer, n);
    }
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    if (ok) {
        out = std::move(data);
    }
    return ok;
}

bool writeFileReplacing(const std::string& path, std::string_view content) {
    // A folder of that name makes the rename fail, and the temporary file is removed.
    const std::string temp = writeTemporary(path, content);
    if (temp.empty()) {
        return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

CreateResult writeFileIfAbsent(const std::string& path, std::string_view content) {
    const std::string temp = writeTemporary(path, content);
    if (temp.empty()) {
        return CreateResult::Failed;
    }
    // A hard link fails when the name exists, so a file that appeared meanwhile is kept.
    std::error_code ec;
    fs::create_hard_link(temp, path, ec);
    CreateResult result = CreateResult::Created;
    if (ec == std::errc::file_exists) {
        result = CreateResult::AlreadyExists;
    } else if (ec) {
        // File systems without hard links: fall back to a rename after a last look.
        std::error_code renameError;
        if (pathExists(path)) {
            result = CreateResult::AlreadyExists;
        } else {
            fs::rename(temp, path, renameError);
            result = renameError ? CreateResult::Failed : CreateResult::Created;
        }
    }
    fs::remove(temp, ec);
    return result;
}

std::vector<std::string> listPlainFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return names;
    }
    for (const fs::directory_entry& entry : it) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
    std::string content;
    if (!readWholeFile(from, content)) {
        return false;
    }
    return writeFileReplacing(to, content);
}

bool createDirectory(const std::string& path) {
    std::error_code ec;
    return fs::create_directory(path, ec);
}

bool canOpenForReading(const std::string& path) {
    if (isDirectory(path)) {
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    return true;
}

}  // namespace pairweb::platform

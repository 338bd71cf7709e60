#include "platform/file_ops.h"

#include "platform/os.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace pairweb::platform {
namespace fs = std::filesystem;
namespace {

// Slots for the temporary files being written right now, so that an interrupted run can
// remove them from a signal handler: fixed storage, lock-free atomics, no allocation.
constexpr std::size_t kTrackedSlots = 64;
constexpr std::size_t kTrackedPathBytes = 4096;
enum SlotState : int { kFree = 0, kClaimed = 1, kTracked = 2 };

struct TrackedSlot {
    std::atomic<int> state{kFree};
    char path[kTrackedPathBytes] = {};
};

TrackedSlot g_tracked[kTrackedSlots];
std::atomic<bool> g_removingAll{false};

// Registers a path before its file is created; the slot number, or -1 when none is free
// (the file is then written untracked).
int track(const std::string& path) {
    if (path.size() >= kTrackedPathBytes) {
        return -1;
    }
    for (std::size_t i = 0; i < kTrackedSlots; ++i) {
        int expected = kFree;
        if (g_tracked[i].state.compare_exchange_strong(expected, kClaimed)) {
            std::memcpy(g_tracked[i].path, path.c_str(), path.size() + 1);
            g_tracked[i].state.store(kTracked);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void untrack(int slot) {
    if (slot >= 0) {
        g_tracked[static_cast<std::size_t>(slot)].state.store(kFree);
    }
}

// The folder part of a path, with its final separator; empty for a bare name.
std::string folderOf(const std::string& path) {
    for (std::size_t k = path.size(); k > 0; --k) {
        if (os::isSeparator(path[k - 1])) {
            return path.substr(0, k);
        }
    }
    return {};
}

char randomNameCharacter(std::mt19937_64& random) {
    static constexpr std::string_view kAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";
    return kAlphabet[static_cast<std::size_t>(random() % kAlphabet.size())];
}

// A temporary file in the target's own folder, so that the final rename stays on one file
// system. Its name is short and independent of the target's, so any name that fits the
// file system can be written. Opened exclusively ("x"), so two writers never share one.
struct TempFile {
    std::string path;
    std::FILE* file = nullptr;
    int slot = -1;
};

TempFile openTemporaryFor(const std::string& target) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name(kTemporaryPrefix);
        for (std::size_t i = 0; i < kTemporaryRandomLength; ++i) {
            name += randomNameCharacter(random);
        }
        std::string path = folder + name;
        const int slot = track(path);
        if (g_removingAll.load()) {
            // The process is being interrupted: create nothing more.
            untrack(slot);
            return {};
        }
        bool exists = false;
        if (std::FILE* f = os::createExclusive(path, exists)) {
            return {std::move(path), f, slot};
        }
        untrack(slot);
        if (!exists) {
            break;
        }
    }
    return {};
}

// Writes content into a fresh temporary file and closes it; empty path on failure. The
// caller calls untrack(slot) once the temporary file is renamed or removed.
std::string writeTemporary(const std::string& target, std::string_view content, int& slot) {
    TempFile temp = openTemporaryFor(target);
    slot = temp.slot;
    if (temp.file == nullptr) {
        return {};
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), temp.file) ==
                         content.size();
    const bool closed = std::fclose(temp.file) == 0;
    if (!written || !closed) {
        os::removeNow(temp.path.c_str());
        untrack(slot);
        slot = -1;
        return {};
    }
    return temp.path;
}

// Reads at most maxBytes of an open stream; false when it holds more or fails.
bool readBounded(std::FILE* f, std::size_t maxBytes, std::size_t expected, std::string& out) {
    std::string data;
    data.reserve(expected);
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (n > maxBytes - data.size()) {
            return false;
        }
        data.append(buffer, n);
    }
    if (std::ferror(f) != 0) {
        return false;
    }
    out = std::move(data);
    return true;
}

}  // namespace

char pathSeparator() { return os::separator(); }

bool ansiPathsMayAppear() { return os::ansiPathsMayAppear(); }

bool pathExists(const std::string& path) {
    // A path that ends with a separator names a folder: a file of that name does not count.
    if (!path.empty() && os::isSeparator(path.back())) {
        return isDirectory(path);
    }
    std::error_code ec;
    const fs::path native = os::toNative(path);
    return fs::exists(fs::symlink_status(native, ec)) || fs::exists(native, ec);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(os::toNative(path), ec);
}

bool readWholeFile(const std::string& path, std::string& out, std::size_t maxBytes) {
    if (isDirectory(path)) {
        return false;
    }
    std::FILE* f = os::openForReading(path);
    if (f == nullptr) {
        return false;
    }
    // The size of a plain file lets the buffer be taken once; pipes and devices say 0.
    std::error_code ec;
    const fs::path native = os::toNative(path);
    const std::uintmax_t size = fs::is_regular_file(native, ec) ? fs::file_size(native, ec) : 0;
    const std::size_t expected =
        ec ? 0 : static_cast<std::size_t>(std::min<std::uintmax_t>(size, maxBytes));
    const bool ok = readBounded(f, maxBytes, expected, out);
    std::fclose(f);
    return ok;
}

bool writeFileReplacing(const std::string& path, std::string_view content) {
    // A folder of that name makes the rename fail, and the temporary file is removed.
    int slot = -1;
    const std::string temp = writeTemporary(path, content, slot);
    if (temp.empty()) {
        return false;
    }
    const bool renamed = os::renameReplacing(temp, path);
    if (!renamed) {
        os::removeNow(temp.c_str());
    }
    untrack(slot);
    return renamed;
}

CreateResult writeFileIfAbsent(const std::string& path, std::string_view content) {
    int slot = -1;
    const std::string temp = writeTemporary(path, content, slot);
    if (temp.empty()) {
        return CreateResult::Failed;
    }
    // A file that appeared meanwhile is kept.
    const os::MoveResult moved = os::renameIfAbsent(temp, path);
    if (moved != os::MoveResult::Moved) {
        os::removeNow(temp.c_str());
    }
    untrack(slot);
    return moved == os::MoveResult::Moved  ? CreateResult::Created
           : moved == os::MoveResult::Exists ? CreateResult::AlreadyExists
                                             : CreateResult::Failed;
}

std::vector<std::string> listPlainFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(os::toNative(folder), ec);
    if (ec) {
        return names;
    }
    for (const fs::directory_entry& entry : it) {
        std::error_code typeError;
        if (entry.is_regular_file(typeError)) {
            names.push_back(os::fromNative(entry.path().filename()));
        }
    }
    return names;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
    std::string content;
    if (!readWholeFile(from, content, kMaxCopiedFileBytes)) {
        return false;
    }
    return writeFileReplacing(to, content);
}

bool createDirectory(const std::string& path) {
    std::error_code ec;
    return fs::create_directory(os::toNative(path), ec);
}

bool canOpenForReading(const std::string& path) {
    if (isDirectory(path)) {
        return false;
    }
    std::FILE* f = os::openForReading(path);
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    return true;
}

bool isTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryRandomLength ||
        name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix) {
        return false;
    }
    for (const char c : name.substr(kTemporaryPrefix.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) {
            return false;
        }
    }
    return true;
}

int removeStaleTemporaries(const std::string& folder, int maxAgeSeconds) {
    int removed = 0;
    std::error_code ec;
    fs::directory_iterator it(os::toNative(folder), ec);
    if (ec) {
        return 0;
    }
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry& entry : it) {
        std::error_code entryError;
        if (!isTemporaryName(os::fromNative(entry.path().filename())) ||
            !entry.is_regular_file(entryError)) {
            continue;
        }
        const auto written = entry.last_write_time(entryError);
        if (entryError || now - written < std::chrono::seconds(maxAgeSeconds)) {
            continue;  // young ones may belong to a run that is still going
        }
        if (fs::remove(entry.path(), entryError)) {
            ++removed;
        }
    }
    return removed;
}

void removeTemporariesInProgress() noexcept {
    g_removingAll.store(true);
    for (TrackedSlot& slot : g_tracked) {
        if (slot.state.load() == kTracked) {
            os::removeNow(slot.path);
        }
    }
}

}  // namespace pairweb::platform

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/os.h"

namespace pairweb::platform::os {

char separator() { return '/'; }
bool isSeparator(char c) { return c == '/'; }

std::filesystem::path toNative(const std::string& utf8) { return std::filesystem::path(utf8); }
std::string fromNative(const std::filesystem::path& path) { return path.string(); }

bool ansiPathsMayAppear() { return false; }

std::string programPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}

std::FILE* openForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

std::FILE* createExclusive(const std::string& path, bool& exists) {
    exists = false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        exists = errno == EEXIST;
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        ::close(fd);
        ::unlink(path.c_str());
    }
    return f;
}

bool renameReplacing(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

MoveResult renameIfAbsent(const std::string& from, const std::string& to) {
    // A hard link fails when the name exists, so a file that appeared meanwhile is kept.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return MoveResult::Moved;
    }
    if (errno == EEXIST) {
        return MoveResult::Exists;
    }
    // File systems without hard links: a rename after a last look.
    if (::access(to.c_str(), F_OK) == 0) {
        return MoveResult::Exists;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? MoveResult::Moved : MoveResult::Failed;
}

void removeNow(const char* path) noexcept { ::unlink(path); }

std::vector<std::string> startConsole(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace pairweb::platform::os

// windows.h comes first: the other system headers build on it.
#include <windows.h>
// (keep the order)
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <shellapi.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/os.h"

namespace pairweb::platform::os {
namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// Another program (a browser, an upload tool, a virus scanner) may hold the target open for
// a moment; the rename is tried again for up to about a second.
template <typename Attempt>
bool retried(Attempt attempt) {
    for (int k = 0; k < 20; ++k) {
        if (attempt()) return true;
        const DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
        Sleep(50);
    }
    return false;
}

}  // namespace

char separator() { return '\\'; }
bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::filesystem::path toNative(const std::string& utf8) {
    return std::filesystem::path(wide(utf8));
}
std::string fromNative(const std::filesystem::path& path) { return narrow(path.wstring()); }

bool ansiPathsMayAppear() { return true; }

std::string programPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::FILE* openForReading(const std::string& path) {
    return _wfsopen(wide(path).c_str(), L"rb", _SH_DENYNO);
}

std::FILE* createExclusive(const std::string& path, bool& exists) {
    exists = false;
    int fd = -1;
    const errno_t error = _wsopen_s(&fd, wide(path).c_str(),
                                    _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                    _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0 || fd < 0) {
        exists = error == EEXIST;
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) {
        _close(fd);
        _wremove(wide(path).c_str());
    }
    return f;
}

bool renameReplacing(const std::string& from, const std::string& to) {
    const std::wstring source = wide(from);
    const std::wstring target = wide(to);
    return retried([&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
}

MoveResult renameIfAbsent(const std::string& from, const std::string& to) {
    // Without the replace flag the rename refuses an existing name, in one step.
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0) {
        return MoveResult::Moved;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::Exists
                                                                       : MoveResult::Failed;
}

void removeNow(const char* path) noexcept {
    // Called from the console control handler's own thread, where any call is allowed.
    DeleteFileW(wide(path).c_str());
}

std::vector<std::string> startConsole(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int k = 1; k < count; ++k) args.push_back(narrow(argv[k]));
        LocalFree(argv);
    }
    // Messages are UTF-8 with "\n" line ends, byte for byte as on other systems.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return args;
}

}  // namespace pairweb::platform::os

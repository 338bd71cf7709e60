#include <windows.h>

#include <set>

#include "platform/file_watcher_notifier.h"
#include "platform/os.h"

namespace pairweb::platform {
namespace {

std::wstring wide(const std::string& utf8) { return os::toNative(utf8).wstring(); }

}  // namespace

FileWatcher::Notifier::Notifier(const std::vector<std::string>& paths) {
    std::set<std::string> folders;
    for (const std::string& p : paths) {
        std::size_t k = p.size();
        while (k > 0 && !os::isSeparator(p[k - 1])) --k;
        folders.insert(k == 0 ? std::string(".") : p.substr(0, k));
    }
    for (const std::string& folder : folders) {
        const HANDLE h = FindFirstChangeNotificationW(
            wide(folder).c_str(), FALSE,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
        if (h == INVALID_HANDLE_VALUE) {
            continue;  // polling covers this folder
        }
        handles.push_back(reinterpret_cast<long long>(h));
    }
}

FileWatcher::Notifier::~Notifier() {
    for (const long long h : handles) {
        FindCloseChangeNotification(reinterpret_cast<HANDLE>(h));
    }
}

void FileWatcher::Notifier::nap(int ms) {
    if (handles.empty()) {
        Sleep(static_cast<DWORD>(ms));
        return;
    }
    std::vector<HANDLE> waits;
    for (const long long h : handles) waits.push_back(reinterpret_cast<HANDLE>(h));
    const DWORD r = WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE,
                                           static_cast<DWORD>(ms));
    if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + waits.size()) {
        FindNextChangeNotification(waits[r - WAIT_OBJECT_0]);
    }
}

std::string fileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
        return "missing";
    }
    const auto join = [](DWORD high, DWORD low) {
        return (static_cast<unsigned long long>(high) << 32) | low;
    };
    return std::to_string(
               join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)) +
           ":" + std::to_string(join(data.nFileSizeHigh, data.nFileSizeLow));
}

void sleepMs(int ms) { Sleep(static_cast<DWORD>(ms)); }

}  // namespace pairweb::platform

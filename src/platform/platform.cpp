#include "platform/platform.h"

#include "platform/interrupt.h"
#include "platform/os.h"

namespace pairweb::platform {

std::vector<std::string> startConsole(int argc, char** argv) {
    return os::startConsole(argc, argv);
}

std::string SystemPlatform::programPath() const { return os::programPath(); }

std::time_t SystemPlatform::now() const { return std::time(nullptr); }

bool SystemPlatform::exists(const std::string& path) const { return pathExists(path); }

bool SystemPlatform::readFile(const std::string& path, std::string& out,
                              std::size_t maxBytes) const {
    return readWholeFile(path, out, maxBytes);
}

char SystemPlatform::separator() const { return pathSeparator(); }

bool SystemPlatform::ansiPathsMayAppear() const { return platform::ansiPathsMayAppear(); }

Platform& systemPlatform() {
    static SystemPlatform system;  // holds no state of its own
    return system;
}

bool SystemPlatform::createDirectory(const std::string& path) {
    return platform::createDirectory(path);
}

std::vector<std::string> SystemPlatform::listPlainFiles(const std::string& folder) const {
    return platform::listPlainFiles(folder);
}

bool SystemPlatform::copyFile(const std::string& from, const std::string& to) {
    return copyFileReplacing(from, to);
}

bool SystemPlatform::canOpenForReading(const std::string& path) const {
    return platform::canOpenForReading(path);
}

bool SystemPlatform::writeFile(const std::string& path, std::string_view content) {
    return writeFileReplacing(path, content);
}

CreateResult SystemPlatform::createFile(const std::string& path, std::string_view content) {
    return writeFileIfAbsent(path, content);
}

void SystemPlatform::removeStaleTemporaries(const std::string& folder) {
    platform::removeStaleTemporaries(folder, kStaleTemporarySeconds);
}

}  // namespace pairweb::platform

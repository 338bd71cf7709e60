#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"

namespace pairweb::platform {

// What the program takes from the operating system: the program's own path, the clock, the
// folder separator and the file operations. The core reads and writes files only through
// it (callers that give none get systemPlatform()). Tests derive from SystemPlatform to fix
// the path or the time.
//
// Threads: a run calls these from two threads at once, its own and the page writer's
// (writeFile, createFile); every implementation must allow that. SystemPlatform keeps no
// state of its own, and its file operations work on distinct temporary files, so any
// number of threads may use one SystemPlatform. Paths are UTF-8; the folder separator of
// derived paths is pathSeparator() of platform/file_ops.h. What else the program takes from
// the system (console, interrupts, file watching) is in platform/interrupt.h and
// platform/file_watcher.h, each with one implementation file per operating system.
class Platform {
public:
    virtual ~Platform() = default;

    // Full path of the running program's file.
    virtual std::string programPath() const = 0;
    // Current calendar time in whole seconds.
    virtual std::time_t now() const = 0;

    virtual bool exists(const std::string& path) const = 0;
    // Reads a whole file of at most maxBytes; false when it cannot be read or is larger.
    [[nodiscard]] virtual bool readFile(const std::string& path, std::string& out,
                                        std::size_t maxBytes) const = 0;
    // The separator of folders in derived paths: "\\" on Windows, "/" elsewhere.
    virtual char separator() const = 0;
    // Whether a path in a settings file that is not valid UTF-8 is Windows-1252.
    virtual bool ansiPathsMayAppear() const = 0;
    virtual bool createDirectory(const std::string& path) = 0;
    virtual std::vector<std::string> listPlainFiles(const std::string& folder) const = 0;
    [[nodiscard]] virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    virtual bool canOpenForReading(const std::string& path) const = 0;
    // Writes a whole file, replacing an existing one only once the new one is complete.
    [[nodiscard]] virtual bool writeFile(const std::string& path, std::string_view content) = 0;
    // Writes a whole file only when no entry of that name exists.
    [[nodiscard]] virtual CreateResult createFile(const std::string& path,
                                                  std::string_view content) = 0;
    // Removes our own temporary files in folder that an earlier, killed run left behind.
    virtual void removeStaleTemporaries(const std::string& folder) = 0;

    // Temporary files younger than this may belong to a run that is still going.
    static constexpr int kStaleTemporarySeconds = 10 * 60;
};

// The real operating system.
class SystemPlatform : public Platform {
public:
    std::string programPath() const override;
    std::time_t now() const override;
    bool exists(const std::string& path) const override;
    [[nodiscard]] bool readFile(const std::string& path, std::string& out,
                                std::size_t maxBytes) const override;
    char separator() const override;
    bool ansiPathsMayAppear() const override;
    bool createDirectory(const std::string& path) override;
    std::vector<std::string> listPlainFiles(const std::string& folder) const override;
    [[nodiscard]] bool copyFile(const std::string& from, const std::string& to) override;
    bool canOpenForReading(const std::string& path) const override;
    [[nodiscard]] bool writeFile(const std::string& path, std::string_view content) override;
    [[nodiscard]] CreateResult createFile(const std::string& path,
                                          std::string_view content) override;
    void removeStaleTemporaries(const std::string& folder) override;
};

// The real system, for callers that are given no other.
Platform& systemPlatform();

}  // namespace pairweb::platform

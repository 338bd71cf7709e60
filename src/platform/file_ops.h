#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pairweb::platform {

// The separator of folders in the paths the program derives: "\\" on Windows, "/" elsewhere.
char pathSeparator();

// Whether a path in a settings file that is not valid UTF-8 is Windows-1252 (true on Windows,
// where files written by hand or other tools hold ANSI paths; elsewhere paths are bytes).
bool ansiPathsMayAppear();

// True when any file system entry (file, folder, ...) has this path. A path that ends with a
// separator counts only when it is a folder.
bool pathExists(const std::string& path);

// True when the path is a folder.
bool isDirectory(const std::string& path);

// Reads a whole file into out. False when it cannot be opened or read (a folder, for one),
// or when it holds more than maxBytes (an endless device, a huge file): nothing beyond
// maxBytes is ever held. Pipes work as well as plain files.
[[nodiscard]] bool readWholeFile(const std::string& path, std::string& out,
                                 std::size_t maxBytes);

// Largest file that copyFileReplacing copies.
constexpr std::size_t kMaxCopiedFileBytes = 64u * 1024 * 1024;

// Temporary files are named kTemporaryPrefix followed by kTemporaryRandomLength characters
// out of 0-9 and a-z: short, so that the longest name the file system takes can still be
// written beside them, and unmistakably ours, so that leftovers can be cleared.
constexpr std::string_view kTemporaryPrefix = ".pwtmp-";
constexpr std::size_t kTemporaryRandomLength = 8;
bool isTemporaryName(std::string_view name);

// Removes, directly inside folder, our temporary files that were last written at least
// maxAgeSeconds ago (younger ones may belong to a run still going in another process).
// Returns how many were removed.
int removeStaleTemporaries(const std::string& folder, int maxAgeSeconds);

// Removes the temporary files this process is writing right now and stops it from creating
// more. Safe to call from a signal handler; meant for a process that is about to end.
void removeTemporariesInProgress() noexcept;

// Writes content to a temporary file beside path and renames it over path once complete, so
// a reader never sees a half-written file. False (and path untouched) on any failure.
[[nodiscard]] bool writeFileReplacing(const std::string& path, std::string_view content);

enum class CreateResult { Created, AlreadyExists, Failed };

// Like writeFileReplacing, but never replaces: an existing entry of that name is kept.
[[nodiscard]] CreateResult writeFileIfAbsent(const std::string& path, std::string_view content);

// Names of the plain files (not folders) directly inside a folder; empty when it is missing.
std::vector<std::string> listPlainFiles(const std::string& folder);

// Copies a file, replacing a file of the target's name. False on failure.
[[nodiscard]] bool copyFileReplacing(const std::string& from, const std::string& to);

// Creates one folder level. False when it could not be created (or already existed).
bool createDirectory(const std::string& path);

// True when the path is a plain file that can be opened for reading.
bool canOpenForReading(const std::string& path);

}  // namespace pairweb::platform

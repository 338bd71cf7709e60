#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pairweb::platform {

// True when any file system entry (file, folder, ...) has this path.
bool pathExists(const std::string& path);

// True when the path is a folder.
bool isDirectory(const std::string& path);

// Reads a whole file into out. False when it cannot be opened or read (a folder, for one).
[[nodiscard]] bool readWholeFile(const std::string& path, std::string& out);

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

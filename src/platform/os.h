#pragma once

// The few primitives that differ between operating systems, one implementation file per OS
// (os_posix.cpp, os_windows.cpp). Paths are UTF-8 everywhere inside the program.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace pairweb::platform::os {

// The separator of folders in the paths the program derives.
char separator();
// True for the characters the file system takes as a folder separator.
bool isSeparator(char c);

// A path of the file system from a UTF-8 path, and back.
std::filesystem::path toNative(const std::string& utf8);
std::string fromNative(const std::filesystem::path& path);

// Whether paths typed into settings files by hand may be in the system's ANSI code page
// (Windows-1252) rather than UTF-8.
bool ansiPathsMayAppear();

// Full path of the running program's file; empty when unknown.
std::string programPath();

// Opens a file for reading in binary mode; nullptr on failure.
std::FILE* openForReading(const std::string& path);

// Creates a new file for writing in binary mode, failing when any entry of that name exists
// (then exists is set).
std::FILE* createExclusive(const std::string& path, bool& exists);

// Renames from over to, replacing a file there in one step. False on failure (from stays).
bool renameReplacing(const std::string& from, const std::string& to);

enum class MoveResult { Moved, Exists, Failed };
// Renames from to to only when no entry of that name exists, in one step.
MoveResult renameIfAbsent(const std::string& from, const std::string& to);

// Removes a file; safe to call where only async-signal-safe calls are allowed.
void removeNow(const char* path) noexcept;

// The program's arguments (without the program name) as UTF-8, and the console set up so
// that what the program prints arrives byte for byte ("\n" line ends, UTF-8 text).
std::vector<std::string> startConsole(int argc, char** argv);

}  // namespace pairweb::platform::os

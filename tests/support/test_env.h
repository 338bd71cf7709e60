#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pairweb::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the
// end of the test. path() ends without a separator.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    // A path inside the folder; "/" in name separates folders, written with the system's
    // separator.
    std::string operator/(const std::string& name) const;

private:
    std::string m_path;
};

// The real file system with a fixed program path and a fixed clock.
class FixedPlatform : public platform::SystemPlatform {
public:
    FixedPlatform(std::string programPath, std::time_t time)
        : m_programPath(std::move(programPath)), m_time(time) {}
    std::string programPath() const override { return m_programPath; }
    std::time_t now() const override { return m_time; }

private:
    std::string m_programPath;
    std::time_t m_time;
};

// A path written with "/" as the system writes it ("\\" on Windows).
std::string native(std::string path);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
// The names of the entries directly inside a folder, sorted; empty when it is missing.
std::vector<std::string> filesIn(const std::string& folder);
// The lines of a text whose lines all end with CR LF; a missing final line end, or a bare
// LF, gives a line "<<NOT CRLF>>" so that comparisons fail.
std::vector<std::string> crlfLines(const std::string& text);

// Forces the local time zone to UTC, so that date texts are predictable.
void useUtc();

}  // namespace pairweb::testing

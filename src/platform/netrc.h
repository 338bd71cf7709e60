#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pairweb::platform {

// The netrc file as curl reads it: entries "machine HOST login USER password PASSWORD" (in
// any layout of blanks and line ends), a "default" entry for every other host, "macdef"
// bodies up to an empty line, "#" comments to the line end, and values in double quotes
// with \" \\ \n \r \t escapes. These functions work on the file's text; the store that
// reads and writes the file is password_store_posix.cpp.

// The password for host and user: the first entry of that host whose login is user or that
// names no login, else the default entry likewise; nothing when there is none.
std::optional<std::string> netrcPassword(std::string_view text, std::string_view host,
                                         std::string_view user);

// The text with the entry of host and user holding password: the first such entry is
// replaced where it stands by one line "machine HOST login USER password PASSWORD", any
// later one is removed, and every other line stays byte for byte. Without such an entry,
// the line is added at the end.
std::string netrcWithPassword(std::string_view text, std::string_view host, std::string_view user,
                              std::string_view password);

// The text without the entries of host and user (removed tells whether there were any);
// every other line stays byte for byte.
std::string netrcWithout(std::string_view text, std::string_view host, std::string_view user,
                         bool& removed);

// A value as a netrc token: as it stands when it needs no quotes, else in double quotes.
std::string netrcToken(std::string_view value);

}  // namespace pairweb::platform

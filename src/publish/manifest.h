#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace pairweb::publish {

// The name of the manifest in the site folder: what was last uploaded, and where to.
constexpr std::string_view kManifestName = ".pairweb-published";

// One file of the site as uploaded (or as it is now): its size and SHA-256 (hex).
struct FileState {
    std::uint64_t size = 0;
    std::string sha256;
    bool operator==(const FileState&) const = default;
};

// What was last uploaded to one address: path below the site folder ("pgn/round1.pgn") to
// the state of the file that was sent.
struct Manifest {
    std::string url;  // the address as shown, without any password
    std::map<std::string, FileState> files;
    bool operator==(const Manifest&) const = default;
};

// The manifest's text: a first line "pairweb-published 1", then "url " and the address,
// then one line "SHA256 SIZE PATH" per file, all ending in LF.
std::string manifestText(const Manifest& manifest);

// Reads a manifest's text; nothing when it is not one (a damaged manifest counts as none,
// so everything is uploaded again).
std::optional<Manifest> parseManifest(std::string_view text);

}  // namespace pairweb::publish

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "publish/manifest.h"

namespace pairweb::publish {

// One file of the local site.
struct SiteFile {
    std::string path;      // below the site folder, "/" between folders ("pgn/round1.pgn")
    std::string diskPath;  // the file's own path on this computer (UTF-8)
    FileState state;
};

// The files of the site folder that a publish may send: every plain file of the folder and
// its subfolders, except names starting with "." (the manifest, temporary files, the
// server's own records). In path order. Nothing when the folder cannot be listed or a file
// cannot be read; problem then names it.
std::optional<std::vector<SiteFile>> listSiteFiles(const std::string& siteFolder,
                                                   std::string& problem);

// The SHA-256 of content in lower-case hex; empty when the system cannot compute it.
std::string sha256Hex(std::string_view content);

// A round's PGN file or viewer page ("pgn/" + any prefix + "round" + number + ".pgn" or
// "_pgn.html"): game entry changes them on the server, so the server's copy is kept.
bool isServerOwned(std::string_view path);

// Where a file comes in the order of uploading: 0 for most; 1 for the phone pages' version
// (phones that see it change reload the pages it stands for); 2 for the round index pages
// (they link to the round pages); 3 for the home page, last.
int uploadStage(std::string_view path, std::string_view homeFile);

// The files to send, in the order to send them: those whose state differs from the
// manifest's (all of them when the manifest is for another address or everything is
// asked for), less the server-owned files that the server already has.
std::vector<SiteFile> filesToUpload(const std::vector<SiteFile>& files, const Manifest& last,
                                    bool everything, const std::vector<std::string>& onServer,
                                    std::string_view homeFile);

}  // namespace pairweb::publish

#pragma once

#include <string>
#include <vector>

#include "site/page_options.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::site {

// 14:05:09 UTC on Monday 7 December 2026.
constexpr std::time_t kTestTime = 1796652309;

// Page options as a run builds them from these settings, at kTestTime.
inline PageOptions optionsFor(const settings::Settings& s) {
    PageOptions o = makePageOptions(s);
    o.generationTime = kTestTime;
    return o;
}

inline std::vector<std::string> noCacheBlock() {
    return {"<META HTTP-EQUIV=\"CACHE-CONTROL\" CONTENT=\"NO-CACHE\">",
            "<META HTTP-EQUIV=\"PRAGMA\" CONTENT=\"NO-CACHE\">",
            "<META HTTP-EQUIV=\"EXPIRES\" CONTENT=\"0\">"};
}

// Lines most pages start with: head opening and the no-cache block.
inline std::vector<std::string> headWithNoCache() {
    std::vector<std::string> lines = {"<html><head>"};
    const std::vector<std::string> block = noCacheBlock();
    lines.insert(lines.end(), block.begin(), block.end());
    return lines;
}

inline std::vector<std::string> viewerScript() {
    return {"<script language=\"JavaScript\">", "function OpenLTPgnViewer(urlstr, width, height)",
            "{ window.open(urlstr,\"LTPgnViewerWindow\",\"width=\"+width+\",height=\"+height+\","
            "menubar=no,locationbar=no,resizable=yes,status=no,scrollbars=no\");}",
            "</script>"};
}

inline const char* kStylesheetLink = "<link type=\"text/css\" rel=\"stylesheet\" href=\"style.css\">";

// The two footer lines with home page index.html at kTestTime.
inline std::vector<std::string> footer() {
    return {"</table><a class=\"home\" target=\"_parent\" href=\"index.html\">home</a></center>"
            "<br><br><p class=\"fnote\">Created by <a target=\"top\" "
            "href=\"https://pairweb.org/\">pairweb version 1.0.3</a> on Mon Dec 07 14:05:09 2026",
            "</p></body></html>"};
}

// Appends the pieces of more to lines.
inline void append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

}  // namespace pairweb::site

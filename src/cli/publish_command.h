#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace pairweb::cli {

// What pairweb-gen was asked to publish.
struct PublishRequest {
    bool everything = false;  // --publish-all
    bool dryRun = false;      // --dry-run
};

// How a publish after a run went, for pairweb-gen's output.
struct PublishReport {
    bool ok = false;
    std::string message;               // the publish's one line
    std::string brief;                 // for watch lines: "published 5 files", "publish failed: ..."
    std::vector<std::string> planned;  // dry run: the files that would be sent
};

// Publishes the site that the settings describe and that was just generated. A progress
// line goes to standard error when it is a terminal.
PublishReport publishGenerated(const settings::Settings& s, const PublishRequest& request);

}  // namespace pairweb::cli

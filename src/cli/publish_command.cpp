#include "cli/publish_command.h"

#include <iostream>

#include "platform/interrupt.h"
#include "publish/publisher.h"

namespace pairweb::cli {

PublishReport publishGenerated(const settings::Settings& s, const PublishRequest& request) {
    const bool terminal = platform::errorIsTerminal();
    std::size_t shown = 0;  // characters of the progress line on the terminal
    const auto progress = [&](const publish::PublishProgress& p) {
        std::string line = "Publishing " + std::to_string(p.index + 1) + "/" +
                           std::to_string(p.count) + ", " + std::to_string(p.bytesDone / 1024) +
                           " of " + std::to_string(p.bytesTotal / 1024) + " KB: " + p.path;
        const std::size_t length = line.size();
        if (length < shown) line.append(shown - length, ' ');
        shown = length;
        std::cerr << "\r" << line << std::flush;
    };
    const publish::PublishResult result =
        publish::publishSite(s, publish::credentialsFor(s), {request.everything, request.dryRun},
                             terminal ? publish::ProgressReport(progress)
                                      : publish::ProgressReport());
    if (shown > 0) std::cerr << "\r" << std::string(shown, ' ') << "\r" << std::flush;
    PublishReport report;
    report.ok = result.ok();
    report.message = result.message;
    report.planned = result.planned;
    if (result.ok()) {
        report.brief = "published " + std::to_string(result.sent) +
                       (result.sent == 1 ? " file" : " files");
    } else if (result.outcome == publish::PublishOutcome::Stopped) {
        report.brief = "publish failed: " + std::string(publish::reasonText(result.reason));
    } else {
        report.brief = "publish failed: " + result.message;
    }
    return report;
}

}  // namespace pairweb::cli

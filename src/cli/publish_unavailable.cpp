// pairweb-gen built without libcurl: publishing is refused with a clear message.
#include "cli/publish_command.h"

namespace pairweb::cli {

PublishReport publishGenerated(const settings::Settings&, const PublishRequest&) {
    constexpr std::string_view kMessage =
        "Error: this pairweb-gen was built without publishing (no libcurl).";
    return {false, std::string(kMessage), "publish failed: not built in", {}};
}

}  // namespace pairweb::cli

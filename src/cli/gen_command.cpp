#include "cli/gen_command.h"

#include <charconv>
#include <ctime>

#include "platform/platform.h"
#include "settings/settings_file.h"
#include "site/driver.h"

namespace pairweb::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: pairweb-gen SETTINGS_FILE\n"
    "\n"
    "Builds the tournament web site that SETTINGS_FILE describes (a settings file saved by\n"
    "the pairweb app: strFilename names the .trn table, OutputIndex the home page file).\n"
    "Starts from the default settings, applies the file, generates every page and prints\n"
    "the run's message.\n"
    "\n"
    "Exit status: 0 when the site was generated, 1 when the run ended with an error\n"
    "message, 2 for a usage error or a settings file that cannot be read.\n"
    "SOURCE_DATE_EPOCH, when set, is the generation time shown on the pages.\n";

// The real system, with the generation time fixed when SOURCE_DATE_EPOCH asks for it.
class GenPlatform : public platform::SystemPlatform {
public:
    explicit GenPlatform(std::optional<std::time_t> fixedTime) : m_fixedTime(fixedTime) {}
    std::time_t now() const override {
        return m_fixedTime ? *m_fixedTime : SystemPlatform::now();
    }

private:
    std::optional<std::time_t> m_fixedTime;
};

std::optional<std::time_t> parseEpoch(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || value < 0) {
        return std::nullopt;
    }
    return static_cast<std::time_t>(value);
}

}  // namespace

int runGenCommand(const std::vector<std::string>& args,
                  const std::optional<std::string>& sourceDateEpoch, std::ostream& out,
                  std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return kExitGenerated;
    }
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << kUsage;
        return kExitUsage;
    }
    std::optional<std::time_t> fixedTime;
    if (sourceDateEpoch) {
        fixedTime = parseEpoch(*sourceDateEpoch);
        if (!fixedTime) {
            err << "pairweb-gen: SOURCE_DATE_EPOCH must be a whole number of seconds, not \""
                << *sourceDateEpoch << "\"\n";
            return kExitUsage;
        }
    }
    settings::Settings s;
    switch (settings::readSettingsFile(args[0], s)) {
        case settings::LoadResult::Loaded:
            break;
        case settings::LoadResult::Missing:
            err << "pairweb-gen: " << args[0] << ": "
                << settings::kMissingSettingsFileMessage << "\n";
            return kExitUsage;
        case settings::LoadResult::Unreadable:
            err << "pairweb-gen: " << args[0] << ": the settings file cannot be read\n";
            return kExitUsage;
    }
    GenPlatform platform(fixedTime);
    const std::string message = site::generateSite(s, platform);
    out << message << "\n";
    return message == site::kGenerated ? kExitGenerated : kExitRunFailed;
}

}  // namespace pairweb::cli

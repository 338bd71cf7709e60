#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pairweb::cli {

// Exit statuses of pairweb-gen.
constexpr int kExitGenerated = 0;
constexpr int kExitRunFailed = 1;   // the run ended with any other message
constexpr int kExitUsage = 2;       // bad arguments or an unreadable settings file
constexpr int kExitNotPublished = 3;  // generated, but the publish failed

// Reads the new admin password (one line); nothing at the end of the input.
using ReadPassword = std::function<std::optional<std::string>()>;

// Runs pairweb-gen with its arguments (without the program name). sourceDateEpoch, when set,
// is the generation time in seconds since 1970. The run's message goes to out, usage and
// settings-file errors to err. With --watch, runs until stop becomes true. With
// --admin-password, readPassword gives the password (standard input when not given).
int runGenCommand(const std::vector<std::string>& args,
                  const std::optional<std::string>& sourceDateEpoch, std::ostream& out,
                  std::ostream& err, const std::atomic<bool>& stop,
                  const ReadPassword& readPassword = {});

}  // namespace pairweb::cli

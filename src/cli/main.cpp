// pairweb-gen: builds a tournament's web site from a settings file, without the desktop app.
#include <cstdlib>
#include <iostream>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "cli/gen_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    return pairweb::cli::runGenCommand(args, epoch ? std::optional<std::string>(epoch)
                                                   : std::nullopt,
                                       std::cout, std::cerr);
}

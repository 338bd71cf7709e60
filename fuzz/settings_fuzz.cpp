// Any bytes as a settings file: read it, write it back and read that: the same settings must
// come back (whatever the reader takes, the writer keeps).
#include "fuzz_file.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pairweb::settings;
    const std::string path = writeFuzzInput("settings.cfg", data, size);
    Settings first;
    if (readSettingsFile(path, first).ok()) {
        Settings second;
        second.Disclaimer = "not read";  // every key is written, so every value is replaced
        applySettingsText(settingsFileText(first), second);
        if (!(first == second)) __builtin_trap();
    }
    std::remove(path.c_str());
    return 0;
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

// The readers take paths, so each input is written to a file of its own first (in shared
// memory when the system has it, so the fuzzer is not slowed by the disk).
inline std::string writeFuzzInput(const char* name, const std::uint8_t* data, std::size_t size) {
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    const std::string path = folder + "/pairweb-fuzz-" + std::to_string(getpid()) + "-" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

#include "data/table_check.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace pairweb::data {

bool tableIsComplete(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    unsigned char header[12] = {};
    const bool read = std::fread(header, 1, sizeof header, f) == sizeof header;
    std::fclose(f);
    if (!read) {
        return false;
    }
    const std::uint64_t count = header[4] | (header[5] << 8) | (header[6] << 16) |
                                (static_cast<std::uint64_t>(header[7]) << 24);
    const std::uint64_t headerLength = header[8] | (header[9] << 8);
    const std::uint64_t recordLength = header[10] | (header[11] << 8);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return !ec && size >= headerLength + count * recordLength;
}

}  // namespace pairweb::data

#include "data/table_check.h"

#include <cstdint>

#include "data/dbf_table.h"

namespace pairweb::data {

bool tableIsComplete(const std::string& path, const platform::Platform& files) {
    std::string bytes;
    if (!files.readFile(path, bytes, DbfTable::kMaxFileBytes) || bytes.size() < 12) {
        return false;
    }
    const auto byte = [&](std::size_t k) {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[k]));
    };
    const std::uint64_t count = byte(4) | (byte(5) << 8) | (byte(6) << 16) | (byte(7) << 24);
    const std::uint64_t headerLength = byte(8) | (byte(9) << 8);
    const std::uint64_t recordLength = byte(10) | (byte(11) << 8);
    return bytes.size() >= headerLength + count * recordLength;
}

}  // namespace pairweb::data

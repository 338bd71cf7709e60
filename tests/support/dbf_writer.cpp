#include "support/dbf_writer.h"

#include <fstream>

namespace pairweb::testing {

int DbfWriter::recordLength() const {
    int length = 1;
    for (const DbfColumn& c : m_columns) {
        length += c.length;
    }
    return length;
}

void DbfWriter::addRecord(const std::vector<std::string>& values, bool deleted) {
    std::string record(1, deleted ? '*' : ' ');
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const DbfColumn& c = m_columns[i];
        std::string v = i < values.size() ? values[i] : std::string();
        const auto length = static_cast<std::size_t>(c.length);
        if (v.size() > length) {
            v.resize(length);
        }
        if (c.type == 'N') {
            record += std::string(length - v.size(), ' ') + v;
        } else {
            record += v + std::string(length - v.size(), ' ');
        }
    }
    m_records.push_back(std::move(record));
}

std::string DbfWriter::bytes() const {
    std::string out(32, '\0');
    const auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<char>(v & 0xFF);
        out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    };
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = static_cast<char>(version);
    out[1] = 126;  // last update: 2026-12-08
    out[2] = 12;
    out[3] = 8;
    put32(4, recordCountOverride.value_or(static_cast<std::uint32_t>(m_records.size())));
    const auto header = static_cast<std::uint32_t>(32 * (m_columns.size() + 1) + 1);
    put16(8, headerLengthOverride.value_or(static_cast<std::uint16_t>(header)));
    put16(10, recordLengthOverride.value_or(static_cast<std::uint16_t>(recordLength())));
    for (const DbfColumn& c : m_columns) {
        std::string d(32, '\0');
        d.replace(0, std::min<std::size_t>(c.name.size(), 10), c.name.substr(0, 10));
        d[11] = c.type;
        d[16] = static_cast<char>(c.length);
        d[17] = static_cast<char>(c.decimals);
        out += d;
    }
    out += '\x0D';
    for (const std::string& r : m_records) {
        out += r;
    }
    out += '\x1A';
    return out;
}

bool DbfWriter::save(const std::string& path) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string data = bytes();
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(file);
}

std::vector<DbfColumn> playersColumns() {
    return {{"ORDER", 'N', 5, 0},     {"ID", 'N', 5, 0},       {"SURNAME", 'C', 25, 0},
            {"FIRSTNAME", 'C', 25, 0}, {"FEDER", 'C', 4, 0},   {"CLUB", 'C', 30, 0},
            {"INTL_RTG", 'N', 4, 0},  {"LOC_RTG", 'N', 4, 0}, {"TITLE", 'C', 3, 0}};
}

std::vector<DbfColumn> gamesColumns() {
    return {{"ROUND", 'N', 3, 0},   {"WHITE", 'N', 5, 0},  {"BLACK", 'N', 5, 0},
            {"W_SCORE", 'N', 3, 0}, {"B_SCORE", 'N', 3, 0}, {"W_TYPE", 'N', 3, 0},
            {"B_TYPE", 'N', 2, 0}};
}

}  // namespace pairweb::testing

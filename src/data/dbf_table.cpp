#include "data/dbf_table.h"

#include <charconv>
#include <cstring>
#include <iostream>

namespace pairweb::data {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;

std::uint32_t readU32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

std::uint16_t readU16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Skips the leading blanks and an optional sign; true when the sign was a minus.
bool skipBlanksAndSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        return text[i++] == '-';
    }
    return false;
}

}  // namespace

std::int32_t parseDbfInteger(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    std::uint32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

double parseDbfReal(std::string_view text) {
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    const std::size_t start = i;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    double value = 0.0;
    const char* first = text.data() + start;
    const auto result = std::from_chars(first, text.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large for a double: the nearest representable extreme, like strtod.
        value = (first[0] == '0' || first[0] == '.') ? 0.0 : 1.7976931348623157e308;
    }
    return negative ? -value : value;
}

DbfTable::~DbfTable() { close(); }

bool DbfTable::open(const std::string& path, const platform::Platform& files) {
    close();
    if (path.size() > kMaxPathLength) {
        std::cerr << "File path too long : " << path << " \n";
        return false;
    }
    std::string bytes;
    if (!files.readFile(path, bytes, kMaxFileBytes)) {
        return false;
    }
    if (bytes.size() < kHeaderSize || bytes[0] != 3) {
        std::cerr << path << " is not a dBASE III file!\n";
        return false;
    }
    m_bytes = std::move(bytes);
    m_recordCount = readU32(m_bytes, 4);
    m_headerLength = readU16(m_bytes, 8);
    m_recordLength = readU16(m_bytes, 10);
    const int fieldCount = static_cast<int>(m_headerLength / kDescriptorSize) - 1;
    std::size_t offset = 1;
    for (int i = 1; i <= fieldCount; ++i) {
        const std::size_t at = kDescriptorSize * static_cast<std::size_t>(i);
        if (at + kDescriptorSize > m_bytes.size()) {
            break;  // the header claims more descriptors than the file holds
        }
        DbfField field;
        const char* name = m_bytes.data() + at;
        field.name.assign(name, strnlen(name, 11));
        field.type = m_bytes[at + 11];
        field.length = static_cast<std::uint8_t>(m_bytes[at + 16]);
        field.decimals = static_cast<std::uint8_t>(m_bytes[at + 17]);
        field.number = i;
        field.offset = offset;
        offset += field.length;
        m_fields.push_back(std::move(field));
    }
    return true;
}

std::size_t DbfTable::readAll() {
    if (m_bytes.empty() || m_allRead) {
        return 0;
    }
    // Records of length 0 hold not even a deletion mark: such a table has no records. Only
    // the records the file holds in full count, so a header count far beyond the file's
    // size costs nothing; records are found by their position, never listed.
    m_readCount = 0;
    if (m_recordLength > 0 && m_bytes.size() >= m_headerLength + std::size_t{m_recordLength}) {
        const std::size_t held = (m_bytes.size() - m_headerLength) / m_recordLength;
        m_readCount = static_cast<std::size_t>(std::min<std::uint64_t>(held, m_recordCount));
    }
    m_allRead = true;
    m_cursor = m_readCount;
    return m_readCount;
}

void DbfTable::moveFrom(std::size_t index) {
    m_cursor = index;
    while (m_cursor < m_readCount && deletedAt(m_cursor)) {
        ++m_cursor;
    }
}

void DbfTable::first() { moveFrom(0); }

void DbfTable::next() {
    if (m_cursor < m_readCount) {
        moveFrom(m_cursor + 1);
    }
}

bool DbfTable::hasCurrent() const { return m_cursor < m_readCount; }

const DbfField* DbfTable::findField(std::string_view name) const {
    for (const DbfField& f : m_fields) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

std::optional<std::string_view> DbfTable::rawField(std::string_view name) const {
    const DbfField* field = findField(name);
    if (!hasCurrent() || field == nullptr) {
        return std::nullopt;
    }
    const std::string_view record(m_bytes.data() + recordStart(m_cursor), m_recordLength);
    const std::size_t offset = std::min<std::size_t>(field->offset, m_recordLength);
    return record.substr(offset, field->length);
}

DbfValue DbfTable::value(std::string_view name) const {
    if (!hasCurrent()) {
        return {};
    }
    const DbfField* field = findField(name);
    if (field == nullptr) {
        return {};
    }
    // A field never reads past its record, whatever its offset, length and decimals claim.
    const std::size_t start = recordStart(m_cursor);
    const std::size_t offset = std::min<std::size_t>(field->offset, m_recordLength);
    const std::size_t available = m_recordLength - offset;
    const std::string_view record(m_bytes.data() + start, m_recordLength);
    switch (field->type) {
        case 'C':
        case 'D': {
            const std::size_t wanted =
                static_cast<std::size_t>(field->length) + 256u * field->decimals;
            std::string_view text = record.substr(offset, std::min(wanted, available));
            if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
                text = text.substr(0, nul);
            }
            return std::string(text);
        }
        case 'N': {
            const std::string_view digits =
                record.substr(offset, std::min<std::size_t>(field->length, available));
            if (field->decimals == 0) {
                return parseDbfInteger(digits);
            }
            return parseDbfReal(digits);
        }
        case 'L':
            return std::int32_t{0};
        default:
            return {};
    }
}

void DbfTable::close() {
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_recordCount = 0;
    m_headerLength = 0;
    m_recordLength = 0;
    m_fields.clear();
    m_readCount = 0;
    m_allRead = false;
    m_cursor = 0;
}

}  // namespace pairweb::data

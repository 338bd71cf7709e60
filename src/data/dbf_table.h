#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace pairweb::data {

// One column of a dBASE III table, as its descriptor gives it.
struct DbfField {
    std::string name;         // up to 10 characters, ends at the first NUL
    char type = 0;            // 'C' character, 'D' date, 'N' numeric, 'L' logical
    std::uint8_t length = 0;  // bytes in the record
    std::uint8_t decimals = 0;
    int number = 0;           // 1 to the field count
    std::size_t offset = 0;   // from the start of the record; the first field starts at 1
};

// Converted value of one field: none, a text, a 32-bit integer or a real.
using DbfValue = std::variant<std::monostate, std::string, std::int32_t, double>;

// Reads a whole dBASE III table into memory and hands out field values of the record under
// the cursor. The file is opened for reading only, so read-only tables and shares work.
// Whatever the header claims, nothing is read outside the file's bytes, and the memory held
// is the file's size (at most kMaxFileBytes) whatever the record count.
class DbfTable {
public:
    DbfTable() = default;
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;
    ~DbfTable();

    // Longest path accepted by open.
    static constexpr std::size_t kMaxPathLength = 256;
    // Largest table accepted by open; real tournaments' tables hold a few hundred kilobytes.
    static constexpr std::size_t kMaxFileBytes = 16u * 1024 * 1024;

    // Opens the table and reads its header and field directory; false on failure: a file
    // that cannot be opened, or read to its end, or that is larger than kMaxFileBytes (with
    // a message on standard error for an over-long path or a wrong version byte).
    [[nodiscard]] bool open(const std::string& path,
                            const platform::Platform& files = platform::systemPlatform());
    // Reads the records; the number read, 0 when nothing is open or all were read already.
    std::size_t readAll();
    // Cursor on the first record not marked deleted (none if there is none).
    void first();
    // Cursor on the following record not marked deleted (none at the end).
    void next();
    bool hasCurrent() const;
    // Value of the named field (exact, case-sensitive name) of the current record.
    DbfValue value(std::string_view name) const;
    // The bytes of the named field of the current record as they stand, whatever the field's
    // kind (some numeric columns hold texts such as "0.5"); nothing when there is no such
    // field or no current record.
    std::optional<std::string_view> rawField(std::string_view name) const;
    bool hasField(std::string_view name) const { return findField(name) != nullptr; }
    // Closes the file and drops everything held; harmless when nothing is open.
    void close();

    // Record count as the header states it (may exceed the records the file holds).
    std::uint32_t recordCount() const { return m_recordCount; }
    // Replaces the header's record count before readAll (the players table takes 0 as 26).
    void setRecordCount(std::uint32_t count) { m_recordCount = count; }
    const std::vector<DbfField>& fields() const { return m_fields; }

private:
    void moveFrom(std::size_t index);
    const DbfField* findField(std::string_view name) const;
    std::size_t recordStart(std::size_t index) const {
        return m_headerLength + index * m_recordLength;
    }
    bool deletedAt(std::size_t index) const { return m_bytes[recordStart(index)] == '*'; }

    std::string m_bytes;  // the whole file, read at open
    std::uint32_t m_recordCount = 0;
    std::uint16_t m_headerLength = 0;
    std::uint16_t m_recordLength = 0;
    std::vector<DbfField> m_fields;
    std::size_t m_readCount = 0;  // records read by readAll, all held in full by m_bytes
    bool m_allRead = false;
    std::size_t m_cursor = 0;  // record index from 0; == m_readCount means none
};

// The integer a dBASE numeric field holds: leading blanks, an optional sign, then digits up
// to the first other character; no digits gives 0. Wraps modulo 2^32.
std::int32_t parseDbfInteger(std::string_view text);

// The real a dBASE numeric field holds: as parseDbfInteger, with an optional fraction and
// exponent; no digits gives 0.
double parseDbfReal(std::string_view text);

}  // namespace pairweb::data

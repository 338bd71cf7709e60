#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pairweb::testing {

// One column of a table to write.
struct DbfColumn {
    std::string name;
    char type = 'C';
    int length = 10;
    int decimals = 0;
};

// Builds dBASE III tables for tests and sample files. Values are given as text: C fields
// are padded with blanks on the right, N fields on the left; a raw record is written as is.
// The header fields can be overridden to build broken tables.
class DbfWriter {
public:
    explicit DbfWriter(std::vector<DbfColumn> columns) : m_columns(std::move(columns)) {}

    // A record of formatted values, one per column (missing values are blank).
    void addRecord(const std::vector<std::string>& values, bool deleted = false);
    // A record given byte for byte, deletion mark included.
    void addRawRecord(std::string bytes) { m_records.push_back(std::move(bytes)); }

    std::optional<std::uint32_t> recordCountOverride;
    std::optional<std::uint16_t> headerLengthOverride;
    std::optional<std::uint16_t> recordLengthOverride;
    std::uint8_t version = 3;

    int recordLength() const;
    std::string bytes() const;
    // Writes the table; false on failure.
    bool save(const std::string& path) const;

private:
    std::vector<DbfColumn> m_columns;
    std::vector<std::string> m_records;
};

// Columns of a players table as the pairing program writes them (the ones the loaders read).
std::vector<DbfColumn> playersColumns();
// Columns of a games table.
std::vector<DbfColumn> gamesColumns();

}  // namespace pairweb::testing

#include "data/dbf_table.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "support/dbf_writer.h"
#include "support/test_env.h"

namespace pairweb::data {
namespace {

using namespace std::string_view_literals;
using namespace std::string_literals;
using testing::DbfColumn;
using testing::DbfWriter;
using testing::TempDir;
using testing::writeFile;

std::string textOf(const DbfValue& v) {
    const auto* s = std::get_if<std::string>(&v);
    return s ? *s : "<not text>";
}

std::int32_t intOf(const DbfValue& v) {
    const auto* i = std::get_if<std::int32_t>(&v);
    return i ? *i : -999999;
}

// Captures what the reader writes to standard error while alive.
class CaptureStderr {
public:
    CaptureStderr() : m_old(std::cerr.rdbuf(m_buffer.rdbuf())) {}
    ~CaptureStderr() { std::cerr.rdbuf(m_old); }
    std::string text() const { return m_buffer.str(); }

private:
    std::ostringstream m_buffer;
    std::streambuf* m_old;
};

TEST(DbfNumberTest, IntegersComeFromLeadingDigitsOnly) {
    const struct {
        std::string_view text;
        std::int32_t expected;
    } cases[] = {
        {"   12"sv, 12},        {"  -3"sv, -3},      {"     "sv, 0},
        {""sv, 0},              {"14\0\x03"sv, 14},  {"+7"sv, 7},
        {"\t5"sv, 0},           // only the blank is a leading blank
        {"12.5"sv, 12},         {"2147483647"sv, 2147483647},
        {"4294967297"sv, 1},    // wraps modulo 2^32
        {"-2147483648"sv, -2147483647 - 1},
        {" - 4"sv, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseDbfInteger(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(DbfNumberTest, RealsTakeFractionAndExponent) {
    const struct {
        std::string_view text;
        double expected;
    } cases[] = {
        {"  1.5"sv, 1.5},  {" -0.5"sv, -0.5}, {"   "sv, 0.0},   {"2."sv, 2.0},
        {".25"sv, 0.25},   {"1e2"sv, 100.0},  {"1e"sv, 1.0},    {"1e+"sv, 1.0},
        {"inf"sv, 0.0},    {"nan"sv, 0.0},    {"0x10"sv, 0.0},  {"3.5\0\x01"sv, 3.5},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(parseDbfReal(c.text), c.expected) << '"' << c.text << '"';
    }
}

class DbfTableTest : public ::testing::Test {
protected:
    std::string save(const DbfWriter& w, const std::string& name = "t.dbf") {
        const std::string path = dir / name;
        EXPECT_TRUE(w.save(path));
        return path;
    }
    TempDir dir;
};

TEST_F(DbfTableTest, ReadsFieldsOfEachKind) {
    DbfWriter w({{"NAME", 'C', 10, 0}, {"ORDER", 'N', 5, 0}, {"PTS", 'N', 5, 1},
                 {"BORN", 'D', 8, 0}, {"OK", 'L', 1, 0}, {"MEMO", 'M', 10, 0}});
    w.addRecord({"Smith", "12", "1.5", "20101231", "T", "x"});
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    EXPECT_EQ(t.readAll(), 1u);
    t.first();
    ASSERT_TRUE(t.hasCurrent());
    EXPECT_EQ(textOf(t.value("NAME")), "Smith     ");  // blanks are kept
    EXPECT_EQ(intOf(t.value("ORDER")), 12);
    EXPECT_DOUBLE_EQ(std::get<double>(t.value("PTS")), 1.5);
    EXPECT_EQ(textOf(t.value("BORN")), "20101231");
    EXPECT_EQ(intOf(t.value("OK")), 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(t.value("MEMO")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(t.value("order")));  // case matters
    EXPECT_TRUE(std::holds_alternative<std::monostate>(t.value("NOPE")));
    EXPECT_EQ(t.readAll(), 0u);  // already read
}

TEST_F(DbfTableTest, CharacterFieldEndsAtNul) {
    DbfWriter w({{"NAME", 'C', 8, 0}});
    w.addRawRecord(" Ann\0Bob "s);
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    t.readAll();
    t.first();
    EXPECT_EQ(textOf(t.value("NAME")), "Ann");
}

TEST_F(DbfTableTest, CursorSkipsDeletedRecords) {
    DbfWriter w({{"ID", 'N', 3, 0}});
    w.addRecord({"1"}, true);
    w.addRecord({"2"});
    w.addRecord({"3"}, true);
    w.addRecord({"4"}, true);
    w.addRecord({"5"});
    w.addRecord({"6"}, true);
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    EXPECT_EQ(t.readAll(), 6u);
    std::vector<int> seen;
    for (t.first(); t.hasCurrent(); t.next()) {
        seen.push_back(intOf(t.value("ID")));
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 5}));
    t.next();  // harmless past the end
    EXPECT_FALSE(t.hasCurrent());
}

TEST_F(DbfTableTest, OffsetsFollowTheDirectory) {
    // Header length 97: two descriptors and the terminator.
    DbfWriter w({{"A", 'C', 3, 0}, {"B", 'N', 4, 0}});
    w.addRecord({"xyz", "77"});
    ASSERT_EQ(w.bytes()[8], 97);
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    ASSERT_EQ(t.fields().size(), 2u);
    EXPECT_EQ(t.fields()[0].offset, 1u);
    EXPECT_EQ(t.fields()[1].offset, 4u);
    EXPECT_EQ(t.fields()[1].number, 2);
    t.readAll();
    t.first();
    EXPECT_EQ(intOf(t.value("B")), 77);
}

TEST_F(DbfTableTest, PathLengthLimitIs256) {
    CaptureStderr captured;
    DbfTable t;
    const std::string base = dir.path() + "/";
    const std::string accepted = base + std::string(256 - base.size(), 'a');
    ASSERT_EQ(accepted.size(), 256u);
    EXPECT_FALSE(t.open(accepted));  // accepted but missing: no message
    EXPECT_EQ(captured.text(), "");
    const std::string refused = accepted + "b";
    EXPECT_FALSE(t.open(refused));
    EXPECT_EQ(captured.text(), "File path too long : " + refused + " \n");
}

TEST_F(DbfTableTest, RefusesOtherVersions) {
    DbfWriter w({{"A", 'C', 3, 0}});
    w.version = 0x83;
    const std::string path = save(w);
    CaptureStderr captured;
    DbfTable t;
    EXPECT_FALSE(t.open(path));
    EXPECT_EQ(captured.text(), path + " is not a dBASE III file!\n");
    EXPECT_EQ(t.readAll(), 0u);
    t.first();
    EXPECT_FALSE(t.hasCurrent());
}

TEST_F(DbfTableTest, MissingFileFailsSilently) {
    CaptureStderr captured;
    DbfTable t;
    EXPECT_FALSE(t.open(dir / "absent.dbf"));
    EXPECT_EQ(captured.text(), "");
    EXPECT_EQ(t.readAll(), 0u);
}

TEST_F(DbfTableTest, HeaderWithoutDescriptorsHasNoFields) {
    DbfWriter w({{"A", 'C', 3, 0}});
    w.headerLengthOverride = 40;
    w.addRecord({"abc"});
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    EXPECT_TRUE(t.fields().empty());
}

// Tables no careful program writes: the reader must stay inside the file's bytes.
TEST_F(DbfTableTest, FieldClaimingMoreThanTheRecordIsCut) {
    DbfWriter w({{"NAME", 'C', 4, 0}, {"NUM", 'N', 2, 0}});
    w.addRecord({"abcd", "12"});
    w.addRecord({"wxyz", "34"});
    std::string bytes = w.bytes();
    bytes[32 + 16] = static_cast<char>(200);  // NAME claims 200 bytes
    bytes[32 + 17] = static_cast<char>(3);    // and 3 decimals: 968 bytes as a text
    writeFile(dir / "t.dbf", bytes);
    DbfTable t;
    ASSERT_TRUE(t.open(dir / "t.dbf"));
    EXPECT_EQ(t.readAll(), 2u);
    t.first();
    EXPECT_EQ(textOf(t.value("NAME")), "abcd12");  // up to the record's end only
    // NUM's offset now lies past the record: it reads as an empty field.
    EXPECT_EQ(intOf(t.value("NUM")), 0);
}

TEST_F(DbfTableTest, HugeRecordCountReadsOnlyWhatTheFileHolds) {
    DbfWriter w({{"ID", 'N', 3, 0}});
    w.addRecord({"1"});
    w.addRecord({"2"});
    w.recordCountOverride = 0xFFFFFFFFu;
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    EXPECT_EQ(t.readAll(), 2u);
}

TEST_F(DbfTableTest, RecordLengthZeroGivesNoRecords) {
    DbfWriter w({{"ID", 'N', 3, 0}});
    w.addRecord({"1"});
    w.recordLengthOverride = 0;
    w.recordCountOverride = 4000000000u;
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    EXPECT_EQ(t.readAll(), 0u);
    t.first();
    EXPECT_FALSE(t.hasCurrent());
}

TEST_F(DbfTableTest, DescriptorsBeyondTheFileAreNotRead) {
    DbfWriter w({{"ID", 'N', 3, 0}});
    w.headerLengthOverride = 0xFFFF;  // 2046 descriptors claimed
    DbfTable t;
    ASSERT_TRUE(t.open(save(w)));
    EXPECT_EQ(t.fields().size(), 1u);
    EXPECT_EQ(t.readAll(), 0u);
}

TEST_F(DbfTableTest, TruncatedFilesNeverCrash) {
    DbfWriter w({{"NAME", 'C', 5, 0}, {"ID", 'N', 3, 0}});
    w.addRecord({"Ann", "1"});
    w.addRecord({"Bob", "2"});
    const std::string full = w.bytes();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        writeFile(dir / "cut.dbf", full.substr(0, cut));
        CaptureStderr quiet;
        DbfTable t;
        if (!t.open(dir / "cut.dbf")) {
            continue;
        }
        const std::size_t read = t.readAll();
        EXPECT_LE(read, 2u);
        for (t.first(); t.hasCurrent(); t.next()) {
            (void)t.value("NAME");
            (void)t.value("ID");
        }
    }
}

TEST_F(DbfTableTest, CloseIsHarmlessAndReopenWorks) {
    DbfTable t;
    t.close();
    DbfWriter w({{"ID", 'N', 3, 0}});
    w.addRecord({"9"});
    const std::string path = save(w);
    ASSERT_TRUE(t.open(path));
    ASSERT_TRUE(t.open(path));  // opening again closes first
    t.readAll();
    t.first();
    EXPECT_EQ(intOf(t.value("ID")), 9);
    t.close();
    EXPECT_FALSE(t.hasCurrent());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(t.value("ID")));
}

}  // namespace
}  // namespace pairweb::data

#include "platform/file_ops.h"

#include <gtest/gtest.h>


#include "platform/platform.h"
#include "support/test_env.h"

namespace pairweb::platform {
namespace {


TEST(FileOpsTest, LongestNameTheFileSystemTakesIsWritable) {
    testing::TempDir dir;
    const std::string name(255, 'n');
    ASSERT_TRUE(writeFileReplacing(dir / name, "replaced"));
    EXPECT_TRUE(writeFileReplacing(dir / name, "again"));
    EXPECT_EQ(writeFileIfAbsent(dir / (name.substr(1) + "x"), "created"), CreateResult::Created);
    EXPECT_EQ(testing::readFile(dir / name), "again");
    EXPECT_EQ(testing::filesIn(dir.path()).size(), 2u);  // no temporary file left
}

// What every system's implementation must give the program alike.
TEST(FileOpsTest, ContractOnEverySystem) {
    testing::TempDir dir;
    const std::string folder = dir / "Turnier K\xC3\xB6ln";  // a UTF-8 name
    ASSERT_TRUE(createDirectory(folder));
    const std::string page = folder + pathSeparator() + "seite.html";
    ASSERT_TRUE(writeFileReplacing(page, "one"));
    EXPECT_TRUE(writeFileReplacing(page, "two"));
    EXPECT_EQ(writeFileIfAbsent(page, "three"), CreateResult::AlreadyExists);
    std::string content;
    ASSERT_TRUE(readWholeFile(page, content, 100));
    EXPECT_EQ(content, "two");
    EXPECT_FALSE(readWholeFile(page, content, 2));  // larger than allowed
    EXPECT_EQ(listPlainFiles(folder), std::vector<std::string>{"seite.html"});
    // A trailing separator names a folder: a file of that name does not count.
    EXPECT_TRUE(pathExists(folder + pathSeparator()));
    EXPECT_FALSE(pathExists(page + pathSeparator()));
    EXPECT_TRUE(pathExists(page));
    EXPECT_FALSE(canOpenForReading(folder));
    EXPECT_TRUE(canOpenForReading(page));
    // A folder in the way of a file is a failure, never a success.
    EXPECT_FALSE(writeFileReplacing(folder, "x"));
    const std::string program = SystemPlatform().programPath();
    EXPECT_NE(program.find("platform_tests"), std::string::npos) << program;
}

}  // namespace
}  // namespace pairweb::platform

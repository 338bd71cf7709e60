#include "cli/gen_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::cli {
namespace {

using testing::readFile;
using testing::writeFile;

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result gen(const std::vector<std::string>& args,
           const std::optional<std::string>& epoch = std::nullopt) {
    std::ostringstream out;
    std::ostringstream err;
    const std::atomic<bool> stop{false};
    const int status = runGenCommand(args, epoch, out, err, stop);
    return {status, out.str(), err.str()};
}

TEST(GenCommandTest, HelpAndUsage) {
    const Result help = gen({"--help"});
    EXPECT_EQ(help.status, kExitGenerated);
    EXPECT_EQ(help.out.rfind("Usage: pairweb-gen SETTINGS_FILE\n", 0), 0u);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"a.cfg", "b.cfg"}, {"--watch-me"}, {""}}) {
        const Result r = gen(args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("Usage: pairweb-gen", 0), 0u);
    }
}

TEST(GenCommandTest, UnreadableSettingsFileIsAUsageError) {
    testing::TempDir dir;
    const Result missing = gen({dir / "none.cfg"});
    EXPECT_EQ(missing.status, kExitUsage);
    EXPECT_EQ(missing.err, "pairweb-gen: " + (dir / "none.cfg") +
                               ": That preference file does not exist!\n");
    const Result folder = gen({dir.path()});
    EXPECT_EQ(folder.status, kExitUsage);
    EXPECT_EQ(folder.out, "");
}

TEST(GenCommandTest, MissingTrnFilePrintsTheDriverMessage) {
    testing::TempDir dir;
    writeFile(dir / "s.cfg", "strFilename [" + (dir / "none.trn") + "]\r\nOutputIndex [" +
                                 (dir / "index.html") + "]\r\n");
    const Result r = gen({dir / "s.cfg"});
    EXPECT_EQ(r.status, kExitRunFailed);
    EXPECT_EQ(r.out, "Error: please select a valid .trn file.\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);  // only the settings file
}

TEST(GenCommandTest, GeneratesWithSourceDateEpoch) {
    testing::useUtc();
    testing::TempDir dir;
    ASSERT_TRUE(testing::writeTournament(dir / "e", testing::smallEventPlayers(),
                                         testing::smallEventGames()));
    writeFile(dir / "s.cfg", "strFilename [" + (dir / "e.trn") + "]\nOutputIndex [" +
                                 (dir / "index.html") + "]\n");
    const Result r = gen({dir / "s.cfg"}, "1796652309");
    EXPECT_EQ(r.status, kExitGenerated);
    EXPECT_EQ(r.out, "Web page generated!\n");
    const std::string page = readFile(dir / "player_list.html");
    EXPECT_NE(page.find(" on Mon Dec 07 14:05:09 2026\r\n</p></body></html>\r\n"),
              std::string::npos);
    const Result bad = gen({dir / "s.cfg"}, "yesterday");
    EXPECT_EQ(bad.status, kExitUsage);
}

}  // namespace
}  // namespace pairweb::cli

namespace pairweb::cli {
namespace {

// --admin-password: the password from the reader, the message and the exit status of the
// password command; the real hash is checked where the platform's cryptography is.
TEST(GenCommandTest, AdminPasswordWritesTheHashOrRefuses) {
    testing::TempDir dir;
    std::filesystem::create_directories(std::filesystem::path(dir / "site"));
    writeFile(dir / "s.cfg", "OutputIndex [" + (dir / "site/index.html") + "]\r\n");
    const auto run = [&](std::optional<std::string> password) {
        std::ostringstream out;
        std::ostringstream err;
        const std::atomic<bool> stop{false};
        const int status = runGenCommand({"--admin-password", dir / "s.cfg"}, std::nullopt, out,
                                         err, stop, [password] { return password; });
        return Result{status, out.str(), err.str()};
    };
    const Result shortOne = run("seven77");
    EXPECT_EQ(shortOne.status, kExitRunFailed);
    EXPECT_EQ(shortOne.out, "Error: the admin password must have at least 8 characters.\n");
    EXPECT_FALSE(testing::fileExists(dir / "site/pgn/admin_password.php"));
    EXPECT_EQ(run(std::nullopt).status, kExitUsage);
    const Result set = run("correct horse");
    EXPECT_EQ(set.status, kExitGenerated);
    EXPECT_EQ(set.out, "Admin password set in " + (dir / "site/pgn/admin_password.php") + "\n");
    EXPECT_NE(readFile(dir / "site/pgn/admin_password.php").find("'iterations' => 600000"),
              std::string::npos);
}

}  // namespace
}  // namespace pairweb::cli

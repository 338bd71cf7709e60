// The real pairweb-gen on every system: what it refuses, warns about and how it exits.
#include <gtest/gtest.h>

#include <filesystem>

#include "site/driver.h"
#include "support/process.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::cli {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;
using testing::readFile;
using testing::writeFile;

class ExecutableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(fs::path(dir / "site"));
        ASSERT_TRUE(testing::writeTournament(dir / "event", testing::smallEventPlayers(),
                                             testing::smallEventGames()));
    }
    std::string settingsFor(const std::string& trn, const std::string& more = "") const {
        return "strFilename [" + trn + "]\r\nOutputIndex [" + (dir / "site/index.html") + "]\r\n" +
               more;
    }
    ProcessResult gen(const std::string& settingsFile) const {
        testing::ProcessOptions options;
        options.args = {testing::pairwebGenPath(), settingsFile};
        return testing::runProcess(options);
    }
    testing::TempDir dir;
};

TEST_F(ExecutableTest, RunsEndWithTheirMessageAndExitStatus) {
    writeFile(dir / "fine.cfg", settingsFor(dir / "event.trn"));
    writeFile(dir / "none.cfg", settingsFor(dir / "none.trn"));
    writeFile(dir / "prefix.cfg", settingsFor(dir / "event.trn", "FnamePrefix [../x]\r\n"));
    // Over the bounds: a settings file over 1 MiB, a table over 16 MiB.
    writeFile(dir / "big.cfg", settingsFor(dir / "event.trn") + std::string(1 << 20, ' '));
    writeFile(dir / "big.trn", readFile(dir / "event.trn") + std::string(16 << 20, ' '));
    fs::copy_file(fs::path(dir / "event.sco"), fs::path(dir / "big.sco"));
    writeFile(dir / "bigtable.cfg", settingsFor(dir / "big.trn"));
    const struct {
        std::string file;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {dir / "fine.cfg", 0, "Web page generated!\n", ""},
        {dir / "none.cfg", 1, "Error: please select a valid .trn file.\n", ""},
        {dir / "prefix.cfg", 1,
         "Error: the file name prefix \"../x\" may not contain \"/\", \"\\\" or a NUL byte.\n", ""},
        {dir / "big.cfg", 2, "",
         "pairweb-gen: " + (dir / "big.cfg") + ": the settings file cannot be read\n"},
        {dir / "bigtable.cfg", 1, std::string(site::kCannotOpenTrn) + "\n", ""},
    };
    for (const auto& c : cases) {
        const ProcessResult r = gen(c.file);
        ASSERT_FALSE(r.timedOut) << c.file;
        EXPECT_EQ(r.exitStatus, c.status) << c.file;
        EXPECT_EQ(r.out, c.out) << c.file;
        EXPECT_EQ(r.err, c.err) << c.file;
    }
}

TEST_F(ExecutableTest, SkippedRowsAreCountedOnStandardError) {
    std::vector<testing::PlayerRow> players = testing::numberedPlayers(4);
    players[2].id = 400;
    players[3].id = -1;
    std::vector<testing::GameRow> games = {
        {1, 1, 2, 2, 0}, {0, 1, 2, 2, 0}, {41, 1, 2, 2, 0}, {41, 2, 1, 2, 0}, {99, 1, 2, 1, 1}};
    for (int b = 0; b < 202; ++b) games.push_back({2, 1, 2, 1, 1});
    ASSERT_TRUE(testing::writeTournament(dir / "odd", players, games));
    writeFile(dir / "o.cfg", settingsFor(dir / "odd.trn"));
    const ProcessResult r = gen(dir / "o.cfg");
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, "Web page generated!\n");
    EXPECT_EQ(r.err,
              "warning: 4 games-table rows with a round outside 1-40 were skipped\n"
              "warning: 2 pairings beyond the 200th board of a round were skipped\n"
              "warning: 2 players with an id outside 0-399 were skipped\n");
}

}  // namespace
}  // namespace pairweb::cli

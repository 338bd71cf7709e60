// pairweb-gen against hostile input and an impatient user: the real executable, every wait
// bounded in time.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <thread>

#include "site/driver.h"
#include "support/process.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::cli {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;
using testing::ProcessSpec;
using testing::readFile;
using testing::writeFile;

class RobustnessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir / "site");
        ASSERT_TRUE(testing::writeTournament(dir / "event", testing::smallEventPlayers(),
                                             testing::smallEventGames()));
    }
    std::string settingsFor(const std::string& trn) const {
        return "strFilename [" + trn + "]\r\nOutputIndex [" + (dir / "site/index.html") + "]\r\n";
    }
    ProcessResult gen(const std::string& settingsFile, ProcessSpec spec = {}) const {
        spec.args = {PAIRWEB_GEN_PATH, settingsFile};
        return testing::runProcess(spec);
    }
    testing::TempDir dir;
};

TEST_F(RobustnessTest, EndlessOrHugeInputIsRefused) {
    // Settings files: endless, one byte over 1 MiB.
    writeFile(dir / "big.cfg", settingsFor(dir / "event.trn") + std::string(1024 * 1024, ' '));
    for (const std::string& file : {std::string("/dev/zero"), dir / "big.cfg"}) {
        const ProcessResult r = gen(file);
        ASSERT_FALSE(r.timedOut) << file;
        EXPECT_EQ(r.exitStatus, 2) << file;
        EXPECT_EQ(r.err, "pairweb-gen: " + file + ": the settings file cannot be read\n");
    }
    // Tables: endless, one byte over 16 MiB.
    fs::create_symlink("/dev/zero", dir / "zero.trn");
    fs::copy_file(dir / "event.sco", dir / "zero.sco");
    writeFile(dir / "big.trn", readFile(dir / "event.trn") + std::string(16 << 20, ' '));
    fs::copy_file(dir / "event.sco", dir / "big.sco");
    for (const std::string& trn : {dir / "zero.trn", dir / "big.trn"}) {
        writeFile(dir / "t.cfg", settingsFor(trn));
        const ProcessResult r = gen(dir / "t.cfg");
        ASSERT_FALSE(r.timedOut) << trn;
        EXPECT_EQ(r.exitStatus, 1) << trn;
        EXPECT_EQ(r.out, std::string(site::kCannotOpenTrn) + "\n") << trn;
    }
    // A pipe that delivers a normal settings file works.
    ASSERT_EQ(mkfifo((dir / "fifo.cfg").c_str(), 0600), 0);
    std::thread writer([&] { writeFile(dir / "fifo.cfg", settingsFor(dir / "event.trn")); });
    const ProcessResult piped = gen(dir / "fifo.cfg");
    writer.join();
    EXPECT_EQ(piped.exitStatus, 0);
    EXPECT_EQ(piped.out, "Web page generated!\n");
}

TEST_F(RobustnessTest, SignalsEndAPlainRunPromptly) {
    // Waiting for a settings file that never comes: the program must not outlive the signal.
    ASSERT_EQ(mkfifo((dir / "never.cfg").c_str(), 0600), 0);
    for (const int signal : {SIGINT, SIGTERM}) {
        ProcessSpec spec;
        spec.timeoutMs = 10000;
        spec.interruptSignal = signal;
        spec.interruptAfterMs = 300;
        const ProcessResult r = gen(dir / "never.cfg", spec);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitStatus, 128 + signal);
        EXPECT_LT(r.elapsedMs, 5000);
    }
}

TEST_F(RobustnessTest, MemoryStaysBoundedWhateverTheRecordCount) {
    if (testing::kSanitizedBuild) {
        GTEST_SKIP() << "memory limits do not apply under AddressSanitizer's shadow memory";
    }
    // A players table of 16 MiB in one-byte records: no columns, so no players.
    const std::uint32_t records = (16u << 20) - 33;
    std::string table(32, '\0');
    table[0] = 3;
    for (int i = 0; i < 4; ++i) table[4 + i] = static_cast<char>(records >> (8 * i));
    table[8] = 33;
    table[10] = 1;
    table += '\r';
    table.append(records, ' ');
    writeFile(dir / "many.trn", table);
    fs::copy_file(dir / "event.sco", dir / "many.sco");
    writeFile(dir / "m.cfg", settingsFor(dir / "many.trn"));
    ProcessSpec spec;
    spec.dataLimitBytes = 64L << 20;
    const ProcessResult r = gen(dir / "m.cfg", spec);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Web page generated!\n");
}

TEST_F(RobustnessTest, SkippedRowsAreCountedOnStandardError) {
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

TEST(RealExecutableTest, RealExecutableReportsThroughExitStatus) {
    testing::TempDir dir;
    writeFile(dir / "s.cfg", "strFilename [" + (dir / "none.trn") + "]\n");
    const std::string command = std::string(PAIRWEB_GEN_PATH) + " '" + (dir / "s.cfg") + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[256] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    const int status = pclose(pipe);
    EXPECT_EQ(std::string(buffer, n), "Error: please select a valid .trn file.\n");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace pairweb::cli

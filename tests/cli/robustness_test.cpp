// pairweb-gen against hostile input and an impatient user: the real executable, every wait
// bounded in time.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

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
using testing::ProcessOptions;
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
    ProcessResult gen(const std::string& settingsFile, ProcessOptions options = {}) const {
        options.args = {testing::pairwebGenPath(), settingsFile};
        return testing::runProcess(options);
    }
    testing::TempDir dir;
};

TEST_F(RobustnessTest, EndlessInputIsRefused) {
    // An endless settings file, and an endless table (huge ones: executable_test.cpp).
    const ProcessResult settings = gen("/dev/zero");
    ASSERT_FALSE(settings.timedOut);
    EXPECT_EQ(settings.exitStatus, 2);
    EXPECT_EQ(settings.err, "pairweb-gen: /dev/zero: the settings file cannot be read\n");
    fs::create_symlink("/dev/zero", dir / "zero.trn");
    fs::copy_file(dir / "event.sco", dir / "zero.sco");
    writeFile(dir / "t.cfg", settingsFor(dir / "zero.trn"));
    const ProcessResult table = gen(dir / "t.cfg");
    ASSERT_FALSE(table.timedOut);
    EXPECT_EQ(table.exitStatus, 1);
    EXPECT_EQ(table.out, std::string(site::kCannotOpenTrn) + "\n");
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
        ProcessOptions options;
        options.timeoutMs = 10000;
        options.interruptSignal = signal;
        options.interruptAfterMs = 300;
        const ProcessResult r = gen(dir / "never.cfg", options);
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
    ProcessOptions options;
    options.dataLimitBytes = 64L << 20;
    const ProcessResult r = gen(dir / "m.cfg", options);
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out, "Web page generated!\n");
}

}  // namespace
}  // namespace pairweb::cli

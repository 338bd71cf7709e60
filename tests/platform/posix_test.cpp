// What only POSIX systems give a test: processes of its own, signals, other users.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "data/loaders.h"
#include "platform/file_ops.h"
#include "platform/interrupt.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::platform {
namespace {


TEST(PosixTest, InterruptedWriteLeavesNoTemporaryFile) {
    testing::TempDir dir;
    const pid_t pid = fork();
    if (pid == 0) {
        std::atomic<bool> unused{false};
        handleInterrupts(InterruptMode::EndNow, unused);
        const std::string content(256u << 20, 'x');
        for (;;) (void)writeFileReplacing(dir / "page.html", content);
    }
    // Interrupt as soon as a temporary file is being written.
    bool seen = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!seen && std::chrono::steady_clock::now() < deadline) {
        for (const std::string& name : testing::filesIn(dir.path())) seen = seen || isTemporaryName(name);
        if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(pid, seen ? SIGTERM : SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(seen);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    for (const std::string& name : testing::filesIn(dir.path())) {
        EXPECT_FALSE(isTemporaryName(name)) << name;
    }
}

TEST(PosixTest, ReadOnlyTablesAreRead) {
    testing::TempDir dir;
    ASSERT_TRUE(
        testing::writeTournament(dir / "t", testing::numberedPlayers(2), {{1, 1, 2, 2, 0}}));
    for (const char* name : {"t.trn", "t.sco"}) {
        std::filesystem::permissions(
            dir / name, std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
    }
    std::filesystem::permissions(dir.path(), std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    // Root may open anything for update, so the tables are read as an ordinary user.
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        std::vector<data::Player> players(2);
        std::array<data::RoundRecord, data::kMaxRounds> rounds{};
        const bool ok = data::countTableRecords(dir / "t.trn") == 2 &&
                        data::loadPlayers(dir / "t.trn", players, {}) == 2 &&
                        data::loadPairings(dir / "t.sco", rounds, players, 2) == 1;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace pairweb::platform

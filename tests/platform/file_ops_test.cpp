#include "platform/file_ops.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/interrupt.h"
#include "support/test_env.h"

namespace pairweb::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    return names;
}

TEST(FileOpsTest, LongestNameTheFileSystemTakesIsWritable) {
    testing::TempDir dir;
    const std::string name(255, 'n');
    ASSERT_TRUE(writeFileReplacing(dir / name, "replaced"));
    EXPECT_TRUE(writeFileReplacing(dir / name, "again"));
    EXPECT_EQ(writeFileIfAbsent(dir / (name.substr(1) + "x"), "created"), CreateResult::Created);
    EXPECT_EQ(testing::readFile(dir / name), "again");
    EXPECT_EQ(namesIn(dir.path()).size(), 2u);  // no temporary file left
}

TEST(FileOpsTest, InterruptedWriteLeavesNoTemporaryFile) {
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
        for (const std::string& name : namesIn(dir.path())) seen = seen || isTemporaryName(name);
        if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(pid, seen ? SIGTERM : SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(seen);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    for (const std::string& name : namesIn(dir.path())) {
        EXPECT_FALSE(isTemporaryName(name)) << name;
    }
}

}  // namespace
}  // namespace pairweb::platform

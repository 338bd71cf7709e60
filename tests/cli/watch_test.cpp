// pairweb-gen --watch as organisers use it: the real executable, real files, real changes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "data/table_check.h"
#include "site/driver.h"
#include "support/test_env.h"
#include "support/tournament_files.h"

namespace pairweb::cli {
namespace {

using testing::readFile;
using testing::writeFile;

// A running pairweb-gen --watch whose output is read line by line.
class WatchProcess {
public:
    // With withErrors, standard error shares the pipe, as on a terminal.
    explicit WatchProcess(const std::string& settings, bool withErrors = false,
                          const char* option = nullptr) {
        int fds[2];
        if (pipe(fds) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(fds[1], STDOUT_FILENO);
            if (withErrors) dup2(fds[1], STDERR_FILENO);
            close(fds[0]);
            close(fds[1]);
            if (option != nullptr) {
                execl(PAIRWEB_GEN_PATH, PAIRWEB_GEN_PATH, "--watch", option, settings.c_str(),
                      static_cast<char*>(nullptr));
            } else {
                execl(PAIRWEB_GEN_PATH, PAIRWEB_GEN_PATH, "--watch", settings.c_str(),
                      static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        close(fds[1]);
        m_out = fds[0];
    }
    ~WatchProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) close(m_out);
    }
    // The next line of output, or "<timeout>" after the given seconds.
    std::string nextLine(int seconds = 20) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            if (const std::size_t lf = m_buffer.find('\n'); lf != std::string::npos) {
                std::string line = m_buffer.substr(0, lf);
                m_buffer.erase(0, lf + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{m_out, POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                return "<timeout>";
            }
            char chunk[512];
            const ssize_t n = read(m_out, chunk, sizeof chunk);
            if (n <= 0) return "<closed>";
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    // Sends Ctrl-C and returns the exit status.
    int interrupt() {
        kill(m_pid, SIGINT);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buffer;
};

// The message part of a watch line ("2026-12-08 06:20:01 Web page generated!").
std::string messageOf(const std::string& line) {
    return line.size() > 20 ? line.substr(20) : line;
}

class WatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir / "site");
        games = testing::smallEventGames();
        ASSERT_TRUE(testing::writeTournament(dir / "event", testing::smallEventPlayers(), games));
        writeFile(dir / "watch.cfg", "strFilename [" + (dir / "event.trn") + "]\r\nOutputIndex [" +
                                         (dir / "site/index.html") + "]\r\n");
    }
    testing::TempDir dir;
    std::vector<testing::GameRow> games;
};

TEST_F(WatchTest, NewResultReachesThePages) {
    WatchProcess watch(dir / "watch.cfg");
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");
    EXPECT_EQ(readFile(dir / "site/results_round4.html").find("1 - 0"), std::string::npos);

    // The organiser enters a result for board 1 of round 4.
    games[8].whiteScore = 2;
    ASSERT_TRUE(testing::writeTournament(dir / "event", testing::smallEventPlayers(), games));
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");
    EXPECT_NE(readFile(dir / "site/results_round4.html").find("<td class=\"bold\">1 - 0</td>"),
              std::string::npos);
    EXPECT_TRUE(testing::fileExists(dir / "site/standings_round4.html"));
    EXPECT_EQ(watch.interrupt(), 0);
}

TEST_F(WatchTest, TableCaughtMidWriteGivesAnErrorThenAGoodRun) {
    WatchProcess watch(dir / "watch.cfg");
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");
    const std::string before = readFile(dir / "site/results_round1.html");

    const std::string full = readFile(dir / "event.sco");
    writeFile(dir / "event.sco", full.substr(0, full.size() / 2));
    ASSERT_FALSE(data::tableIsComplete(dir / "event.sco"));
    EXPECT_EQ(messageOf(watch.nextLine()),
              "Error: " + (dir / "event.sco") + " is incomplete (still being written?)");
    // Nothing of the site was touched by the failed run.
    EXPECT_EQ(readFile(dir / "site/results_round1.html"), before);

    writeFile(dir / "event.sco", full);
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");
    EXPECT_EQ(watch.interrupt(), 0);
}

TEST_F(WatchTest, FollowsTheTablesItsSettingsName) {
    WatchProcess watch(dir / "watch.cfg", true);
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");

    // The settings now name another event: the change of the settings file starts a run.
    ASSERT_TRUE(testing::writeTournament(dir / "other", testing::numberedPlayers(3),
                                         {{1, 1, 2, 2, 0}}));
    writeFile(dir / "watch.cfg", "strFilename [" + (dir / "other.trn") + "]\r\nOutputIndex [" +
                                     (dir / "site/index.html") + "]\r\n");
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");
    EXPECT_NE(readFile(dir / "site/player_list.html").find("Player3"), std::string::npos);

    // Its tables are the ones watched and checked for completeness now.
    const std::string full = readFile(dir / "other.sco");
    writeFile(dir / "other.sco", full.substr(0, full.size() - 3));
    EXPECT_EQ(messageOf(watch.nextLine()),
              "Error: " + (dir / "other.sco") + " is incomplete (still being written?)");
    writeFile(dir / "other.sco", full);
    EXPECT_EQ(messageOf(watch.nextLine()), "Web page generated!");

    // A reader's message on standard error comes whole, before the whole line of its run.
    writeFile(dir / "other.trn", "0" + std::string(40, '\0'));  // complete, wrong version
    EXPECT_EQ(watch.nextLine(), (dir / "other.trn") + " is not a dBASE III file!");
    const std::string line = watch.nextLine();
    EXPECT_EQ(line.size(), 20 + site::kCannotOpenTrn.size());
    EXPECT_EQ(messageOf(line), site::kCannotOpenTrn);
    EXPECT_EQ(watch.interrupt(), 0);
}

TEST_F(WatchTest, AFailedPublishIsTriedAgainThoughNothingChanges) {
    // Nothing listens on port 1 of this machine.
    writeFile(dir / "watch.cfg", readFile(dir / "watch.cfg") +
                                     "PublishUrl [ftp://club@127.0.0.1:1/www/]\r\n"
                                     "PublishPlainFtp [1]\r\n");
    WatchProcess watch(dir / "watch.cfg", false, "--publish");
    EXPECT_EQ(messageOf(watch.nextLine()),
              "Web page generated!; publish failed: host not reachable; retrying in 30 s");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(messageOf(watch.nextLine(45)),
              "Web page generated!; publish failed: host not reachable; retrying in 60 s");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(29));
    EXPECT_EQ(watch.interrupt(), 0);
}

TEST(TableCheckTest, CompleteOnlyWithEveryAnnouncedRecord) {
    testing::TempDir dir;
    ASSERT_TRUE(testing::writeTournament(dir / "t", testing::numberedPlayers(3), {}));
    EXPECT_TRUE(data::tableIsComplete(dir / "t.trn"));
    const std::string full = readFile(dir / "t.trn");
    writeFile(dir / "cut.trn", full.substr(0, full.size() - 5));
    EXPECT_FALSE(data::tableIsComplete(dir / "cut.trn"));
    writeFile(dir / "short.trn", "\x03\x01");
    EXPECT_FALSE(data::tableIsComplete(dir / "short.trn"));
    EXPECT_FALSE(data::tableIsComplete(dir / "none.trn"));
}

}  // namespace
}  // namespace pairweb::cli

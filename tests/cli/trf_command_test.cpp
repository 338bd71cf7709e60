// pairweb-gen on TRF files: its messages, exit statuses and warnings.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "cli/gen_command.h"
#include "support/test_env.h"
#include "support/trf_writer.h"

namespace pairweb::cli {
namespace {

using testing::trfLine;
using testing::writeFile;

struct GenRun {
    int status;
    std::string out;
    std::string err;
};

class TrfCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { std::filesystem::create_directories(dir / "site"); }
    GenRun gen(const std::string& trf) {
        writeFile(dir / "s.cfg",
                  "strFilename [" + trf + "]\nOutputIndex [" + (dir / "site/index.html") + "]\n");
        std::ostringstream out;
        std::ostringstream err;
        const std::atomic<bool> stop{false};
        const int status = runGenCommand({dir / "s.cfg"}, "1796652309", out, err, stop);
        return {status, out.str(), err.str()};
    }
    testing::TempDir dir;
};

TEST_F(TrfCommandTest, WarnsOnceForEachThingTheSiteShowsOtherwise) {
    // N, alpha, i, kappa, omicron, final sigma: ten bytes, six characters, padded to 33.
    const std::string greek = "N\xCE\xB1i\xCE\xBA\xCE\xBF\xCF\x82" + std::string(27, ' ');
    writeFile(dir / "e.trf", "012 Open\n013 Team A    1    2\n" + trfLine("0", "Zero", "", {}) +
                                 "\n" + trfLine("500", "Big", "", {}) + "\n" +
                                 trfLine("1", "Adams,Ann", "1.0", {"   2 w 1"}) + "\n" +
                                 trfLine("2", "Byrne,Bo", "0.0", {"   1 b 0"}) + "\n" +
                                 trfLine("3", "Cole,Cy", "2.0", {"   4 w 1"}) + "\n" +
                                 trfLine("4", greek, "0.0", {}) + "\n");
    const GenRun r = gen(dir / "e.trf");
    EXPECT_EQ(r.status, kExitGenerated);
    EXPECT_EQ(r.out, "Web page generated!\n");
    EXPECT_EQ(r.err,
              "warning: 2 players with a start rank outside 1-399 were skipped\n"
              "warning: team records were ignored; the players are read as an individual event\n"
              "warning: 1 games are shown in one player's line only; that line decided them\n"
              "warning: 1 players' points column differs from their results (start rank 3); "
              "the results are published\n"
              "warning: 4 characters of names that Windows-1252 lacks are shown as \"?\"\n");
    const std::string list = testing::readFile(dir / "site/player_list.html");
    EXPECT_NE(list.find("N?i???, </td>"), std::string::npos);
}

TEST_F(TrfCommandTest, NamesTheFirstStartRanksWhosePointsDiffer) {
    std::string text;
    for (const char* rank : {"9", "7", "5", "3", "1", "2", "4"}) {
        text += trfLine(rank, "P", "1.0", {"0000 - Z"}) + "\n";
    }
    writeFile(dir / "e.trf", text);
    EXPECT_EQ(gen(dir / "e.trf").err,
              "warning: 7 players' points column differs from their results (start ranks 1, 2, "
              "3, 4, 5, ...); the results are published\n");
    writeFile(dir / "ok.trf", trfLine("1", "P", "0.5", {"0000 - H"}) + "\n");
    EXPECT_EQ(gen(dir / "ok.trf").err, "");
}

TEST_F(TrfCommandTest, FilesThatCannotBeLoadedEndTheRunWithStatusOne) {
    writeFile(dir / "empty.trf", "012 Nobody plays\r\n022 Town\r\n");
    std::filesystem::create_directories(std::filesystem::path(dir / "folder.trf"));
    const GenRun empty = gen(dir / "empty.trf");
    EXPECT_EQ(empty.status, kExitRunFailed);
    EXPECT_EQ(empty.out, "Error: the TRF file holds no players.\n");
    const GenRun folder = gen(dir / "folder.trf");
    EXPECT_EQ(folder.status, kExitRunFailed);
    EXPECT_EQ(folder.out, "Error: couldn't read the TRF file.\n");
    EXPECT_TRUE(testing::filesIn(dir / "site").empty());
}

// --watch: a change to the TRF file brings a new run; the file is not checked as a table.
TEST_F(TrfCommandTest, WatchFollowsTheTrfFile) {
    const std::string first = trfLine("1", "Adams,Ann", "", {"   2 w"}) + "\n" +
                              trfLine("2", "Byrne,Bo", "", {"   1 b"}) + "\n";
    writeFile(dir / "e.trf", first);
    writeFile(dir / "s.cfg", "strFilename [" + (dir / "e.trf") + "]\nOutputIndex [" +
                                 (dir / "site/index.html") + "]\n");
    std::ostringstream out;
    std::ostringstream err;
    std::atomic<bool> stop{false};
    std::thread watch([&] {
        runGenCommand({"--watch", dir / "s.cfg"}, "1796652309", out, err, stop);
    });
    const auto waitFor = [&](const std::string& file, const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            if (testing::fileExists(file) &&
                testing::readFile(file).find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    };
    EXPECT_TRUE(waitFor(dir / "site/results_round1.html", "Adams"));
    EXPECT_FALSE(testing::fileExists(dir / "site/standings_round1.html"));
    // The result of the game is entered; the watcher's settling time passes first.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    writeFile(dir / "e.trf", trfLine("1", "Adams,Ann", "", {"   2 w 1"}) + "\n" +
                                 trfLine("2", "Byrne,Bo", "", {"   1 b 0"}) + "\n");
    EXPECT_TRUE(waitFor(dir / "site/standings_round1.html", "Adams"));
    stop = true;
    watch.join();
    EXPECT_EQ(out.str().find("incomplete"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Web page generated!"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace pairweb::cli

#include "site/site_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "support/test_env.h"

namespace pairweb::site {
namespace {

// Records the files in the order they are written; paths containing "fail" fail.
class RecordingPlatform : public testing::FixedPlatform {
  public:
    RecordingPlatform() : FixedPlatform("/opt/pairweb/pairweb", 0) {}
    bool writeFile(const std::string& path, std::string_view content) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::lock_guard<std::mutex> lock(mutex);
        written.push_back(path + ":" + std::to_string(content.size()));
        return path.find("fail") == std::string::npos;
    }
    platform::CreateResult createFile(const std::string& path, std::string_view content) override {
        return writeFile(path, content) ? platform::CreateResult::Created
                                        : platform::CreateResult::Failed;
    }
    std::vector<std::string> snapshot() {
        std::lock_guard<std::mutex> lock(mutex);
        return written;
    }
    std::mutex mutex;
    std::vector<std::string> written;
};

TEST(SiteWriterTest, WritesInOrderAndRemembersTheFirstFailure) {
    RecordingPlatform platform;
    SiteWriter writer(platform);
    std::vector<std::string> expected;
    for (int k = 0; k < 40; ++k) {
        const std::string path =
            k == 7 || k == 30 ? "fail" + std::to_string(k) : "f" + std::to_string(k);
        if (k % 2) {
            writer.create(path, std::string(static_cast<std::size_t>(k), 'x'));
        } else {
            writer.write(path, std::string(static_cast<std::size_t>(k), 'x'));
        }
        expected.push_back(path + ":" + std::to_string(k));
    }
    writer.flush();
    EXPECT_EQ(platform.snapshot(), expected);
    EXPECT_EQ(writer.firstFailure(), "fail7");
}

TEST(SiteWriterTest, WaitsWhenTooMuchIsPending) {
    RecordingPlatform platform;
    SiteWriter writer(platform);
    // Each page is larger than the limit: the second waits until the first is written.
    const std::string big(SiteWriter::kMaxPendingBytes + 1, 'x');
    writer.write("a", big);
    writer.write("b", big);
    writer.write("c", big);
    EXPECT_GE(platform.snapshot().size(), 1u);
    writer.flush();
    EXPECT_EQ(platform.snapshot().size(), 3u);
    EXPECT_EQ(writer.firstFailure(), "");
}

TEST(SiteWriterTest, RealFilesAreCompleteAfterFlush) {
    testing::TempDir dir;
    platform::SystemPlatform platform;
    SiteWriter writer(platform);
    writer.write(dir / "page.html", "first");
    writer.write(dir / "page.html", "second");
    writer.create(dir / "round1.pgn", "kept");
    writer.create(dir / "round1.pgn", "never");
    writer.flush();
    EXPECT_EQ(testing::readFile(dir / "page.html"), "second");
    EXPECT_EQ(testing::readFile(dir / "round1.pgn"), "kept");
    EXPECT_EQ(writer.firstFailure(), "");
}

TEST(SiteWriterTest, AFileDifferingOnlyInTheFooterTimeIsKept) {
    testing::TempDir dir;
    platform::SystemPlatform platform;
    const std::string page = "<p>Board 1</p>on Tue Dec 08 10:00:00 2026\r\n</p>";
    const struct {
        std::string onDisk;
        bool kept;
    } cases[] = {
        {"<p>Board 1</p>on Mon Dec 07 14:05:09 2026\r\n</p>", true},
        {"<p>Board 2</p>on Mon Dec 07 14:05:09 2026\r\n</p>", false},  // content changed
        {"<p>Board 1</p>on Mon Dec 07 14:05:09 2026\r\n</P>", false},  // after the time
        {"<p>Board 1</p>on not a time at all here\r\n</p>", false},
        {"<p>Board 1</p>on Mon Dec 07 14:05:09 2026\r\n</p>\r\n", false},
    };
    for (const auto& c : cases) {
        testing::writeFile(dir / "page.html", c.onDisk);
        SiteWriter writer(platform);
        writer.keepFilesUnchangedBut("Tue Dec 08 10:00:00 2026");
        writer.write(dir / "page.html", page);
        writer.flush();
        EXPECT_EQ(testing::readFile(dir / "page.html"), c.kept ? c.onDisk : page) << c.onDisk;
    }
}

TEST(SiteWriterTest, AFileWithoutTheTimeIsKeptOnlyWhenItIsTheSame) {
    testing::TempDir dir;
    platform::SystemPlatform platform;
    const std::string page = "<p>Board 1</p>\r\n";
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& onDisk : {page, std::string("<p>Board 2</p>\r\n")}) {
        testing::writeFile(dir / "page.html", onDisk);
        std::filesystem::last_write_time(dir / "page.html", old);
        // As the file system keeps it (Windows keeps times in steps of 100 ns).
        const auto stamped = std::filesystem::last_write_time(dir / "page.html");
        SiteWriter writer(platform);
        writer.keepFilesUnchangedBut("Tue Dec 08 10:00:00 2026");
        writer.write(dir / "page.html", page);
        writer.flush();
        EXPECT_EQ(testing::readFile(dir / "page.html"), page);
        EXPECT_EQ(std::filesystem::last_write_time(dir / "page.html") == stamped, onDisk == page)
            << onDisk;
    }
}

}  // namespace
}  // namespace pairweb::site

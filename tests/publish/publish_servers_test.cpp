// pairweb-gen --publish against real servers on loopback, each started and stopped by the
// test: vsftpd (FTP with TLS), OpenSSH's sshd (SFTP) and pyftpdlib (plain FTP, password).
// The sample tournament with PGN files and links, and a file-name prefix with a blank and an
// accent.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "support/process.h"
#include "support/servers.h"
#include "support/test_env.h"

namespace pairweb::publish {
namespace {

namespace fs = std::filesystem;
using testing::ProcessResult;
using testing::readFile;
using testing::writeFile;

constexpr const char* kManifest = ".pairweb-published";
constexpr int kPublishTimeoutMs = 120000;
// A fault is reported within the connect bound (20 s) or the stall bound (30 s), and a margin.
constexpr int kFaultBoundMs = 40000;

// Every file below a folder by its "/"-separated path relative to it, with its bytes.
using Tree = std::map<std::string, std::string>;

bool isTemporary(const std::string& path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return name.rfind("pairweb-upload-", 0) == 0 && name.size() > 4 &&
           name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// Files being replaced while the folder is read are skipped, not failed.
Tree readTree(const std::string& folder, bool withTemporary = true) {
    Tree tree;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string path = fs::relative(it->path(), folder, ec).generic_string();
        if (path == kManifest || (!withTemporary && isTemporary(path))) continue;
        std::ifstream file(it->path(), std::ios::binary);
        if (!file) continue;
        std::ostringstream bytes;
        bytes << file.rdbuf();
        tree[path] = bytes.str();
    }
    return tree;
}

// Paths whose bytes differ between the trees, or that only one of them has.
std::set<std::string> differences(const Tree& a, const Tree& b) {
    std::set<std::string> paths;
    for (const auto& [path, bytes] : a) {
        if (const auto other = b.find(path); other == b.end() || other->second != bytes) {
            paths.insert(path);
        }
    }
    for (const auto& entry : b) {
        if (a.count(entry.first) == 0) paths.insert(entry.first);
    }
    return paths;
}

std::set<std::string> temporaryFiles(const Tree& tree) {
    std::set<std::string> paths;
    for (const auto& entry : tree) {
        if (isTemporary(entry.first)) paths.insert(entry.first);
    }
    return paths;
}

// The inode of each file: a file replaced by an upload (renamed over) has a new one.
std::map<std::string, ino_t> inodes(const std::string& folder) {
    std::map<std::string, ino_t> result;
    for (const auto& entry : readTree(folder)) {
        struct stat info {};
        if (stat((folder + "/" + entry.first).c_str(), &info) == 0)
            result[entry.first] = info.st_ino;
    }
    return result;
}

std::set<std::string> replacedFiles(const std::map<std::string, ino_t>& before,
                                    const std::map<std::string, ino_t>& after) {
    std::set<std::string> paths;
    for (const auto& [path, inode] : after) {
        if (const auto old = before.find(path); old == before.end() || old->second != inode) {
            paths.insert(path);
        }
    }
    return paths;
}

// The round PGN files and viewer pages, which game entry edits on the server.
bool isServerOwned(const std::string& path) {
    if (path.rfind("pgn/", 0) != 0) return false;
    for (const std::string suffix : {".pgn", "_pgn.html"}) {
        if (path.size() <= suffix.size() ||
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0) {
            continue;
        }
        std::size_t digits = path.size() - suffix.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(path[digits - 1]))) --digits;
        if (digits < path.size() - suffix.size() && digits >= 5 &&
            path.compare(digits - 5, 5, "round") == 0) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    }
    return lines;
}

// "Published N of M files (S KB) to URL", the one such line of the output.
struct PublishedLine {
    int files = -1;
    int of = -1;
    double kilobytes = -1;
    std::string url;
};

PublishedLine publishedLine(const std::string& out) {
    PublishedLine line;
    const std::vector<std::string> lines = linesStartingWith(out, "Published ");
    int urlAt = 0;
    if (lines.size() == 1 &&
        std::sscanf(lines[0].c_str(), "Published %d of %d files (%lf KB) to %n", &line.files,
                    &line.of, &line.kilobytes, &urlAt) == 3) {
        line.url = lines[0].substr(static_cast<std::size_t>(urlAt));
    }
    return line;
}

std::size_t bytesOf(const Tree& tree, const std::set<std::string>& paths) {
    std::size_t total = 0;
    for (const std::string& path : paths) total += tree.at(path).size();
    return total;
}

// A listening socket that never accepts, so that a client waits for a greeting in vain.
class SilentPort {
  public:
    SilentPort() {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_listening =
            bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            listen(m_fd, 16) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        m_port = ntohs(address.sin_port);
    }
    ~SilentPort() { close(m_fd); }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
    bool listening() const { return m_listening; }
    int port() const { return m_port; }

  private:
    int m_port = 0;
    int m_fd = -1;
    bool m_listening = false;
};

// A server to publish to and the settings lines that name it.
struct Target {
    std::unique_ptr<testing::TestServer> server;  // none for a port without a server
    std::string settings;
    std::vector<std::string> env;          // the password, where the server asks for one
    testing::VsftpServer* ftps = nullptr;  // the same server, for its transfer log
    std::unique_ptr<SilentPort> silent;
};

std::string line(const std::string& key, const std::string& value) {
    return key + " [" + value + "]\r\n";
}

Target ftpsTarget() {
    Target target;
    auto server = std::make_unique<testing::VsftpServer>();
    target.settings =
        line("PublishUrl", server->url()) + line("PublishCaFile", server->certificateFile());
    target.env = {"PAIRWEB_PUBLISH_PASSWORD=guest"};
    target.ftps = server.get();
    target.server = std::move(server);
    return target;
}

Target sftpTarget(const std::string& pinnedKey = {}) {
    Target target;
    auto server = std::make_unique<testing::SshServer>();
    target.settings =
        line("PublishUrl", server->url()) +
        line("PublishHostKey", pinnedKey.empty() ? server->hostKeyFingerprint() : pinnedKey) +
        line("PublishKeyFile", server->clientKeyFile());
    target.server = std::move(server);
    return target;
}

Target plainFtpTarget(const std::string& password) {
    Target target;
    auto server = std::make_unique<testing::PasswordFtpServer>("organiser", "Right-Secret-1");
    target.settings = line("PublishUrl", server->url()) + line("PublishPlainFtp", "1");
    if (!password.empty()) target.env = {"PAIRWEB_PUBLISH_PASSWORD=" + password};
    target.server = std::move(server);
    return target;
}

// pairweb-gen run in a thread of its own while the test acts on the server.
class BackgroundRun {
  public:
    explicit BackgroundRun(std::function<ProcessResult()> run)
        : m_thread([this, run] {
              m_result = run();
              m_done = true;
          }) {}
    ~BackgroundRun() {
        if (m_thread.joinable()) m_thread.join();
    }
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;
    bool done() const { return m_done; }
    const ProcessResult& wait() {
        if (m_thread.joinable()) m_thread.join();
        return m_result;
    }

  private:
    ProcessResult m_result;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Bytes a second of a slowed server: the sample site takes about ten seconds.
constexpr int kSlowRate = 40000;

// Waits (at most 60 s) until a publish to a slowed server has completed three uploads since
// the server started and is in the middle of another; false when the publish ended first.
bool caughtMidFile(const testing::VsftpServer& server, const BackgroundRun& run) {
    const int uploadsBefore = server.completedUploads();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!run.done() && std::chrono::steady_clock::now() < deadline) {
        if (server.completedUploads() >= uploadsBefore + 3) {
            for (const auto& [path, bytes] : readTree(server.remoteFolder())) {
                if (isTemporary(path) && !bytes.empty()) return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

class PublishTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The password comes from each test, never from the environment of the test run.
        unsetenv("PAIRWEB_PUBLISH_PASSWORD");
        fs::create_directories(dir / "site");
        fs::create_directories(dir / "home");
        for (const char* ext : {".trn", ".sco"}) {
            fs::copy_file(std::string(PAIRWEB_SOURCE_DIR) + "/samples/swiss_open" + ext,
                          dir / (std::string("event") + ext));
        }
    }

    // The sample's settings with this test's tables and site, the prefix "Köln Open" in
    // Windows-1252 as settings files hold it, and the given publishing lines.
    std::string writeSettings(const std::string& publishing) const {
        std::istringstream sample(
            readFile(std::string(PAIRWEB_SOURCE_DIR) + "/samples/swiss_open.cfg"));
        std::string settings;
        for (std::string text; std::getline(sample, text);) {
            if (text.rfind("strFilename ", 0) == 0) {
                settings += line("strFilename", dir / "event.trn");
            } else if (text.rfind("OutputIndex ", 0) == 0) {
                settings += line("OutputIndex", dir / "site/index.html");
            } else {
                settings += text + "\n";
            }
        }
        settings += line("FnamePrefix", "K\xF6ln Open") + publishing;
        writeFile(dir / "event.cfg", settings);
        return dir / "event.cfg";
    }

    ProcessResult gen(std::vector<std::string> args, const std::vector<std::string>& env) const {
        testing::ProcessOptions options;
        options.args = {testing::pairwebGenPath()};
        options.args.insert(options.args.end(), args.begin(), args.end());
        options.args.push_back(dir / "event.cfg");
        options.env = env;
        options.env.push_back("HOME=" + (dir / "home"));
        options.timeoutMs = kPublishTimeoutMs;
        return testing::runProcess(options);
    }

    Tree site() const { return readTree(dir / "site"); }

    // The organiser enters the first result of the last round (paired, not played in the
    // sample): white wins. Only that field of the games table changes.
    bool enterResult() const {
        std::string bytes = readFile(dir / "event.sco");
        if (bytes.size() < 32) return false;
        const auto byteAt = [&](std::size_t at) { return static_cast<unsigned char>(bytes[at]); };
        const std::size_t headerLength = byteAt(8) | byteAt(9) << 8;
        const std::size_t recordLength = byteAt(10) | byteAt(11) << 8;
        std::map<std::string, std::pair<std::size_t, std::size_t>> fields;
        std::size_t offset = 1;
        for (std::size_t at = 32; at + 32 <= headerLength && bytes[at] != '\r'; at += 32) {
            fields[std::string(bytes.data() + at, strnlen(bytes.data() + at, 11))] = {
                offset, byteAt(at + 16)};
            offset += byteAt(at + 16);
        }
        for (std::size_t start = headerLength; start + recordLength <= bytes.size();
             start += recordLength) {
            const auto number = [&](const char* name) {
                const auto [at, length] = fields[name];
                return std::atoi(bytes.substr(start + at, length).c_str());
            };
            if (bytes[start] != '*' && number("ROUND") == 9 && number("WHITE") > 0 &&
                number("BLACK") > 0 && number("W_SCORE") == 0 && number("B_SCORE") == 0) {
                const auto [at, length] = fields["W_SCORE"];
                bytes.replace(start + at, length, std::string(length - 1, ' ') + "2");
                writeFile(dir / "event.sco", bytes);
                return true;
            }
        }
        return false;
    }

    // Checks a publish that should have succeeded and uploaded exactly the given files.
    void expectPublished(const ProcessResult& run, const Target& target,
                         const std::set<std::string>& uploaded) const {
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitStatus, 0) << run.out << run.err << target.server->log();
        const Tree local = site();
        const PublishedLine published = publishedLine(run.out);
        EXPECT_EQ(published.files, static_cast<int>(uploaded.size())) << run.out;
        EXPECT_EQ(published.of, static_cast<int>(local.size())) << run.out;
        EXPECT_NEAR(published.kilobytes, static_cast<double>(bytesOf(local, uploaded)) / 1024, 1)
            << run.out;
        EXPECT_EQ(published.url, target.server->url()) << run.out;
        EXPECT_EQ(linesStartingWith(run.out, "Error:"), std::vector<std::string>{});
        EXPECT_TRUE(testing::fileExists(dir / (std::string("site/") + kManifest)));
    }

    testing::TempDir dir;
    testing::RemovedOnInterrupt removed{dir.path()};
};

enum class Kind { Ftps, Sftp };

class PublishRoundTripTest : public PublishTest, public ::testing::WithParamInterface<Kind> {
  protected:
    Target target() const { return GetParam() == Kind::Ftps ? ftpsTarget() : sftpTarget(); }
};

TEST_P(PublishRoundTripTest, RemoteTreeIsTheSiteAndOnlyChangedFilesTravel) {
    const Target to = target();
    ASSERT_TRUE(to.server->start()) << to.server->log();
    writeSettings(to.settings);
    const std::string remote = to.server->remoteFolder();

    const ProcessResult first = gen({"--publish"}, to.env);
    const Tree local = site();
    std::set<std::string> all;
    for (const auto& entry : local) all.insert(entry.first);
    expectPublished(first, to, all);
    EXPECT_EQ(differences(readTree(remote), local), std::set<std::string>{});
    // The PGN files carry the prefix in UTF-8 on the host, blank and accent as they are.
    EXPECT_EQ(local.count("pgn/K\xC3\xB6ln Open_round1.pgn"), 1u)
        << "no PGN file named with the prefix in UTF-8";
    if (to.ftps != nullptr) {
        EXPECT_EQ(to.ftps->completedUploads(), static_cast<int>(all.size()));
    }

    // Nothing changed: nothing travels.
    const auto before = inodes(remote);
    const int uploadsBefore = to.ftps != nullptr ? to.ftps->completedUploads() : 0;
    expectPublished(gen({"--publish"}, to.env), to, {});
    EXPECT_EQ(replacedFiles(before, inodes(remote)), std::set<std::string>{});

    // One more result: exactly the pages that changed travel.
    ASSERT_TRUE(enterResult());
    const ProcessResult third = gen({"--publish"}, to.env);
    const std::set<std::string> changed = differences(local, site());
    ASSERT_FALSE(changed.empty());
    expectPublished(third, to, changed);
    EXPECT_EQ(replacedFiles(before, inodes(remote)), changed);
    EXPECT_EQ(differences(readTree(remote), site()), std::set<std::string>{});
    if (to.ftps != nullptr) {
        EXPECT_EQ(to.ftps->completedUploads() - uploadsBefore, static_cast<int>(changed.size()));
    }
}

TEST_P(PublishRoundTripTest, GameEnteredOnTheServerSurvivesEveryPublish) {
    const Target to = target();
    ASSERT_TRUE(to.server->start()) << to.server->log();
    writeSettings(to.settings);
    const std::string remote = to.server->remoteFolder();
    ASSERT_EQ(gen({"--publish"}, to.env).exitStatus, 0) << to.server->log();

    // Game entry on the server rewrites round 1's PGN file and viewer page.
    std::map<std::string, std::string> entered;
    for (const auto& [path, bytes] : readTree(remote)) {
        if (isServerOwned(path) && path.find("round1") != std::string::npos) {
            entered[path] = bytes + "\r\n[Event \"entered on the server\"]\r\n\r\n1. e4 e5 *\r\n";
            writeFile(remote + "/" + path, entered[path]);
        }
    }
    ASSERT_EQ(entered.size(), 2u);

    // A new result, no change, then every file again: the server's versions stay.
    ASSERT_TRUE(enterResult());
    for (const char* option : {"--publish", "--publish", "--publish-all"}) {
        const ProcessResult run = gen({option}, to.env);
        EXPECT_EQ(run.exitStatus, 0) << option << "\n" << run.out << run.err;
        const Tree now = readTree(remote);
        for (const auto& [path, bytes] : entered) EXPECT_EQ(now.at(path), bytes) << option;
        EXPECT_EQ(differences(now, site()).size(), entered.size()) << option;
        if (std::string(option) == "--publish-all") {
            // The sample's nine rounds have a PGN file and a viewer page each.
            EXPECT_EQ(publishedLine(run.out).files, static_cast<int>(site().size()) - 18)
                << run.out;
        }
    }
}

std::string kindName(const ::testing::TestParamInfo<Kind>& kind) {
    return kind.param == Kind::Ftps ? "Ftps" : "Sftp";
}

INSTANTIATE_TEST_SUITE_P(Servers, PublishRoundTripTest, ::testing::Values(Kind::Ftps, Kind::Sftp),
                         kindName);

TEST_F(PublishTest, ServerKilledMidPublishNeverShowsAHalfPageAndTheNextPublishFinishes) {
    Target to = ftpsTarget();
    ASSERT_TRUE(to.server->start()) << to.server->log();
    writeSettings(to.settings);
    const std::string remote = to.server->remoteFolder();
    ASSERT_EQ(gen({"--publish"}, to.env).exitStatus, 0) << to.server->log();
    const Tree previous = site();
    ASSERT_TRUE(enterResult());
    ASSERT_EQ(gen({}, {}).exitStatus, 0);
    const Tree next = site();

    // A reader that sees any file under its own name with other bytes than one of the two
    // versions saw a half page.
    std::atomic<int> reads{0};
    std::vector<std::string> halfPages;
    std::jthread reader([&](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            for (const auto& [path, bytes] : readTree(remote, false)) {
                const auto old = previous.find(path);
                const auto now = next.find(path);
                if ((old == previous.end() || old->second != bytes) &&
                    (now == next.end() || now->second != bytes)) {
                    halfPages.push_back(path + " (" + std::to_string(bytes.size()) + " bytes)");
                }
                ++reads;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });

    // Every page again, slowly, and the server killed while it takes one.
    to.server->stop();
    to.ftps->setMaxRate(kSlowRate);
    ASSERT_TRUE(to.server->start()) << to.server->log();
    BackgroundRun publish([&] { return gen({"--publish-all"}, to.env); });
    const bool midFile = caughtMidFile(*to.ftps, publish);
    to.server->stop();
    const auto killed = std::chrono::steady_clock::now();
    const ProcessResult& cut = publish.wait();
    EXPECT_TRUE(midFile) << "the publish was not caught in the middle of a file";
    EXPECT_EQ(cut.exitStatus, 3) << cut.out << cut.err;
    EXPECT_EQ(linesStartingWith(cut.out, "Error: publishing stopped at ").size(), 1u) << cut.out;
    EXPECT_NE(cut.out.find(": connection lost"), std::string::npos) << cut.out;
    EXPECT_LT(std::chrono::steady_clock::now() - killed, std::chrono::milliseconds(kFaultBoundMs));
    EXPECT_LE(temporaryFiles(readTree(remote)).size(), 1u);

    // Restarted on the same folder: the next publish finishes the job and cleans up.
    to.ftps->setMaxRate(0);
    ASSERT_TRUE(to.server->start()) << to.server->log();
    const ProcessResult resumed = gen({"--publish"}, to.env);
    reader.request_stop();
    reader.join();
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.out << resumed.err << to.server->log();
    const Tree after = readTree(remote);
    EXPECT_EQ(temporaryFiles(after), std::set<std::string>{});
    EXPECT_EQ(differences(after, next), std::set<std::string>{});
    EXPECT_EQ(halfPages, std::vector<std::string>{});
    EXPECT_GT(reads, 0);
}

TEST_F(PublishTest, StalledServerEndsThePublishInTime) {
    Target to = ftpsTarget();
    to.ftps->setMaxRate(kSlowRate);
    ASSERT_TRUE(to.server->start()) << to.server->log();
    writeSettings(to.settings);
    BackgroundRun publish([&] { return gen({"--publish"}, to.env); });
    ASSERT_TRUE(caughtMidFile(*to.ftps, publish)) << "the publish ended before the stall";
    to.server->freeze();
    const auto frozen = std::chrono::steady_clock::now();
    const ProcessResult& cut = publish.wait();
    EXPECT_LT(std::chrono::steady_clock::now() - frozen, std::chrono::milliseconds(kFaultBoundMs))
        << cut.out;
    EXPECT_EQ(cut.exitStatus, 3) << cut.out << cut.err;
    const std::vector<std::string> errors = linesStartingWith(cut.out, "Error:");
    ASSERT_EQ(errors.size(), 1u) << cut.out;
    EXPECT_EQ(errors[0].rfind("Error: publishing stopped at ", 0), 0u) << errors[0];
    EXPECT_NE(errors[0].find(": connection lost"), std::string::npos) << errors[0];
}

TEST_F(PublishTest, DryRunListsAndUploadsNothing) {
    const Target to = ftpsTarget();
    ASSERT_TRUE(to.server->start()) << to.server->log();
    writeSettings(to.settings);
    const std::string remote = to.server->remoteFolder();

    const ProcessResult fresh = gen({"--dry-run", "--publish"}, to.env);
    EXPECT_EQ(fresh.exitStatus, 0) << fresh.out << fresh.err;
    EXPECT_NE(fresh.out.find("index.html"), std::string::npos) << fresh.out;
    EXPECT_EQ(readTree(remote), Tree{});
    EXPECT_EQ(to.ftps->completedUploads(), 0);
    // The dry run recorded nothing as uploaded: the real publish sends every file.
    const ProcessResult real = gen({"--publish"}, to.env);
    std::set<std::string> all;
    for (const auto& entry : site()) all.insert(entry.first);
    expectPublished(real, to, all);

    const Tree published = site();
    ASSERT_TRUE(enterResult());
    const auto before = inodes(remote);
    const ProcessResult changedRun = gen({"--dry-run", "--publish"}, to.env);
    EXPECT_EQ(changedRun.exitStatus, 0) << changedRun.out << changedRun.err;
    const std::set<std::string> changed = differences(published, site());
    ASSERT_FALSE(changed.empty());
    for (const std::string& path : changed) {
        const std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_NE(changedRun.out.find(name), std::string::npos) << name << "\n" << changedRun.out;
    }
    EXPECT_EQ(replacedFiles(before, inodes(remote)), std::set<std::string>{});
    EXPECT_EQ(to.ftps->completedUploads(), static_cast<int>(all.size()));
    expectPublished(gen({"--publish"}, to.env), to, changed);
}

TEST_F(PublishTest, PasswordFromNetrc) {
    const Target to = plainFtpTarget("");
    ASSERT_TRUE(to.server->start()) << to.server->log();
    writeSettings(to.settings);
    writeFile(dir / "home/.netrc", "machine 127.0.0.1\nlogin organiser\npassword Right-Secret-1\n");
    ASSERT_EQ(chmod((dir / "home/.netrc").c_str(), 0600), 0);
    const ProcessResult run = gen({"--publish"}, to.env);
    std::set<std::string> all;
    for (const auto& entry : site()) all.insert(entry.first);
    expectPublished(run, to, all);
    EXPECT_EQ(differences(readTree(to.server->remoteFolder()), site()), std::set<std::string>{});
    EXPECT_EQ((run.out + run.err).find("Right-Secret-1"), std::string::npos);
}

struct FaultCase {
    const char* name;
    std::function<Target()> target;
    const char* reason;  // the words after "Error: publishing stopped at FILE: "
    const char* alternativeReason = nullptr;
};

TEST_F(PublishTest, FaultsGiveOneClearLineAndStatusThreeInTime) {
    const FaultCase cases[] = {
        {"wrong password", [] { return plainFtpTarget("Wrong-Secret-2"); }, "wrong password"},
        {"unknown host key",
         [] { return sftpTarget("SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"); },
         "host key not trusted"},
        {"untrusted certificate",
         [] {
             Target t = ftpsTarget();
             t.settings = line("PublishUrl", t.server->url());
             return t;
         },
         "certificate not trusted"},
        {"folder not writable",
         [] {
             Target t = ftpsTarget();
             t.settings =
                 line("PublishUrl",
                      "ftp://anonymous@127.0.0.1:" + std::to_string(t.server->port()) + "/") +
                 line("PublishCaFile", t.ftps->certificateFile());
             return t;
         },
         "permission denied"},
        {"nothing listening",
         [] {
             Target t;
             t.settings =
                 line("PublishUrl", "ftp://anonymous@127.0.0.1:" +
                                        std::to_string(testing::freeLoopbackPort()) + "/www/");
             t.env = {"PAIRWEB_PUBLISH_PASSWORD=guest"};
             return t;
         },
         "host not reachable"},
        {"server that never answers",
         [] {
             Target t;
             t.silent = std::make_unique<SilentPort>();
             t.settings =
                 line("PublishUrl",
                      "ftp://anonymous@127.0.0.1:" + std::to_string(t.silent->port()) + "/www/");
             t.env = {"PAIRWEB_PUBLISH_PASSWORD=guest"};
             return t;
         },
         "host not reachable", "connection lost"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Target to = c.target();
        if (to.server) {
            ASSERT_TRUE(to.server->start()) << to.server->log();
        }
        if (to.silent) {
            ASSERT_TRUE(to.silent->listening());
        }
        writeSettings(to.settings);
        const ProcessResult run = gen({"--publish"}, to.env);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitStatus, 3) << run.out << run.err;
        EXPECT_LT(run.elapsedMs, kFaultBoundMs);
        const std::vector<std::string> errors = linesStartingWith(run.out, "Error:");
        ASSERT_EQ(errors.size(), 1u) << run.out;
        const std::string& error = errors[0];
        EXPECT_EQ(error.rfind("Error: publishing stopped at ", 0), 0u) << error;
        const bool reasonShown =
            error.find(std::string(": ") + c.reason) != std::string::npos ||
            (c.alternativeReason != nullptr &&
             error.find(std::string(": ") + c.alternativeReason) != std::string::npos);
        EXPECT_TRUE(reasonShown) << error;
        EXPECT_EQ(linesStartingWith(run.out, "Published "), std::vector<std::string>{});
        EXPECT_EQ((run.out + run.err).find("Secret"), std::string::npos);
        if (auto* ssh = dynamic_cast<testing::SshServer*>(to.server.get())) {
            EXPECT_NE(error.find(ssh->hostKeyFingerprint()), std::string::npos) << error;
        }
        if (to.server) {
            EXPECT_EQ(temporaryFiles(readTree(to.server->remoteFolder())), std::set<std::string>{});
            EXPECT_EQ(readTree(to.server->remoteFolder()).size(), 0u);
        }
    }
}

}  // namespace
}  // namespace pairweb::publish

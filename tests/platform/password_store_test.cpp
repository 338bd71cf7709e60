// The system's password store, on each system the same: the netrc file of a home folder of
// the test's own on Linux, the Credential Manager under wine or Windows.
#include "platform/password_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "support/test_env.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace pairweb::platform {
namespace {

// On Linux, HOME points into a folder of the test while it runs.
class StoreHome {
  public:
    StoreHome() {
#ifndef _WIN32
        const char* home = std::getenv("HOME");
        m_home = home == nullptr ? std::optional<std::string>() : std::string(home);
        setenv("HOME", m_dir.path().c_str(), 1);
#endif
    }
    ~StoreHome() {
#ifndef _WIN32
        if (m_home)
            setenv("HOME", m_home->c_str(), 1);
        else
            unsetenv("HOME");
#endif
    }
    StoreHome(const StoreHome&) = delete;
    StoreHome& operator=(const StoreHome&) = delete;
    const testing::TempDir& dir() const { return m_dir; }

  private:
    testing::TempDir m_dir;
    std::optional<std::string> m_home;
};

TEST(PasswordStoreTest, RemembersFindsReplacesAndForgets) {
    const StoreHome home;
    PasswordStore& store = systemPasswordStore();
    // A user of this run only, so that nothing of a real user's entries is touched.
    const std::string user = "pairweb-test-" + std::to_string(std::random_device()());
    const PasswordKey key{"ftp", "127.0.0.1", user};
    const PasswordKey other{"sftp", "127.0.0.1", user};
    const PasswordKey otherUser{"ftp", "127.0.0.1", user + "-b"};
    EXPECT_EQ(store.find(key), std::nullopt);
    EXPECT_EQ(store.forget(key), ForgetResult::NotKept);
    ASSERT_TRUE(store.remember(key, "first K\xC3\xB6ln \"pass\""));
    ASSERT_TRUE(store.remember(otherUser, "second"));
    EXPECT_EQ(store.find(key), "first K\xC3\xB6ln \"pass\"");
    ASSERT_TRUE(store.remember(key, "replaced"));
    EXPECT_EQ(store.find(key), "replaced");
    EXPECT_EQ(store.find(otherUser), "second");
#ifdef _WIN32
    // The Credential Manager keeps the protocols apart.
    EXPECT_EQ(store.find(other), std::nullopt);
    EXPECT_EQ(store.where(), "Windows Credential Manager");
#else
    // The netrc file knows hosts and users, whatever the protocol; only its owner reads it.
    EXPECT_EQ(store.find(other), "replaced");
    struct stat info {};
    ASSERT_EQ(stat((home.dir() / ".netrc").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(store.where(), "the netrc file " + (home.dir() / ".netrc"));
#endif
    EXPECT_EQ(store.forget(key), ForgetResult::Removed);
    EXPECT_EQ(store.find(key), std::nullopt);
    EXPECT_EQ(store.find(otherUser), "second");
    EXPECT_EQ(store.forget(otherUser), ForgetResult::Removed);
    EXPECT_EQ(store.forget(otherUser), ForgetResult::NotKept);
}

#ifndef _WIN32
// An existing netrc file keeps every other line byte for byte, and its new copy is private
// even when the old one was not.
TEST(PasswordStoreTest, NetrcFileKeepsOtherLines) {
    const StoreHome home;
    const std::string path = home.dir() / ".netrc";
    const std::string others = "# hosts\r\nmachine a login b password c\r\n\r\ndefault password d";
    testing::writeFile(path, others);
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_TRUE(systemPasswordStore().remember({"ftp", "h", "u"}, "p"));
    EXPECT_EQ(testing::readFile(path), others + "\nmachine h login u password p\n");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(systemPasswordStore().forget({"ftp", "h", "u"}), ForgetResult::Removed);
    EXPECT_EQ(testing::readFile(path), others + "\n");
    EXPECT_EQ(testing::filesIn(home.dir().path()).size(), 1u);  // no temporary file left
}
#endif

}  // namespace
}  // namespace pairweb::platform

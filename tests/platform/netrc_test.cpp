#include "platform/netrc.h"

#include <gtest/gtest.h>

namespace pairweb::platform {
namespace {

// Entries in the layouts people write them in, and what curl would take from them.
TEST(NetrcTest, FindsThePasswordOfHostAndUserAsCurlDoes) {
    const std::string file =
        "# the club's hosts\n"
        "machine ftp.example.org login other password not-this\n"
        "machine ftp.example.org\n"
        "  login club\n"
        "  password Se-cret\n"
        "macdef init\n"
        "machine ftp.example.org login club password in-a-macro\n"
        "\n"
        "machine quoted.example.org login \"c l\" password \"a \\\"b\\\" \\\\ c\\td\"\n"
        "machine anyone.example.org password for-all\n"
        "default login club password fallback\n";
    struct Case {
        const char* host;
        const char* user;
        std::optional<std::string> password;
    };
    const Case cases[] = {
        {"ftp.example.org", "club", "Se-cret"},
        {"ftp.example.org", "other", "not-this"},
        {"quoted.example.org", "c l", "a \"b\" \\ c\td"},
        {"anyone.example.org", "who", "for-all"},  // an entry without login serves any user
        {"elsewhere.example.org", "club", "fallback"},
        {"elsewhere.example.org", "nobody", std::nullopt},
        {"FTP.example.org", "nobody", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(netrcPassword(file, c.host, c.user), c.password) << c.host << " " << c.user;
    }
    EXPECT_EQ(netrcPassword("", "h", "u"), std::nullopt);
    EXPECT_EQ(netrcPassword("machine h login u password", "h", "u"), std::nullopt);
}

// Remembering replaces the entry of that host and user where it stands, or adds one at the
// end; every other line stays byte for byte, CR LF and comments included.
TEST(NetrcTest, RememberingReplacesOnlyThatEntry) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"", "machine h login u password \"p w\"\n"},
        {"machine a login u password x",
         "machine a login u password x\nmachine h login u "
         "password \"p w\"\n"},
        {"# mine\r\nmachine h\r\n  login u\r\n  password old\r\nmachine b login u password y\r\n",
         "# mine\r\nmachine h login u password \"p w\"\nmachine b login u password y\r\n"},
        {"machine h login other password o\nmachine h login u password old # note\n",
         "machine h login other password o\nmachine h login u password \"p w\"\n"},
        {"machine h login u password 1\nmachine z login u password z\nmachine h login u "
         "password 2\n",
         "machine h login u password \"p w\"\nmachine z login u password z\n"},
        {"machine a login u password x machine h login u password old machine c login u "
         "password y\n",
         "machine a login u password x machine h login u password \"p w\"\n machine c login u "
         "password y\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(netrcWithPassword(c.before, "h", "u", "p w"), c.after) << c.before;
    }
    const std::string odd = "a\"b\\c\nd";
    EXPECT_EQ(netrcPassword(netrcWithPassword("", "h", "u", odd), "h", "u"), odd);
    EXPECT_EQ(netrcToken("plain"), "plain");
    EXPECT_EQ(netrcToken(""), "\"\"");
    EXPECT_EQ(netrcToken("#x"), "\"#x\"");
}

TEST(NetrcTest, ForgettingRemovesOnlyThatEntry) {
    bool removed = false;
    const std::string file =
        "machine h login other password o\n"
        "machine h\n login u\n password p\n"
        "default password d\n";
    EXPECT_EQ(netrcWithout(file, "h", "u", removed),
              "machine h login other password o\ndefault password d\n");
    EXPECT_TRUE(removed);
    EXPECT_EQ(netrcWithout(file, "h", "nobody", removed), file);
    EXPECT_FALSE(removed);
}

}  // namespace
}  // namespace pairweb::platform

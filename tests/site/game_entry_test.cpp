// The site's game entry as generation and the password command leave it: which files the
// PGN folder gets, that every link of the admin page leads to a file of the site, and the
// admin password's file.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "page_test_support.h"
#include "site/admin_password.h"
#include "site/driver.h"
#include "site/layout.h"

namespace pairweb::site {
namespace {

namespace fs = std::filesystem;
using testing::fileExists;
using testing::filesIn;
using testing::readFile;
using testing::writeFile;

std::string hexOf(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += kDigits[static_cast<unsigned char>(c) >> 4];
        out += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return out;
}

// The file names that a game-entry file refers to in quotes ('/pgn_entry.php',
// "ltpgnviewer.css", './chess.js', 'password_protect_page.php?logout=1'): names of the
// site's PHP, script and style files, not the ones made at run time (".ht-...") or by the
// password command, nor the admin page at the site's top.
std::vector<std::string> referencedFiles(const std::string& text) {
    static constexpr std::string_view kPathCharacters = "abcdefghijklmnopqrstuvwxyz0123456789_.-/";
    std::vector<std::string> names;
    for (std::size_t at = text.find_first_of("'\""); at != std::string::npos;
         at = text.find_first_of("'\"", at + 1)) {
        const std::size_t end = text.find_first_not_of(kPathCharacters, at + 1);
        if (end == std::string::npos || (text[end] != text[at] && text[end] != '?')) continue;
        const std::string path = text.substr(at + 1, end - at - 1);
        const std::string name =
            path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
        if (!name.empty() && name[0] != '.' &&
            (name.ends_with(".php") || name.ends_with(".js") || name.ends_with(".css")) &&
            name != layout::kAdminPasswordFile && name != layout::kAdminPage) {
            names.push_back(name);
        }
    }
    return names;
}

class GameEntryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::useUtc();
        fs::create_directories(dir / "site");
        fs::create_directories(dir / "bin");
        // The program's real viewer folder, as the build puts it beside the executables.
        fs::copy(std::string(PAIRWEB_SOURCE_DIR) + "/pgnviewer", dir / "bin/pgnviewer",
                 fs::copy_options::recursive);
        ASSERT_TRUE(testing::writeTournament(dir / "event", testing::numberedPlayers(4),
                                             {{1, 1, 2, 2, 0}, {1, 3, 4, 1, 1}}));
        s.strFilename = dir / "event.trn";
        s.OutputIndex = dir / "site/index.html";
        s.FnamePrefix = "open";
    }
    testing::TempDir dir;
    settings::Settings s;
    testing::FixedPlatform platform{dir / "bin/pairweb", kTestTime};
};

TEST_F(GameEntryTest, PgnFilesBringTheGameEntryFilesAndEveryAdminLinkResolves) {
    s.MakePGN = 1;
    ASSERT_EQ(generateSite(s, platform).message, kGenerated);
    std::vector<std::string> expected(layout::kGameEntryFiles.begin(),
                                      layout::kGameEntryFiles.end());
    expected.push_back(layout::pgnFileName("open_", 1));
    expected.push_back(layout::viewerPageName("open_", 1));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(dir / "site/pgn"), expected);  // no viewer page without links to it

    // Every address admin.php names (its include, its stylesheet and its links) is a file
    // of the site; a page named in a link's query is one too.
    const std::string admin = readFile(dir / ("site/" + std::string(layout::kAdminPage)));
    std::vector<std::string> targets;
    for (const std::string_view opening : {"include \"", "OpenLTPgnViewer('", "href=\""}) {
        for (std::size_t at = admin.find(opening); at != std::string::npos;
             at = admin.find(opening, at + 1)) {
            const std::size_t start = at + opening.size();
            const std::size_t end = admin.find_first_of("\"'?&", start);
            targets.push_back(admin.substr(start, end - start));
            if (admin[end] == '?') {
                const std::size_t next = admin.find('&', end);
                targets.push_back("pgn/" + admin.substr(end + 1, next - end - 1));
            }
        }
    }
    int files = 0;
    for (const std::string& target : targets) {
        // The footer's product page, and the script link whose address follows it.
        if (target.starts_with("http") || target.starts_with("javascript:")) continue;
        EXPECT_TRUE(fileExists(dir / ("site/" + target))) << target;
        ++files;
    }
    EXPECT_EQ(files, 4);  // the include, round 1's entry page and its round, the stylesheet

    // Every file that the game-entry pages load, include or import, followed from admin.php's
    // include and links, is in the PGN folder, though the site has no links to the viewer.
    std::vector<std::string> pending = {std::string(layout::kPasswordProtectPage),
                                        std::string(layout::kGameEntryPage)};
    std::set<std::string> seen(pending.begin(), pending.end());
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        ASSERT_TRUE(fileExists(dir / ("site/pgn/" + name))) << name;
        for (const std::string& next : referencedFiles(readFile(dir / ("site/pgn/" + name)))) {
            if (seen.insert(next).second) pending.push_back(next);
        }
    }
    for (const std::string_view needed :
         {"pgn_entry.php", "pgnrecorder.js", "ltpgnviewer.js", "chess.js", "ltpgnviewer.css"}) {
        EXPECT_TRUE(seen.contains(std::string(needed))) << needed;
    }
}

TEST_F(GameEntryTest, GenerationNeverTouchesTheAdminPassword) {
    s.MakePGN = 1;
    s.LinkPGN = 1;
    writeFile(dir / "bin/pgnviewer/admin_password.php", "<?php return 'the program's';");
    fs::create_directories(dir / "site/pgn");
    writeFile(dir / "site/pgn/admin_password.php", "<?php return 'the site's';");
    ASSERT_EQ(generateSite(s, platform).message, kGenerated);
    EXPECT_EQ(readFile(dir / "site/pgn/admin_password.php"), "<?php return 'the site's';");
    fs::remove(dir / "site/pgn/admin_password.php");
    ASSERT_EQ(generateSite(s, platform).message, kGenerated);
    EXPECT_FALSE(fileExists(dir / "site/pgn/admin_password.php"));
}

TEST_F(GameEntryTest, PasswordFileHoldsTheHashAndRefusals) {
    int hashed = 0;
    const HashPassword stand_in = [&hashed](std::string_view password) {
        ++hashed;
        return std::optional<platform::PasswordHash>(
            {1000, "\x01\xAB", "hash of " + std::string(password)});
    };
    const std::pair<std::string, std::string_view> refused[] = {
        {"seven77", kPasswordTooShort},
        {"K\xC3\xB6ln 12", kPasswordTooShort},  // seven characters in eight bytes
    };
    for (const auto& [password, message] : refused) {
        EXPECT_EQ(setAdminPassword(s, password, stand_in, platform).message, message) << password;
    }
    EXPECT_EQ(hashed, 0);
    settings::Settings noFolder = s;
    noFolder.OutputIndex = dir / "missing/index.html";
    EXPECT_EQ(setAdminPassword(noFolder, "long enough", stand_in, platform).message,
              kNoOutputFolder);

    const std::string path = dir / "site/pgn/admin_password.php";
    EXPECT_EQ(setAdminPassword(s, "K\xC3\xB6ln 123", stand_in, platform).message,
              std::string(kPasswordSet) + path);
    EXPECT_EQ(
        readFile(path),
        "<?php\n"
        "// The admin password of this site's game entry, as a salted PBKDF2-SHA256 hash.\n"
        "// Written by \"pairweb-gen --admin-password\"; generating the site never touches it.\n"
        "return array('algorithm' => 'pbkdf2-sha256', 'iterations' => 1000, 'salt' => '01ab', "
        "'hash' => '" +
            hexOf("hash of K\xC3\xB6ln 123") + "');\n");
}

// The system's PBKDF2 gives the published test vector (RFC 7914, section 11), so PHP's
// hash_pbkdf2 checks what the program wrote.
TEST(PasswordHashTest, SystemPbkdf2MatchesTheKnownVectorAndSaltsDiffer) {
    const auto key = platform::pbkdf2Sha256("passwd", "salt", 1, 64);
    ASSERT_TRUE(key);
    EXPECT_EQ(hexOf(*key).substr(0, 32), "55ac046e56e3089fec1691c22544b605");
    const auto a = platform::hashPassword("correct horse");
    const auto b = platform::hashPassword("correct horse");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->iterations, platform::kPasswordIterations);
    EXPECT_GE(a->iterations, 100000);
    EXPECT_EQ(a->salt.size(), platform::kPasswordSaltBytes);
    EXPECT_NE(a->salt, b->salt);
    EXPECT_EQ(platform::pbkdf2Sha256("correct horse", a->salt, a->iterations, 32), a->hash);
}

}  // namespace
}  // namespace pairweb::site

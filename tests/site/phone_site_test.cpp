#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>

#include "phone_test_support.h"
#include "site/driver.h"
#include "site/pages.h"
#include "site/site_writer.h"

namespace pairweb::site {
namespace {

namespace fs = std::filesystem;
using testing::crlfLines;
using testing::readFile;

TEST(PhoneTextTest, NameKeysDropCaseAccentsAndEverythingButLettersAndDigits) {
    const struct {
        std::string name;
        std::string key;
    } cases[] = {
        {"O'Neill", "oneill"},
        {"Sin\xE9" "ad", "sinead"},
        {"N\xED Bhriain", "nibhriain"},
        {"\xC5str\xF6m", "astrom"},
        {"Dvo\xF8\xE1k", "dvooak"},
        {"Stra\xDF" "e", "strasse"},
        {"\xC6sir \x8C" "uvre \x9A" "a\x9E" "e \xFE" "orn", "aesiroeuvresazethorn"},
        {"Smith-Jones 2", "smithjones2"},
        {"\xD7\xF7", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(nameKey(c.name), c.key) << c.name;
}

TEST(PhoneTextTest, PointsWithTheHalfAsACharacterReference) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{0, "0"}, {0.5, "&frac12;"}, {1, "1"}, {2.5, "2&frac12;"}, {10, "10"}};
    for (const auto& c : cases) EXPECT_EQ(phonePoints(c.v), c.text) << c.v;
}

TEST(PhoneThemeTest, ContrastRatiosAsWcagDefinesThem) {
    const struct {
        const char* a;
        const char* b;
        double ratio;
    } cases[] = {
        {"#000000", "#ffffff", 21.0}, {"#ffffff", "#000000", 21.0}, {"#777777", "#777777", 1.0},
        {"#767676", "#ffffff", 4.54}, {"#777777", "#FFFFFF", 4.48}, {"#0000ff", "#ffffff", 8.59},
        {"red", "#ffffff", 1.0},      {"#12345", "#ffffff", 1.0},  {"#gg0000", "#ffffff", 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.005) << c.a << " on " << c.b;
    }
}

// The stylesheet's first line: the light theme's colours.
std::string lightTheme(const settings::Settings& s) {
    return crlfLines(phoneStylesheet(makePageOptions(s)))[0];
}

TEST(PhoneThemeTest, OrganisersColoursWhereTheyAreReadableElseNeutral) {
    const std::string neutralPage =
        "--bg:#ffffff;--fg:#1f2328;--a:#0550ae;--t:#1f2328;--tb:#ffffff;";
    const std::string neutralHead = "--hb:#eef1f4;--hf:#1f2328;";
    const std::string rest = "--ln:#d0d7de;--mb:#fff8c5;--mf:#1f2328}";
    // The defaults pass: black text, navy links and title on white, a pale blue table and
    // white on navy in the head.
    EXPECT_EQ(lightTheme(settings::Settings{}),
              ":root{color-scheme:light dark;--bg:#ffffff;--fg:#000000;--a:#000080;--t:#000080;"
              "--tb:#eaeaff;--hb:#000080;--hf:#ffffff;" + rest);
    const struct {
        const char* what;
        std::uint32_t settings::Settings::*field;
        std::uint32_t colour;
        bool pageNeutral;
        bool headNeutral;
    } cases[] = {
        {"grey text", &settings::Settings::TextColour1, 0x999999, true, false},
        {"pale links", &settings::Settings::LinkTextColour, 0xFFCCCC, true, false},
        {"pale title", &settings::Settings::TitleColour, 0xEEEEEE, true, false},
        {"dark tables", &settings::Settings::BGColourTable, 0x202020, true, false},
        {"yellow head text", &settings::Settings::HeadTextColour, 0x00FFFF, false, false},
        {"white head", &settings::Settings::BGColourHead, 0xFFFFFF, false, true},
    };
    for (const auto& c : cases) {
        settings::Settings s;
        s.*(c.field) = c.colour;
        const std::string theme = lightTheme(s);
        EXPECT_EQ(theme.find(neutralPage) != std::string::npos, c.pageNeutral) << c.what;
        EXPECT_EQ(theme.find(neutralHead) != std::string::npos, c.headNeutral) << c.what;
    }
}

TEST(PhoneThemeTest, DarkThemeAndPrintStyleAreAlwaysThere) {
    const std::vector<std::string> lines = crlfLines(phoneStylesheet(makePageOptions({})));
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[1],
              "@media (prefers-color-scheme:dark){:root{--bg:#0d1117;--fg:#e6edf3;--a:#58a6ff;"
              "--t:#e6edf3;--tb:#0d1117;--hb:#161b22;--hf:#e6edf3;--ln:#30363d;--mb:#3b2e00;"
              "--mf:#f0f6fc}}");
    EXPECT_EQ(lines.back().rfind("@media print{header,nav,footer,.s,.mk,.nt,#find{display:none}",
                                 0),
              0u);
    // Every colour pair of both neutral themes is readable.
    const char* pairs[][2] = {{"#1f2328", "#ffffff"}, {"#0550ae", "#ffffff"},
                              {"#1f2328", "#eef1f4"}, {"#1f2328", "#fff8c5"},
                              {"#e6edf3", "#0d1117"}, {"#58a6ff", "#0d1117"},
                              {"#e6edf3", "#161b22"}, {"#f0f6fc", "#3b2e00"}};
    for (const auto& pair : pairs) EXPECT_GE(contrastRatio(pair[0], pair[1]), 4.5) << pair[0];
}

class PhoneSiteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::useUtc();
        t = testing::loadTournament(dir / "phone", phoneEventPlayers(), phoneEventGames());
    }
    std::vector<PhoneFile> site(const std::string& url = {}, const MakeQrCode& qr = {}) const {
        const settings::Settings s = phoneSettings();
        const PhoneContext c =
            makePhoneContext(t, optionsFor(s), makePageLabels(s), s.TourneyName, "index.html");
        return phoneSite(c, url, qr);
    }
    static std::map<std::string, std::string> byName(const std::vector<PhoneFile>& files) {
        std::map<std::string, std::string> map;
        for (const PhoneFile& f : files) map[f.name] = f.content;
        return map;
    }
    testing::TempDir dir;
    data::Tournament t;
};

TEST_F(PhoneSiteTest, EveryFileInOrderWithTheVersionLast) {
    std::vector<std::string> names;
    for (const PhoneFile& f : site()) names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "phone.css", "phone.js", "index.html", "round1.html", "standings1.html",
                         "round2.html", "standings2.html", "round3.html", "round4.html",
                         "players.html", "player1.html", "player2.html", "player3.html",
                         "player4.html", "player5.html", "version.txt"}));
}

TEST_F(PhoneSiteTest, EveryPageCarriesTheVersionOfTheWholeSet) {
    const std::vector<PhoneFile> files = site();
    const std::string version = files.back().content;
    ASSERT_EQ(version.size(), 18u);
    EXPECT_EQ(version.substr(16), "\r\n");
    EXPECT_NE(version.substr(0, 16), kPhoneVersionPlaceholder);
    for (const PhoneFile& f : files) {
        if (!f.name.ends_with(".html")) continue;
        EXPECT_EQ(crlfLines(f.content)[1], "<html lang=\"en\" data-v=\"" + version.substr(0, 16) +
                                               "\">")
            << f.name;
    }
    // The same tournament gives the same version; a changed result another one.
    EXPECT_EQ(site().back().content, version);
    std::vector<testing::GameRow> games = phoneEventGames();
    games[6].whiteScore = 2;  // round 4, board 1 gets its result
    t = testing::loadTournament(dir / "changed", phoneEventPlayers(), games);
    EXPECT_NE(site().back().content, version);
}

TEST_F(PhoneSiteTest, PosterOnlyWithAPublicAddressAndItsQrCodeFromTheEncoder) {
    EXPECT_EQ(byName(site()).count("poster.html"), 0u);
    std::vector<std::string> asked;
    const MakeQrCode qr = [&asked](std::string_view text) -> std::optional<QrCode> {
        asked.emplace_back(text);
        return QrCode{1, {true}};
    };
    // The address gets its final "/" when it has none; the code is of UTF-8 text.
    const auto files = byName(site("https://club.example.org/k\xF6ln", qr));
    ASSERT_EQ(asked, std::vector<std::string>{"https://club.example.org/k\xC3\xB6ln/m/index.html"});
    const std::string& poster = files.at("poster.html");
    EXPECT_NE(poster.find("d=\"M4 4h1v1h-1z\""), std::string::npos);
    EXPECT_NE(poster.find(">https://club.example.org/k\xF6ln/m/index.html</a>"), std::string::npos);
    asked.clear();
    (void)site("https://club.example.org/open/", qr);
    EXPECT_EQ(asked, std::vector<std::string>{"https://club.example.org/open/m/index.html"});
}

TEST_F(PhoneSiteTest, ScriptAndStylesheetAskForNothingOutsideTheSite) {
    const auto files = byName(site());
    for (const char* name : {"phone.css", "phone.js", "index.html", "round1.html"}) {
        const std::string& text = files.at(name);
        EXPECT_EQ(text.find("http:"), std::string::npos) << name;
        EXPECT_EQ(text.find("https:"), std::string::npos) << name;
        EXPECT_EQ(text.find("@import"), std::string::npos) << name;
        EXPECT_EQ(text.find("@font-face"), std::string::npos) << name;
    }
    const std::string& script = files.at("phone.js");
    // The version is fetched past the cache, and every stored value is the site's own.
    EXPECT_NE(script.find("fetch('version.txt?'+t,{cache:'no-store'})"), std::string::npos);
    EXPECT_NE(script.find("'pairweb:'+location.pathname.replace("), std::string::npos);
    EXPECT_EQ(script.find("location.reload()"), script.rfind("location.reload()"));
    EXPECT_EQ(script.find("<meta http-equiv=\"refresh\""), std::string::npos);
}

// Driver runs of the phone event with and without phone pages.
class PhoneDriverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::useUtc();
        fs::create_directories(dir / "bin");
        ASSERT_TRUE(testing::writeTournament(dir / "event", phoneEventPlayers(), phoneEventGames()));
        s = phoneSettings();
        s.strFilename = dir / "event.trn";
        s.MakePGN = s.LinkPGN = 1;
    }
    // Every file under the folder, by relative path.
    static std::map<std::string, std::string> files(const fs::path& folder) {
        std::map<std::string, std::string> all;
        for (const auto& e : fs::recursive_directory_iterator(folder)) {
            if (e.is_regular_file()) {
                all[fs::relative(e.path(), folder).generic_string()] = readFile(e.path().string());
            }
        }
        return all;
    }
    std::map<std::string, std::string> run(const std::string& name, int phonePages) {
        fs::create_directories(dir / name);
        s.OutputIndex = dir / (name + "/index.html");
        s.PhonePages = phonePages;
        EXPECT_EQ(generateSite(s, platform).message, kGenerated);
        return files(dir / name);
    }
    testing::TempDir dir;
    settings::Settings s;
    testing::FixedPlatform platform{dir / "bin/pairweb", kTestTime};
};

TEST_F(PhoneDriverTest, WithoutPhonePagesTheSiteIsTheClassicOneAlone) {
    const auto classic = run("classic", 0);
    EXPECT_EQ(std::count_if(classic.begin(), classic.end(),
                            [](const auto& f) { return f.first.starts_with("m/"); }),
              0);
    EXPECT_EQ(classic.at("index.html"), framesetPage(s.TourneyName));
    EXPECT_EQ(crlfLines(classic.at("index.html"))[3], "</head>");
}

TEST_F(PhoneDriverTest, WithPhonePagesOnlyTheHomePageGainsItsOneLine) {
    const auto classic = run("classic", 0);
    const auto phone = run("phone", 1);
    for (const auto& [name, content] : classic) {
        if (name == "index.html") continue;
        ASSERT_EQ(phone.count(name), 1u) << name;
        EXPECT_EQ(phone.at(name), content) << name;
    }
    std::vector<std::string> home = crlfLines(classic.at("index.html"));
    home.insert(home.begin() + 3,
                "<script>if(screen.width<=700&&location.search!=\"?full\")"
                "location.replace(\"m/index.html\")</script>");
    EXPECT_EQ(crlfLines(phone.at("index.html")), home);
    std::vector<std::string> added;
    for (const auto& [name, content] : phone) {
        if (classic.count(name) == 0) added.push_back(name);
    }
    EXPECT_EQ(added, (std::vector<std::string>{
                         "m/index.html", "m/phone.css", "m/phone.js", "m/player1.html",
                         "m/player2.html", "m/player3.html", "m/player4.html", "m/player5.html",
                         "m/players.html", "m/round1.html", "m/round2.html", "m/round3.html",
                         "m/round4.html", "m/standings1.html", "m/standings2.html",
                         "m/version.txt"}));
    // The pages in the folder are the writers' pages, with the run's version in them.
    const std::string version = phone.at("m/version.txt").substr(0, 16);
    const data::Tournament again =
        testing::loadTournament(dir / "again", phoneEventPlayers(), phoneEventGames());
    std::string expected = phoneRoundPage(
        makePhoneContext(again, optionsFor(s), makePageLabels(s), s.TourneyName, "index.html"), 2);
    expected.replace(kPhoneVersionOffset, 16, version);
    EXPECT_EQ(phone.at("m/round2.html"), expected);
}

TEST_F(PhoneDriverTest, PosterWithTheEncodersCodeAndARunWithoutChangesRewritesNoPhoneFile) {
    s.PublicUrl = "https://club.example.org/open2026/";
    fs::create_directories(dir / "site");
    s.OutputIndex = dir / "site/index.html";
    const MakeQrCode qr = [](std::string_view) -> std::optional<QrCode> {
        return QrCode{1, {true}};
    };
    ASSERT_EQ(generateSite(s, platform, nullptr, qr).message, kGenerated);
    const std::string poster = readFile(dir / "site/m/poster.html");
    EXPECT_NE(poster.find("<svg class=\"qr\""), std::string::npos);
    EXPECT_NE(poster.find(">https://club.example.org/open2026/m/index.html</a>"),
              std::string::npos);
    // Marked files: a second run with the same tables leaves them as they are.
    std::map<std::string, fs::file_time_type> times;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& e : fs::directory_iterator(dir / "site/m")) {
        fs::last_write_time(e.path(), old);
        // As the file system keeps it (Windows keeps times in steps of 100 ns).
        times[e.path().filename().string()] = fs::last_write_time(e.path());
    }
    ASSERT_EQ(generateSite(s, platform, nullptr, qr).message, kGenerated);
    for (const auto& e : fs::directory_iterator(dir / "site/m")) {
        EXPECT_EQ(fs::last_write_time(e.path()), times.at(e.path().filename().string()))
            << e.path();
    }
}

}  // namespace
}  // namespace pairweb::site

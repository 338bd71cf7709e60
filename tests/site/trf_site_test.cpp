// Sites built from TRF files: the driver's checks and messages, real files from several
// pairing programs (read in place beside the project), and the bundled samples written out
// as TRF.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "data/loaders.h"
#include "data/scoring.h"
#include "data/trf_reader.h"
#include "data/windows1252.h"
#include "page_test_support.h"
#include "settings/settings_file.h"
#include "site/driver.h"
#include "support/trf_writer.h"

namespace pairweb::site {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

const std::string kTrfDir = PAIRWEB_TRF_DIR;

class TrfSiteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::useUtc();
        fs::create_directories(dir / "site");
        s.OutputIndex = dir / "site/index.html";
    }
    RunResult run(const std::string& trf, const std::string& site = "site") {
        s.strFilename = trf;
        s.OutputIndex = dir / (site + "/index.html");
        fs::create_directories(dir / site);
        return generateSite(s, platform, &skipped);
    }
    testing::TempDir dir;
    settings::Settings s;
    data::SkippedRows skipped;
    testing::FixedPlatform platform{dir / "bin/pairweb", kTestTime};
};

TEST_F(TrfSiteTest, ChecksAndMessagesOfTrfFiles) {
    const std::string players = "012 Open\n001    1      A" + std::string(80, ' ') + "\n";
    writeFile(dir / "event.TRF", players);
    writeFile(dir / "event.Trf", players);
    writeFile(dir / "nobody.trf", "012 Open\n022 Town\n");
    writeFile(dir / "event.trfx", players);
    writeFile(dir / "big.trf", std::string(data::kMaxTrfBytes + 1, '\n'));
    fs::create_directories(dir / "folder.trf");
    const struct {
        std::string trf, index;
        std::string_view message;
        RunOutcome outcome;
    } cases[] = {
        {dir / "missing.trf", dir / "site/index.html", kNoTrnFile, RunOutcome::NoTrnFile},
        {dir / "event.TRF", "index.html", kInvalidOutputPath, RunOutcome::InvalidOutputPath},
        // No games table is looked for; the output folder and the home page still are.
        {dir / "event.TRF", dir / "nowhere/index.html", kNoOutputFolder,
         RunOutcome::NoOutputFolder},
        {dir / "event.Trf", dir / "site/index.Html", kNotHtmlExtension,
         RunOutcome::NotHtmlExtension},
        {dir / "event.trfx", dir / "site/index.html", kNoScoFile, RunOutcome::NoScoFile},
        {dir / "folder.trf", dir / "site/index.html", kCannotReadTrf, RunOutcome::CannotReadTrf},
        {dir / "big.trf", dir / "site/index.html", kCannotReadTrf, RunOutcome::CannotReadTrf},
        {dir / "nobody.trf", dir / "site/index.html", kTrfHoldsNoPlayers,
         RunOutcome::TrfHoldsNoPlayers},
        {dir / "event.TRF", dir / "site/index.html", kGenerated, RunOutcome::Generated},
    };
    for (const auto& c : cases) {
        s.strFilename = c.trf;
        s.OutputIndex = c.index;
        const RunResult result = generateSite(s, platform);
        EXPECT_EQ(result.message, c.message) << c.trf << " / " << c.index;
        EXPECT_EQ(result.outcome, c.outcome) << c.trf << " / " << c.index;
    }
    EXPECT_NE(readFile(dir / "site/player_list.html").find("<td class=\"name\">A, </td>"),
              std::string::npos);
}

// The characters of one line of a TRF file as its reader sees them.
std::u32string characters(std::string_view line, bool utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < line.size();) {
        out += utf8 ? data::nextUtf8(line, i)
                    : data::windows1252ToUnicode(static_cast<unsigned char>(line[i++]));
    }
    return out;
}

// What the test itself reads from a file's player lines: the points column, and each
// round's points under the usual scoring.
struct LineFacts {
    double points = 0;
    std::vector<double> rounds;
};

std::map<int, LineFacts> lineFacts(const std::string& text) {
    const bool utf8 = data::isValidUtf8(text);
    std::map<int, LineFacts> facts;
    std::string normal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        normal += text[i] == '\r' ? '\n' : text[i];
    }
    std::size_t start = 0;
    while (start < normal.size()) {
        const std::size_t end = std::min(normal.find('\n', start), normal.size());
        const std::u32string line = characters(normal.substr(start, end - start), utf8);
        start = end + 1;
        if (line.size() < 8 || line.substr(0, 3) != U"001") continue;
        std::string rank, points;
        for (std::size_t k = 4; k < 8; ++k) rank += static_cast<char>(line[k]);
        for (std::size_t k = 80; k < 84 && k < line.size(); ++k)
            points += static_cast<char>(line[k]);
        LineFacts& f = facts[std::stoi(rank)];
        f.points = points.find_first_not_of(' ') == std::string::npos ? 0 : std::stod(points);
        for (std::size_t k = 98; k < line.size(); k += 10) {
            const char32_t c = line[k];
            f.rounds.push_back(std::u32string_view(U"1WwFfUu+").find(c) != std::u32string::npos ? 1
                               : std::u32string_view(U"=DdHh").find(c) != std::u32string::npos ? 0.5
                                                                                               : 0);
        }
    }
    return facts;
}

// Seed and points of every row of a standings page with only the seed column shown.
std::map<int, double> standingsPoints(const std::string& page) {
    std::map<int, double> points;
    const std::vector<std::string> lines = testing::crlfLines(page);
    for (std::size_t i = 0; i + 4 < lines.size(); ++i) {
        if (lines[i] != "<tr>" || lines[i + 2].rfind("<td>", 0) != 0) continue;
        const std::string seed = lines[i + 2].substr(4, lines[i + 2].size() - 9);
        const std::string& total = lines[i + 4];
        points[std::stoi(seed)] = std::stod(total.substr(17, total.size() - 22));
    }
    return points;
}

struct RealTrf {
    const char* file;
    int players;
    int rounds;
    int lastWithResults;
    bool team;
    bool pointsAgree;  // the points column is the sum of each line's round codes
};

const RealTrf kRealTrfs[] = {
    {"fide_example1_karl_mala_2005.trf", 284, 7, 7, false, true},
    {"javafo_trfx_sample2_gros_2010_crlf.trf", 52, 5, 4, false, true},  // round 5: a bye ahead
    {"lichess_swiss_2020_05_bullet_112p.trf", 112, 20, 20, false, true},
    {"bbppairings_issue7_cr_only.trf", 60, 14, 14, false, true},
    {"bbppairings_dutch2025_c5_future_z.trf", 6, 2, 2, false, true},  // round 3: absences only
    {"fide_tec_grandmommys_cup_trf26_team.trf", 249, 14, 14, true, true},
    {"sharly_trf26_individual_export.trf", 16, 5, 5, false, true},
    {"greek_friendship_cup_2024_team_utf8.trf", 129, 7, 7, true, false},
    {"icu_bunratty_masters_2011_crlf.trf", 34, 6, 6, false, false},
    {"icu_encoding_latin1.trf", 3, 3, 3, false, true},
    {"icu_encoding_utf8.trf", 3, 3, 3, false, true},
    {"icu_gonzaga_classic_2008.trf", 12, 5, 5, false, true},
    {"bilkent_swiss_round2_paired_no_result.trf", 21, 2, 1, false, true},
};

class RealTrfTest : public TrfSiteTest, public ::testing::WithParamInterface<RealTrf> {};

TEST_P(RealTrfTest, LoadsAndItsLatestStandingsMatchThePointsColumn) {
    const RealTrf& expected = GetParam();
    const std::string path = kTrfDir + "/" + expected.file;
    if (!fs::exists(path)) {
        GTEST_SKIP() << "the real TRF files are not beside the project: " << path;
    }
    data::Tournament t;
    ASSERT_EQ(data::loadTrf(path, t, {}), data::TrfStatus::Loaded);
    EXPECT_EQ(t.playerCount, expected.players);
    EXPECT_EQ(t.roundCount, expected.rounds);
    EXPECT_EQ(t.skipped.trf.teamRecords, expected.team);
    EXPECT_EQ(t.skipped.trf.pointsMismatches == 0, expected.pointsAgree);

    s.DisplaySeed = 1;
    ASSERT_EQ(run(path).message, kGenerated);
    const int n = expected.lastWithResults;
    EXPECT_FALSE(
        testing::fileExists(dir / ("site/standings_round" + std::to_string(n + 1) + ".html")));
    const std::map<int, double> shown =
        standingsPoints(readFile(dir / ("site/standings_round" + std::to_string(n) + ".html")));
    const std::map<int, LineFacts> facts = lineFacts(readFile(path));
    ASSERT_EQ(shown.size(), facts.size());
    bool agree = true;
    for (const auto& [rank, f] : facts) {
        double sum = 0;
        for (const double points : f.rounds) sum += points;
        agree = agree && sum == f.points;
    }
    ASSERT_EQ(agree, expected.pointsAgree);
    if (expected.team || !expected.pointsAgree) return;
    for (const auto& [rank, f] : facts) {
        double later = 0;
        for (std::size_t r = static_cast<std::size_t>(n); r < f.rounds.size(); ++r) {
            later += f.rounds[r];
        }
        ASSERT_EQ(shown.count(rank), 1u) << rank;
        EXPECT_EQ(shown.at(rank), f.points - later) << expected.file << " start rank " << rank;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RealTrfTest, ::testing::ValuesIn(kRealTrfs),
                         [](const ::testing::TestParamInfo<RealTrf>& param) {
                             std::string name = param.param.file;
                             name.resize(name.size() - 4);
                             return name;
                         });

// Every file of a site folder, by name.
std::map<std::string, std::string> siteFiles(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const std::string& name : testing::filesIn(folder)) {
        if (fs::is_regular_file(folder + "/" + name)) files[name] = readFile(folder + "/" + name);
    }
    return files;
}

TEST_F(TrfSiteTest, OneFileInWindows1252AndInUtf8GivesTheSameSite) {
    const std::string latin1 = kTrfDir + "/icu_encoding_latin1.trf";
    const std::string utf8 = kTrfDir + "/icu_encoding_utf8.trf";
    if (!fs::exists(latin1) || !fs::exists(utf8)) {
        GTEST_SKIP() << "the real TRF files are not beside the project: " << kTrfDir;
    }
    s.MakePGN = 1;
    ASSERT_EQ(run(latin1, "a").message, kGenerated);
    ASSERT_EQ(run(utf8, "b").message, kGenerated);
    const auto a = siteFiles(dir / "a");
    EXPECT_GT(a.size(), 8u);
    EXPECT_EQ(a, siteFiles(dir / "b"));
    EXPECT_NE(a.at("player_list.html").find("\xD6rr, M\xE2rk"), std::string::npos);
    EXPECT_EQ(data::trfTournamentName(utf8), "L\xE4s V\xE9gas National Ope\xF1");
}

// The bundled samples, loaded from their tables and written out as TRF, give the same
// standings pages, crosstable and player list as the tables (without the club and local
// rating, which TRF does not carry, and without links to games, whose boards it does not).
TEST_F(TrfSiteTest, SampleTablesWrittenAsTrfGiveTheSamePages) {
    for (const auto& [name, encoding] :
         {std::pair{"swiss_open", testing::TrfEncoding::Utf8},
          std::pair{"round_robin", testing::TrfEncoding::Windows1252}}) {
        const std::string base = std::string(PAIRWEB_SOURCE_DIR) + "/samples/" + name;
        settings::Settings sample;
        ASSERT_EQ(settings::readSettingsFile(base + ".cfg", sample).outcome,
                  settings::SettingsOutcome::Loaded);
        s = sample;
        s.DisplayClub = s.DisplayRating_2 = s.LinkPGN = s.MakePGN = 0;
        s.DisplaySeed = 1;
        ASSERT_EQ(run(base + ".trn", std::string("tables-") + name).message, kGenerated);

        data::Tournament t;
        t.players.resize(static_cast<std::size_t>(data::countTableRecords(base + ".trn")));
        t.playerCount = data::loadPlayers(base + ".trn", t.players, {});
        t.roundCount = data::loadPairings(base + ".sco", t.rounds, t.players, t.playerCount);
        data::computeTournament(t);
        writeFile(dir / (std::string(name) + ".trf"), testing::trfText(t, s.TourneyName, encoding));
        ASSERT_EQ(run(dir / (std::string(name) + ".trf"), std::string("trf-") + name).message,
                  kGenerated);
        EXPECT_EQ(skipped.trf.pointsMismatches + skipped.trf.oneSidedGames, 0);

        const auto tables = siteFiles(dir / (std::string("tables-") + name));
        const auto trf = siteFiles(dir / (std::string("trf-") + name));
        int compared = 0;
        int commenced = 0;
        for (int r = 0; r < t.roundCount; ++r)
            commenced += t.rounds[static_cast<std::size_t>(r)].commenced;
        for (const auto& [file, text] : tables) {
            if (file.rfind("standings_round", 0) == 0 || file == "crosstable.html" ||
                file == "player_list.html") {
                ASSERT_EQ(trf.count(file), 1u) << name << " " << file;
                EXPECT_EQ(trf.at(file), text) << name << " " << file;
                ++compared;
            }
        }
        EXPECT_EQ(compared, commenced + 2) << name;
        EXPECT_GE(commenced, 8) << name;
    }
}

}  // namespace
}  // namespace pairweb::site

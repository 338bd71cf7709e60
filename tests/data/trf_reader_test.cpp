// The TRF reader: the player line, the round columns, and the games they make.
#include "data/trf_reader.h"

#include <gtest/gtest.h>

#include "data/windows1252.h"
#include "support/test_env.h"

namespace pairweb::data {
namespace {

std::string right(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}
std::string left(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

// One round of a player line: opponent (0 written "0000"), colour and result code.
std::string g(int opponent, char colour, char code) {
    return right(opponent == 0 ? "0000" : std::to_string(opponent), 4) + " " + colour + " " + code +
           "  ";
}

// A player line in the layout of the format, its rounds from column 92.
std::string line(const std::string& rank, const std::string& name,
                 const std::vector<std::string>& rounds = {}, const std::string& title = "",
                 const std::string& rating = "", const std::string& federation = "",
                 const std::string& points = "") {
    std::string s = "001 " + right(rank, 4) + "  " + right(title, 3) + " " + left(name, 33) + " " +
                    right(rating, 4) + " " + left(federation, 3) + std::string(24, ' ') +
                    right(points, 4) + std::string(7, ' ');
    for (const std::string& r : rounds) s += r;
    return s;
}

Tournament read(const std::string& text, TrfStatus expected = TrfStatus::Loaded) {
    Tournament t;
    EXPECT_EQ(readTrf(text, t, {"Sum Prog", "Buchholz", "MBuchholz"}), expected);
    return t;
}

TEST(TrfReaderTest, PlayerLineFields) {
    const struct {
        std::string line;
        int id;
        std::string surname, firstName, title, federation;
        int rating;
    } cases[] = {
        {line("1", "Vasquez,Rodrigo", {}, "g", "2558", "CHI"), 1, "Vasquez", "Rodrigo", "GM", "CHI",
         2558},
        {line("12", "Short, Nigel", {}, "GM", "2658", "ENG"), 12, "Short", "Nigel", "GM", "ENG",
         2658},
        {line("7", "Kiese,Matthias,Dr.", {}, "m", "0000"), 7, "Kiese", "Matthias,Dr.", "IM", "", 0},
        {line("3", "Mirzoev Azer", {}, "f", "abcd", "AZE"), 3, "Mirzoev Azer", "", "FM", "AZE", 0},
        {line("399", " sherwin--tiu", {}, "wg", "2529"), 399, "sherwin--tiu", "", "WGM", "", 2529},
        {"001    5    m Short", 5, "Short", "", "IM", "", 0},  // the line ends after the name
    };
    for (const auto& c : cases) {
        const Tournament t = read(c.line);
        ASSERT_EQ(t.playerCount, 1) << c.line;
        const Player& p = t.players[0];
        EXPECT_EQ(p.id, c.id);
        EXPECT_EQ(p.startRank, c.id);
        EXPECT_EQ(p.startRankKey[39], -static_cast<float>(c.id));
        EXPECT_EQ(p.surname, c.surname) << c.line;
        EXPECT_EQ(p.firstName, c.firstName) << c.line;
        EXPECT_EQ(p.title, c.title) << c.line;
        EXPECT_EQ(p.federation, c.federation) << c.line;
        EXPECT_EQ(p.intlRating, c.rating) << c.line;
        EXPECT_EQ(p.localRating, 0);
        EXPECT_EQ(p.club, "");
    }
}

TEST(TrfReaderTest, TitlesInAnyCaseAndTheirLetters) {
    const std::pair<std::string, std::string> cases[] = {
        {"GM", "GM"},   {"g", "GM"},   {"G", "GM"},    {"gm", "GM"},   {"IM", "IM"},
        {"m", "IM"},    {"FM", "FM"},  {"f", "FM"},    {"WGM", "WGM"}, {"wg", "WGM"},
        {"WIM", "WIM"}, {"wm", "WIM"}, {"WFM", "WFM"}, {"wf", "WFM"},  {"CM", ""},
        {"WCM", ""},    {"c", ""},     {"", ""},       {"x", ""},
    };
    for (const auto& [code, title] : cases) {
        EXPECT_EQ(read(line("1", "A", {}, code)).players[0].title, title) << code;
    }
}

TEST(TrfReaderTest, StartRanksOutsideTheModelAreSkippedAndCounted) {
    const Tournament t =
        read(line("0", "Zero") + "\n" + line("400", "Big") + "\n" + line("ab", "Text") + "\n" +
             line("", "Blank") + "\n" + line("2", "Kept"));
    ASSERT_EQ(t.playerCount, 1);
    EXPECT_EQ(t.players[0].surname, "Kept");
    EXPECT_EQ(t.skipped.startRankOutOfRange, 4);
    EXPECT_EQ(
        read("012 Nobody\n" + line("0", "Zero"), TrfStatus::NoPlayers).skipped.startRankOutOfRange,
        1);
}

// Round 1 of players 1 and 2 (and 3, who has a bye of a point so the round exists).
struct PairCase {
    std::string one, two;  // the players' round 1
    int white, black;
    float whiteScore;
    int whiteType;
    float scoreOne, scoreTwo;
    int oneSided;
};

TEST(TrfReaderTest, PairingsFromBothLines) {
    const PairCase cases[] = {
        {g(2, 'w', '1'), g(1, 'b', '0'), 1, 2, 1, 0, 1, 0, 0},
        {g(2, 'b', '1'), g(1, 'w', '0'), 2, 1, 0, 0, 1, 0, 0},
        {g(2, 'w', '='), g(1, 'b', '='), 1, 2, 0.5f, 0, 0.5f, 0.5f, 0},
        {g(2, 'w', 'W'), g(1, 'b', 'l'), 1, 2, 1, 0, 1, 0, 0},
        {g(2, 'W', 'd'), g(1, 'B', 'D'), 1, 2, 0.5f, 0, 0.5f, 0.5f, 0},
        {g(2, 'w', '+'), g(1, 'b', '-'), 1, 2, 1, 35, 1, 0, 0},
        {g(2, 'w', '-'), g(1, 'b', '+'), 1, 2, 0, 34, 0, 1, 0},
        {g(2, 'w', '-'), g(1, 'b', '-'), 1, 2, 0, 36, 0, 0, 0},
        // Forfeits with colour "-", both white, both black: the lower start rank is white.
        {g(2, '-', '+'), g(1, '-', '-'), 1, 2, 1, 35, 1, 0, 0},
        {g(2, '-', '-'), g(1, '-', '+'), 1, 2, 0, 34, 0, 1, 0},
        {g(2, 'w', '1'), g(1, 'w', '0'), 1, 2, 1, 0, 1, 0, 0},
        {g(2, 'b', '0'), g(1, 'b', '1'), 1, 2, 0, 0, 0, 1, 0},
        // Paired, no result yet.
        {g(2, 'w', ' '), g(1, 'b', ' '), 1, 2, -1, 0, 0, 0, 0},
        // Only one line shows the game: it decides both sides.
        {g(2, 'b', '1'), "", 2, 1, 0, 0, 1, 0, 1},
        {"", g(1, 'w', '+'), 2, 1, 1, 35, 0, 1, 1},
    };
    for (const PairCase& c : cases) {
        const Tournament t = read(line("1", "One", {c.one}) + "\n" + line("2", "Two", {c.two}) +
                                  "\n" + line("3", "Three", {g(0, '-', 'U')}));
        ASSERT_EQ(t.roundCount, 1) << c.one << "|" << c.two;
        const RoundRecord& r = t.rounds[0];
        EXPECT_EQ(r.number, 1);
        ASSERT_EQ(r.boardCount, 1) << c.one << "|" << c.two;
        EXPECT_EQ(r.white[0], c.white) << c.one << "|" << c.two;
        EXPECT_EQ(r.black[0], c.black) << c.one << "|" << c.two;
        EXPECT_EQ(r.whiteScore[0], c.whiteScore) << c.one << "|" << c.two;
        EXPECT_EQ(r.whiteType[0], c.whiteType) << c.one << "|" << c.two;
        const RoundEntry one = t.players[0].gameInRound(0);
        const RoundEntry two = t.players[1].gameInRound(0);
        EXPECT_EQ(one.score, c.scoreOne) << c.one << "|" << c.two;
        EXPECT_EQ(two.score, c.scoreTwo) << c.one << "|" << c.two;
        EXPECT_EQ(one.opponent, 2);
        EXPECT_EQ(two.opponent, 1);
        EXPECT_EQ(one.colour, c.white == 1 ? 1 : 0);
        EXPECT_EQ(one.board, 1);
        EXPECT_EQ(one.gameTotal, c.scoreOne + c.scoreTwo);
        EXPECT_EQ(t.skipped.trf.oneSidedGames, c.oneSided) << c.one << "|" << c.two;
        EXPECT_EQ(r.unpairedCount, 1);
        EXPECT_EQ(r.unpairedId[0], 3);
    }
}

TEST(TrfReaderTest, OneSidedGameLeavesTheOpponentsOwnEntry) {
    // Player 2's line has a half-point bye where player 1's line shows a game against 2;
    // player 1 names a player with no line in round 2.
    const Tournament t = read(line("1", "One", {g(2, 'w', '1'), g(9, 'b', '1')}) + "\n" +
                              line("2", "Two", {g(0, '-', 'H'), g(0, '-', 'U')}));
    ASSERT_EQ(t.rounds[0].boardCount, 1);
    EXPECT_EQ(t.players[1].gameInRound(0).colour, 2);
    EXPECT_EQ(t.players[1].gameInRound(0).score, 0.5f);
    ASSERT_EQ(t.rounds[1].boardCount, 0);
    ASSERT_EQ(t.rounds[1].unpairedCount, 2);
    EXPECT_EQ(t.rounds[1].unpairedId[0], 1);
    EXPECT_EQ(t.rounds[1].unpairedScore[0], 1.0f);
    EXPECT_EQ(t.skipped.trf.oneSidedGames, 2);
    // Player 4's line claims a game against 2, who played 3: 2 keeps the win over 3.
    const Tournament u =
        read(line("2", "Two", {g(3, 'w', '1')}) + "\n" + line("3", "Three", {g(2, 'b', '0')}) +
             "\n" + line("4", "Four", {g(2, 'b', '1')}));
    ASSERT_EQ(u.rounds[0].boardCount, 2);
    EXPECT_EQ(u.rounds[0].white[1], 2);
    EXPECT_EQ(u.rounds[0].black[1], 4);
    EXPECT_EQ(u.players[0].gameInRound(0).opponent, 3);
    EXPECT_EQ(u.players[0].gameInRound(0).score, 1.0f);
}

TEST(TrfReaderTest, UnpairedCodes) {
    const std::pair<char, float> cases[] = {
        {'H', 0.5f}, {'=', 0.5f}, {'D', 0.5f}, {'h', 0.5f}, {'F', 1}, {'U', 1},
        {'+', 1},    {'1', 1},    {'W', 1},    {'Z', 0},    {'0', 0}, {'L', 0},
        {'z', 0},    {'-', -1},   {' ', -1},   {'X', -1},
    };
    for (const auto& [code, points] : cases) {
        const Tournament t =
            read(line("3", "Three", {g(0, '-', code)}) + "\n" + line("1", "One", {g(2, 'w', '1')}) +
                 "\n" + line("2", "Two", {g(1, 'b', '0')}));
        const RoundRecord& r = t.rounds[0];
        const RoundEntry e = t.players[0].gameInRound(0);
        if (points < 0) {
            EXPECT_EQ(r.unpairedCount, 0) << code;
            EXPECT_EQ(e.colour, -1) << code;
            continue;
        }
        ASSERT_EQ(r.unpairedCount, 1) << code;
        EXPECT_EQ(r.unpairedId[0], 3);
        EXPECT_EQ(r.unpairedScore[0], points) << code;
        EXPECT_EQ(e.colour, 2);
        EXPECT_EQ(e.score, points) << code;
        EXPECT_EQ(e.gameTotal, 1.0f);  // read after the round's pairings
    }
}

TEST(TrfReaderTest, RoundsThatAreNotRoundsAndEmptyRoundsBetween) {
    // Round 2 is empty for everyone, round 3 played, round 4 only future absences.
    const Tournament t =
        read(line("1", "One", {g(2, 'w', '1'), "          ", g(2, 'b', '='), g(0, '-', 'Z')}) +
             "\n" + line("2", "Two", {g(1, 'b', '0'), std::string(10, ' '), g(1, 'w', '=')}));
    EXPECT_EQ(t.roundCount, 3);
    EXPECT_EQ(t.rounds[1].number, -1);
    EXPECT_EQ(t.rounds[1].boardCount + t.rounds[1].unpairedCount, 0);
    EXPECT_EQ(t.rounds[2].number, 3);
    EXPECT_EQ(t.rounds[3].number, -1);
    EXPECT_EQ(t.players[0].gameInRound(3).colour, -1);
    // A bye given ahead makes its round a round.
    EXPECT_EQ(read(line("1", "One", {g(0, '-', 'Z'), g(0, '-', 'H')})).roundCount, 2);
}

TEST(TrfReaderTest, BoardsByPointsBeforeTheRoundThenSumThenLowerRank) {
    // After round 1: 1, 3, 5 have a point, 6 half a point, 2, 4 nothing.
    const Tournament t = read(line("1", "A", {g(2, 'w', '1'), g(6, 'w', '1')}) + "\n" +
                              line("2", "B", {g(1, 'b', '0'), g(4, 'w', '1')}) + "\n" +
                              line("3", "C", {g(4, 'w', '1'), g(5, 'b', '1')}) + "\n" +
                              line("4", "D", {g(3, 'b', '0'), g(2, 'b', '0')}) + "\n" +
                              line("5", "E", {g(0, '-', 'U'), g(3, 'w', '0')}) + "\n" +
                              line("6", "F", {g(0, '-', 'H'), g(1, 'b', '0')}));
    const RoundRecord& r = t.rounds[1];
    ASSERT_EQ(r.boardCount, 3);
    // 3-5 (1 and 1), then 1-6 (1 and 0.5), then 2-4 (0 and 0).
    EXPECT_EQ(r.white[0], 5);
    EXPECT_EQ(r.white[1], 1);
    EXPECT_EQ(r.white[2], 2);
    EXPECT_EQ(t.players[2].gameInRound(1).board, 1);
}

TEST(TrfReaderTest, UnpairedEntriesFollowInStartRankOrder) {
    const Tournament t =
        read(line("3", "C", {g(0, '-', 'H')}) + "\n" + line("1", "A", {g(0, '-', 'U')}) + "\n" +
             line("2", "B", {g(0, '-', 'Z')}));
    const RoundRecord& r = t.rounds[0];
    ASSERT_EQ(r.unpairedCount, 3);
    EXPECT_EQ(r.unpairedId[0], 1);
    EXPECT_EQ(r.unpairedId[1], 2);
    EXPECT_EQ(r.unpairedId[2], 3);
    EXPECT_EQ(t.players[1].gameInRound(0).gameTotal, 0.0f);  // no board gave a total
}

TEST(TrfReaderTest, EncodingsAndLineEndsGiveTheSameTournament) {
    // A Windows-1252 file, the same text in UTF-8 (columns counted in characters), with a
    // byte-order mark, with CR LF and lone CR line ends.
    const std::string windows =
        "012 K\xF6ln\n" + line("1", "M\xFCller,J\xFCrgen", {g(2, 'w', '1')}, "", "2100", "GER") +
        "\n" +
        line("2",
             "\x8A"
             "koda,Ann",
             {g(1, 'b', '0')});
    const std::string utf8 = windows1252ToUtf8(windows);
    std::string crlf;
    std::string cr;
    for (const char c : utf8) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    for (const std::string& text :
         {windows, utf8, "\xEF\xBB\xBF" + utf8, crlf, cr, crlf + "\r\n\r\n"}) {
        const Tournament t = read(text);
        ASSERT_EQ(t.playerCount, 2);
        EXPECT_EQ(t.players[0].surname, "M\xFCller");
        EXPECT_EQ(t.players[0].firstName, "J\xFCrgen");
        EXPECT_EQ(t.players[0].intlRating, 2100);
        EXPECT_EQ(t.players[0].federation, "GER");
        EXPECT_EQ(t.players[1].surname, "\x8Akoda");
        EXPECT_EQ(t.rounds[0].boardCount, 1);
        EXPECT_EQ(t.rounds[0].whiteScore[0], 1.0f);
        EXPECT_EQ(t.skipped.trf.unmappedCharacters, 0);
        EXPECT_EQ(trfTournamentNameOf(text), "K\xF6ln");
    }
}

TEST(TrfReaderTest, CharactersWindows1252LacksBecomeQuestionMarks) {
    std::string text = line("1", "~~~~~,Nikos~", {}, "", "1500");
    text.replace(text.find("~~~~~"), 5, "\xCE\x9A\xCE\xBF\xCF\x81\xCE\xB1\xCE\xBB");  // Greek
    text.replace(text.find('~'), 1, "\xE2\x82\xAC");  // the euro sign is in Windows-1252
    const Tournament t = read(text);
    EXPECT_EQ(t.players[0].surname, "?????");
    EXPECT_EQ(t.players[0].firstName, "Nikos\x80");
    EXPECT_EQ(t.players[0].intlRating, 1500);  // still in its columns
    EXPECT_EQ(t.skipped.trf.unmappedCharacters, 5);
}

TEST(TrfReaderTest, RecordsOtherThanPlayersAreSkipped) {
    const std::string players = line("1", "A", {g(0, '-', 'U')});
    const struct {
        std::string other;
        bool team;
    } cases[] = {
        {"###      1         2", false},
        {"XXR 9", false},
        {"240 H   2    4", false},
        {"IND    1   GM Player", false},
        {"", false},
        {"  001 not at the start", false},
        {"013 Team A    1    2", true},
        {"310   1 India", true},
        {"300   1  16   4", true},
        {"801  1 IND   15", true},
        {"802   1 IND", true},
        {"320  1    2.0", true},
    };
    for (const auto& c : cases) {
        const Tournament t = read(c.other + "\n" + players + "\n" + c.other);
        EXPECT_EQ(t.playerCount, 1) << c.other;
        EXPECT_EQ(t.skipped.trf.teamRecords, c.team) << c.other;
    }
}

TEST(TrfReaderTest, PointsColumnIsCheckedNotUsed) {
    std::string text;
    for (int k = 1; k <= 8; ++k) {
        // Players 2 to 8 claim a point they did not score; player 1's column agrees.
        text += line(std::to_string(k), "P", {g(0, '-', k == 1 ? 'U' : 'Z')}, "", "", "",
                     k == 1 ? "1.0" : "1") +
                "\n";
    }
    text += line("9", "Blank points", {g(0, '-', 'U')}) + "\n";
    const Tournament t = read(text);
    EXPECT_EQ(t.players[2].scoreInRound(0), 0.0f);
    EXPECT_EQ(t.skipped.trf.pointsMismatches, 7);
    EXPECT_EQ(t.skipped.trf.mismatchRanks, (std::vector<int>{2, 3, 4, 5, 6}));
}

TEST(TrfReaderTest, BoundsOfTheModelHold) {
    // 41 rounds on one line; 401 players (one start rank used twice).
    std::vector<std::string> rounds(41, g(0, '-', 'U'));
    std::string text = line("1", "Long", rounds) + "\n";
    for (int k = 2; k <= 401; ++k) text += line(std::to_string(k <= 399 ? k : k - 390), "P") + "\n";
    const Tournament t = read(text);
    EXPECT_EQ(t.playerCount, 400);
    EXPECT_EQ(t.skipped.playersBeyondLimit, 1);
    EXPECT_EQ(t.skipped.trf.roundsBeyondLimit, 1);
    EXPECT_EQ(t.roundCount, 40);
    // Of two lines with one start rank, the last holds the games.
    const Tournament twice =
        read(line("1", "Old", {g(2, 'w', '1')}) + "\n" + line("2", "B", {g(1, 'b', '0')}) + "\n" +
             line("1", "New", {g(2, 'w', '0')}));
    ASSERT_EQ(twice.playerCount, 3);
    EXPECT_EQ(twice.players[0].gameInRound(0).colour, -1);
    EXPECT_EQ(twice.players[2].gameInRound(0).score, 0.0f);
    EXPECT_EQ(twice.rounds[0].boardCount, 1);
}

TEST(TrfReaderTest, FilesNamesAndTitles) {
    const std::pair<std::string, bool> paths[] = {
        {"a.trf", true},   {"A.TRF", true}, {"x/y.Trf", true}, {"a.trn", false},
        {"a.trfx", false}, {"trf", false},  {".trf", true},    {"", false},
    };
    for (const auto& [path, trf] : paths) EXPECT_EQ(isTrfPath(path), trf) << path;
    testing::TempDir dir;
    Tournament t;
    EXPECT_EQ(loadTrf(dir / "missing.trf", t, {}), TrfStatus::Unreadable);
    testing::writeFile(dir / "e.trf", "012   Spring Open  \n012 Second\n" + line("1", "A"));
    EXPECT_EQ(loadTrf(dir / "e.trf", t, {}), TrfStatus::Loaded);
    EXPECT_EQ(trfTournamentName(dir / "e.trf"), "Spring Open");
    EXPECT_EQ(trfTournamentName(dir / "missing.trf"), std::nullopt);
    EXPECT_EQ(trfTournamentNameOf("012    \n"), std::nullopt);
    EXPECT_EQ(trfTournamentNameOf("022 Town\n"), std::nullopt);
}

}  // namespace
}  // namespace pairweb::data

#include <gtest/gtest.h>

#include "phone_test_support.h"

namespace pairweb::site {
namespace {

using testing::crlfLines;

class PhonePagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::useUtc();
        t = testing::loadTournament(dir / "phone", phoneEventPlayers(), phoneEventGames());
    }
    PhoneContext context(const settings::Settings& s) const {
        return makePhoneContext(t, optionsFor(s), makePageLabels(s), s.TourneyName, "index.html");
    }
    testing::TempDir dir;
    data::Tournament t;
};

std::vector<std::string> seatsHeads() { return {"Name", "Board", "Colour", "Opponent", "Result"}; }
std::vector<std::string> pairingsHeads() { return {"Board", "White", "Result", "Black"}; }

// The page: head, the middle lines, footer.
std::vector<std::string> page(const std::string& title, const std::vector<std::string>& middle) {
    std::vector<std::string> lines = phoneHead(title);
    append(lines, middle);
    append(lines, phoneFooter());
    return lines;
}

TEST_F(PhonePagesTest, ContextKnowsTheCurrentRoundAndTheOrderByName) {
    const PhoneContext c = context(phoneSettings());
    EXPECT_EQ(c.currentRound, 4);  // the highest round with pairings
    EXPECT_FALSE(c.currentComplete);
    EXPECT_EQ(c.lastCommenced, 1);  // round 2
    // Adams, Cole, Egan, Ní Bhriain, O'Neill: accents and apostrophes do not count.
    EXPECT_EQ(c.alphabetical, (std::vector<int>{0, 3, 4, 1, 2}));
    EXPECT_EQ(c.rank, (std::vector<int>{1, 5, 3, 4, 2}));
}

TEST_F(PhonePagesTest, RoundWithAWinADrawAndAFullPointBye) {
    std::vector<std::string> middle = {
        "<nav class=\"pn\"><a href=\"standings1.html\">Standings</a> "
        "<a href=\"round2.html\">Round 2</a></nav>",
        kPhoneSearch};
    append(middle, phoneTable("p", "Pairings", true, pairingsHeads()));
    append(middle, {
                       "<tr><td>1</td><td>" + kAdams + " (0)</td><td>1-0</td><td>" + kBhriain +
                           " (0)</td></tr>",
                       "<tr><td>2</td><td>" + kONeill + " (0)</td><td>&frac12;-&frac12;</td><td>" +
                           kCole + " (0)</td></tr>",
                       "<tr><td></td><td>" + kEgan + " (0)</td><td>1</td><td>Bye</td></tr>",
                       kPhoneTableEnd,
                   });
    append(middle, phoneTable("a", "Player List", true, seatsHeads()));
    append(middle, {
                       "<tr><th scope=\"row\">" + kAdams + "</th><td>1</td><td>White</td><td>" +
                           kBhriain + "</td><td>1</td></tr>",
                       "<tr><th scope=\"row\">" + kCole + "</th><td>2</td><td>Black</td><td>" +
                           kONeill + "</td><td>&frac12;</td></tr>",
                       "<tr><th scope=\"row\">" + kEgan +
                           "</th><td></td><td></td><td>Bye</td><td>1</td></tr>",
                       "<tr><th scope=\"row\">" + kBhriain + "</th><td>1</td><td>Black</td><td>" +
                           kAdams + "</td><td>0</td></tr>",
                       "<tr><th scope=\"row\">" + kONeill + "</th><td>2</td><td>White</td><td>" +
                           kCole + "</td><td>&frac12;</td></tr>",
                       kPhoneTableEnd,
                   });
    EXPECT_EQ(crlfLines(phoneRoundPage(context(phoneSettings()), 1)),
              page("Round 1: Pairings", middle));
}

TEST_F(PhonePagesTest, RoundWithAForfeitAndAHalfPointBye) {
    std::vector<std::string> middle = {
        "<nav class=\"pn\"><a href=\"round1.html\">Round 1</a> "
        "<a href=\"standings2.html\">Standings</a> <a href=\"round3.html\">Round 3</a></nav>",
        kPhoneSearch};
    // Points before the round are the points after round 1.
    append(middle, phoneTable("p", "Pairings", true, pairingsHeads()));
    append(middle, {
                       "<tr><td>1</td><td>" + kCole + " (&frac12;)</td><td>-/+</td><td>" + kAdams +
                           " (1)</td></tr>",
                       "<tr><td>2</td><td>" + kBhriain + " (0)</td><td>0-1</td><td>" + kEgan +
                           " (1)</td></tr>",
                       "<tr><td></td><td>" + kONeill +
                           " (&frac12;)</td><td>&frac12;</td><td>Bye</td></tr>",
                       kPhoneTableEnd,
                   });
    append(middle, phoneTable("a", "Player List", true, seatsHeads()));
    append(middle, {
                       "<tr><th scope=\"row\">" + kAdams + "</th><td>1</td><td>Black</td><td>" +
                           kCole + "</td><td>+</td></tr>",
                       "<tr><th scope=\"row\">" + kCole + "</th><td>1</td><td>White</td><td>" +
                           kAdams + "</td><td>-</td></tr>",
                       "<tr><th scope=\"row\">" + kEgan + "</th><td>2</td><td>Black</td><td>" +
                           kBhriain + "</td><td>1</td></tr>",
                       "<tr><th scope=\"row\">" + kBhriain + "</th><td>2</td><td>White</td><td>" +
                           kEgan + "</td><td>0</td></tr>",
                       "<tr><th scope=\"row\">" + kONeill +
                           "</th><td></td><td></td><td>Bye</td><td>&frac12;</td></tr>",
                       kPhoneTableEnd,
                   });
    EXPECT_EQ(crlfLines(phoneRoundPage(context(phoneSettings()), 2)),
              page("Round 2: Pairings", middle));
}

TEST_F(PhonePagesTest, UnpairedRoundListsEveryPlayerAsNotPaired) {
    std::vector<std::string> middle = {
        "<nav class=\"pn\"><a href=\"round2.html\">Round 2</a> "
        "<a href=\"round4.html\">Round 4</a></nav>",
        "<p class=\"d\">Results are provisional</p>", kPhoneSearch};
    append(middle, phoneTable("p", "Pairings", true, pairingsHeads()));
    middle.push_back(kPhoneTableEnd);
    append(middle, phoneTable("a", "Player List", true, seatsHeads()));
    for (const std::string& name : {kAdams, kCole, kEgan, kBhriain, kONeill}) {
        middle.push_back("<tr><th scope=\"row\">" + name +
                         "</th><td></td><td></td><td>Not paired</td><td></td></tr>");
    }
    middle.push_back(kPhoneTableEnd);
    EXPECT_EQ(crlfLines(phoneRoundPage(context(phoneSettings()), 3)),
              page("Round 3: Pairings", middle));
}

// Round 4's rows, shared by its page and the phone home.
std::vector<std::string> roundFourPairings() {
    std::vector<std::string> lines = phoneTable("p", "Pairings", true, pairingsHeads());
    append(lines, {
                      "<tr><td>1</td><td>" + kAdams + " (2)</td><td></td><td>" + kONeill +
                          " (1)</td></tr>",
                      "<tr><td>2</td><td>" + kEgan + " (2)</td><td></td><td>" + kBhriain +
                          " (0)</td></tr>",
                      kPhoneTableEnd,
                  });
    return lines;
}

std::vector<std::string> roundFourSeats(const std::string& caption) {
    std::vector<std::string> lines = phoneTable("a", caption, true, seatsHeads());
    append(lines, {
                      "<tr><th scope=\"row\">" + kAdams + "</th><td>1</td><td>White</td><td>" +
                          kONeill + "</td><td></td></tr>",
                      "<tr><th scope=\"row\">" + kCole +
                          "</th><td></td><td></td><td>Not paired</td><td></td></tr>",
                      "<tr><th scope=\"row\">" + kEgan + "</th><td>2</td><td>White</td><td>" +
                          kBhriain + "</td><td></td></tr>",
                      "<tr><th scope=\"row\">" + kBhriain + "</th><td>2</td><td>Black</td><td>" +
                          kEgan + "</td><td></td></tr>",
                      "<tr><th scope=\"row\">" + kONeill + "</th><td>1</td><td>Black</td><td>" +
                          kAdams + "</td><td></td></tr>",
                      kPhoneTableEnd,
                  });
    return lines;
}

TEST_F(PhonePagesTest, RoundWithoutResultsShowsTheDisclaimerAndEmptyResults) {
    // After an unpaired round, the points before the round are those after round 2.
    std::vector<std::string> middle = {
        "<nav class=\"pn\"><a href=\"round3.html\">Round 3</a></nav>",
        "<p class=\"d\">Results are provisional</p>", kPhoneSearch};
    append(middle, roundFourPairings());
    append(middle, roundFourSeats("Player List"));
    EXPECT_EQ(crlfLines(phoneRoundPage(context(phoneSettings()), 4)),
              page("Round 4: Pairings", middle));
}

TEST_F(PhonePagesTest, HomeShowsTheCurrentRoundsPairingsWhileResultsAreMissing) {
    std::vector<std::string> middle = {kPhoneSearch, "<div id=\"find\" hidden>"};
    append(middle, roundFourSeats("Round 4"));
    middle.push_back("</div>");
    append(middle, roundFourPairings());
    append(middle,
           {"<h2>Rounds</h2>", "<ul class=\"rl\">",
            "<li>Round 1 <a href=\"round1.html\">Pairings</a> <a href=\"standings1.html\">"
            "Standings</a></li>",
            "<li>Round 2 <a href=\"round2.html\">Pairings</a> <a href=\"standings2.html\">"
            "Standings</a></li>",
            "<li>Round 3 <a href=\"round3.html\">Pairings</a></li>",
            "<li>Round 4 <a href=\"round4.html\">Pairings</a></li>", "</ul>"});
    EXPECT_EQ(crlfLines(phoneHomePage(context(phoneSettings()))),
              page("Round 4: Pairings", middle));
}

TEST_F(PhonePagesTest, HomeShowsTheStandingsOnceTheCurrentRoundIsComplete) {
    // Only rounds 1 and 2: round 2 has every result.
    std::vector<testing::GameRow> games = phoneEventGames();
    games.resize(6);
    t = testing::loadTournament(dir / "two", phoneEventPlayers(), games);
    const std::vector<std::string> lines = crlfLines(phoneHomePage(context(phoneSettings())));
    std::vector<std::string> expected = phoneHead("Round 2: Standings");
    append(expected, {kPhoneSearch, "<div id=\"find\" hidden>"});
    append(expected, phoneTable("a", "Round 2", true, seatsHeads()));
    expected.push_back("<tr><th scope=\"row\">" + kAdams + "</th><td>1</td><td>Black</td><td>" +
                       kCole + "</td><td>+</td></tr>");
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
    const auto standings = std::find(lines.begin(), lines.end(),
                                     "<div class=\"w\" tabindex=\"0\" role=\"region\" "
                                     "aria-labelledby=\"s\"><table class=\"f\"><caption "
                                     "id=\"s\">Standings</caption>");
    EXPECT_NE(standings, lines.end());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "<li>Round 2 <a href=\"round2.html\">"
                                                     "Pairings</a> <a href=\"standings2.html\">"
                                                     "Standings</a></li>"),
              1);
}

std::vector<std::string> standingsRows(const std::vector<std::string>& cells) {
    std::vector<std::string> rows;
    for (const std::string& row : cells) rows.push_back(row);
    return rows;
}

TEST_F(PhonePagesTest, StandingsAfterRoundOne) {
    std::vector<std::string> middle = {
        "<nav class=\"pn\"><a href=\"round1.html\">Pairings</a> "
        "<a href=\"standings2.html\">Round 2</a></nav>",
        kPhoneSearch};
    append(middle, phoneTable("s", "Standings", true, {"Rank", "Name", "Score"}));
    // Adams and Egan level on every tiebreak but the start rank; O'Neill and Cole alike.
    append(middle, standingsRows({
                       "<tr><td>1</td><th scope=\"row\">" + kAdams + "</th><td>1</td></tr>",
                       "<tr><td>2</td><th scope=\"row\">" + kEgan + "</th><td>1</td></tr>",
                       "<tr><td>3</td><th scope=\"row\">" + kONeill + "</th><td>&frac12;</td></tr>",
                       "<tr><td>4</td><th scope=\"row\">" + kCole + "</th><td>&frac12;</td></tr>",
                       "<tr><td>5</td><th scope=\"row\">" + kBhriain + "</th><td>0</td></tr>",
                       kPhoneTableEnd,
                   }));
    EXPECT_EQ(crlfLines(phoneStandingsPage(context(phoneSettings()), 1)),
              page("Round 1: Standings", middle));
}

TEST_F(PhonePagesTest, StandingsWithTheTiebreaksTheSettingsShow) {
    settings::Settings s = phoneSettings();
    s.DisplayTiebreaks = 1;
    s.DisplayTitles = 0;
    std::vector<std::string> middle = {
        "<nav class=\"pn\"><a href=\"standings1.html\">Round 1</a> "
        "<a href=\"round2.html\">Pairings</a></nav>",
        kPhoneSearch};
    append(middle, phoneTable("s", "Standings", true,
                              {"Rank", "Name", "Score", "Sum Prog", "Buchholz", "MBuchholz"}));
    // Sum Prog: points after round 1 and 2 added; Buchholz: the opponents' points after round
    // 2 (a bye counts 0); median Buchholz needs three rounds.
    const std::string adams = "<a href=\"player1.html\">Adams, Mickey</a>";
    append(middle, standingsRows({
                       "<tr><td>1</td><th scope=\"row\">" + adams +
                           "</th><td>2</td><td>3</td><td>0.5</td><td>0</td></tr>",
                       "<tr><td>2</td><th scope=\"row\">" + kEgan +
                           "</th><td>2</td><td>3</td><td>0</td><td>0</td></tr>",
                       "<tr><td>3</td><th scope=\"row\">" + kONeill +
                           "</th><td>1</td><td>1.5</td><td>0.5</td><td>0</td></tr>",
                       "<tr><td>4</td><th scope=\"row\">" + kCole +
                           "</th><td>&frac12;</td><td>1</td><td>3</td><td>0</td></tr>",
                       "<tr><td>5</td><th scope=\"row\">" + kBhriain +
                           "</th><td>0</td><td>0</td><td>4</td><td>0</td></tr>",
                       kPhoneTableEnd,
                   }));
    EXPECT_EQ(crlfLines(phoneStandingsPage(context(s), 2)), page("Round 2: Standings", middle));
}

TEST_F(PhonePagesTest, PlayersByNameWithRatingFederationAndScore) {
    std::vector<std::string> middle = {kPhoneSearch};
    append(middle, phoneTable("l", "Player List", true, {"Name", "Rating", "Fed", "Score"}));
    append(middle, {
                       "<tr><th scope=\"row\">" + kAdams +
                           "</th><td>2500</td><td>ENG</td><td>2</td></tr>",
                       "<tr><th scope=\"row\">" + kCole +
                           "</th><td>1900</td><td>SCO</td><td>&frac12;</td></tr>",
                       "<tr><th scope=\"row\">" + kEgan + "</th><td></td><td></td><td>2</td></tr>",
                       "<tr><th scope=\"row\">" + kBhriain +
                           "</th><td>2300</td><td>IRL</td><td>0</td></tr>",
                       "<tr><th scope=\"row\">" + kONeill +
                           "</th><td>2100</td><td>IRL</td><td>1</td></tr>",
                       kPhoneTableEnd,
                   });
    EXPECT_EQ(crlfLines(phonePlayersPage(context(phoneSettings()))), page("Player List", middle));
}

std::vector<std::string> gamesHeads() { return {"Round", "Colour", "Opponent", "Result", "Score"}; }

TEST_F(PhonePagesTest, PlayerCardWithEveryRound) {
    std::vector<std::string> middle = {"<dl class=\"c\">", "<dt>Rank</dt><dd>1</dd>",
                                       "<dt>Score</dt><dd>2</dd>", "<dt>Rating</dt><dd>2500</dd>",
                                       "<dt>Fed</dt><dd>ENG</dd>", "</dl>"};
    append(middle, phoneTable("g", "Games", false, gamesHeads()));
    // The running score stops at the last round with results.
    append(middle, {
                       "<tr><td>1</td><td>White</td><td>" + kBhriain +
                           "</td><td>1</td><td>1</td></tr>",
                       "<tr><td>2</td><td>Black</td><td>" + kCole + "</td><td>+</td><td>2</td></tr>",
                       "<tr><td>3</td><td></td><td>Not paired</td><td></td><td></td></tr>",
                       "<tr><td>4</td><td>White</td><td>" + kONeill +
                           "</td><td></td><td></td></tr>",
                       kPhoneTableEnd,
                   });
    EXPECT_EQ(crlfLines(phonePlayerPage(context(phoneSettings()), 0)),
              page("GM Adams, Mickey", middle));
}

TEST_F(PhonePagesTest, PlayerCardWithAByeAndTiebreaks) {
    settings::Settings s = phoneSettings();
    s.DisplayTiebreaks = 1;
    std::vector<std::string> middle = {"<dl class=\"c\">",
                                       "<dt>Rank</dt><dd>2</dd>",
                                       "<dt>Score</dt><dd>2</dd>",
                                       "<dt>Sum Prog</dt><dd>3</dd>",
                                       "<dt>Buchholz</dt><dd>0</dd>",
                                       "<dt>MBuchholz</dt><dd>0</dd>",
                                       "</dl>"};
    append(middle, phoneTable("g", "Games", false, gamesHeads()));
    append(middle, {
                       "<tr><td>1</td><td></td><td>Bye</td><td>1</td><td>1</td></tr>",
                       "<tr><td>2</td><td>Black</td><td>" + kBhriain +
                           "</td><td>1</td><td>2</td></tr>",
                       "<tr><td>3</td><td></td><td>Not paired</td><td></td><td></td></tr>",
                       "<tr><td>4</td><td>White</td><td>" + kBhriain +
                           "</td><td></td><td></td></tr>",
                       kPhoneTableEnd,
                   });
    EXPECT_EQ(crlfLines(phonePlayerPage(context(s), 4)), page("Egan, Pat", middle));
}

TEST_F(PhonePagesTest, PosterWithTheQrCodeAndTheAddress) {
    QrCode code;
    code.size = 2;
    code.dark = {true, false, true, true};
    const std::string address = "https://club.example.org/open/m/index.html";
    std::vector<std::string> expected = {
        "<!DOCTYPE html>",
        "<html lang=\"en\" data-v=\"0000000000000000\">",
        "<head>",
        "<meta charset=\"windows-1252\">",
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
        "<title>Poster - Cork &amp; District Open</title>",
        "<link rel=\"icon\" href=\"data:,\">",
        "<link rel=\"stylesheet\" href=\"phone.css\">",
        "<script src=\"phone.js\" defer></script>",
        "</head>",
        "<body class=\"poster\">",
        "<main>",
        "<h1>Cork &amp; District Open</h1>",
        "<p>Pairings, results and standings on your phone:</p>",
        // Two modules and a quiet zone of four around them; one rectangle per dark run.
        "<svg class=\"qr\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\" "
        "shape-rendering=\"crispEdges\" role=\"img\" aria-label=\"QR code of the address below\">"
        "<rect width=\"10\" height=\"10\" fill=\"#fff\"/><path fill=\"#000\" "
        "d=\"M4 4h1v1h-1zM4 5h2v1h-2z\"/></svg>",
        "<p class=\"u\"><a href=\"" + address + "\">" + address + "</a></p>",
        "</main>",
        "</body>",
        "</html>"};
    const PhoneContext c = context(phoneSettings());
    EXPECT_EQ(crlfLines(phonePosterPage(c, address, code)), expected);
    // Without a code: the address alone.
    expected.erase(expected.begin() + 14);
    EXPECT_EQ(crlfLines(phonePosterPage(c, address, std::nullopt)), expected);
}

TEST_F(PhonePagesTest, TextsFromTheTablesAreEscapedOnEveryPage) {
    settings::Settings s = phoneSettings();
    s.DisplayTiebreaks = 1;
    const PhoneContext c = context(s);
    std::vector<std::string> pages = {phoneHomePage(c), phonePlayersPage(c),
                                      phoneStandingsPage(c, 1), phonePlayerPage(c, 3)};
    for (int r = 1; r <= 4; ++r) pages.push_back(phoneRoundPage(c, r));
    for (const std::string& text : pages) {
        EXPECT_EQ(text.find("<&>"), std::string::npos);
        EXPECT_EQ(text.find("\"T\""), std::string::npos);
        EXPECT_EQ(text.find("Cork & "), std::string::npos);
        EXPECT_NE(text.find("Tom &lt;&amp;&gt; &quot;T&quot;"), std::string::npos);
    }
}

}  // namespace
}  // namespace pairweb::site

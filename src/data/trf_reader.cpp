#include "data/trf_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "data/windows1252.h"

namespace pairweb::data {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Records of team events; their players' lines are read as an individual event.
constexpr std::array<std::string_view, 6> kTeamRecords = {"013", "300", "310",
                                                          "320", "801", "802"};
// Player lines whose start rank the model can hold.
constexpr int kMaxStartRank = 399;
// How many start ranks the warning about the points column names.
constexpr std::size_t kMismatchRanksShown = 5;

// One round of a player line: the opponent's start rank (0: none), the colour (lower case)
// and the result code (upper case); blanks where the line has nothing.
struct Entry {
    int opponent = 0;
    char32_t colour = U' ';
    char32_t code = U' ';
};

// A player line as read: the player, its rounds and its points column.
struct PlayerLine {
    Player player;
    std::array<Entry, kMaxRounds> rounds{};
    std::optional<double> points;
};

// One side of a game as its result code gives it.
struct Side {
    float points = 0;
    bool blank = true;  // no result written
    bool forfeitWin = false;
    bool forfeitLoss = false;
};

// Calls f on each line of the text; LF, CR LF and a lone CR each end a line.
template <typename F>
void forEachLine(std::string_view text, F&& f) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            if (!f(text.substr(start, i - start))) return;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) f(text.substr(start));
}

std::u32string decode(std::string_view line, bool utf8) {
    std::u32string out;
    out.reserve(line.size());
    if (utf8) {
        for (std::size_t i = 0; i < line.size();) out += nextUtf8(line, i);
    } else {
        for (const char c : line) out += windows1252ToUnicode(static_cast<unsigned char>(c));
    }
    return out;
}

// Columns first to last (from 1, inclusive) of a line, as far as the line goes.
std::u32string_view columns(std::u32string_view line, std::size_t first, std::size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, last - first + 1);
}

char32_t column(std::u32string_view line, std::size_t at) {
    return at <= line.size() ? line[at - 1] : U' ';
}

std::u32string_view trimmed(std::u32string_view s) {
    const std::size_t first = s.find_first_not_of(U' ');
    if (first == std::u32string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(U' ') - first + 1);
}

// A whole number of blanks and digits only (at least one digit), capped far above any
// start rank or rating so that long digit runs cannot overflow.
std::optional<int> wholeNumber(std::u32string_view s) {
    s = trimmed(s);
    if (s.empty()) return std::nullopt;
    int value = 0;
    for (const char32_t c : s) {
        if (c < U'0' || c > U'9') return std::nullopt;
        value = std::min(value * 10 + static_cast<int>(c - U'0'), 1'000'000);
    }
    return value;
}

// The points column: digits with an optional decimal point (or comma) and fraction.
std::optional<double> decimalNumber(std::u32string_view s) {
    s = trimmed(s);
    double value = 0;
    double scale = 0;  // 0 before the decimal point
    bool digits = false;
    for (const char32_t c : s) {
        if (c >= U'0' && c <= U'9') {
            digits = true;
            if (scale == 0) {
                value = value * 10 + static_cast<double>(c - U'0');
            } else {
                value += scale * static_cast<double>(c - U'0');
                scale /= 10;
            }
        } else if ((c == U'.' || c == U',') && scale == 0) {
            scale = 0.1;
        } else {
            return std::nullopt;
        }
    }
    return digits ? std::optional<double>(value) : std::nullopt;
}

char32_t asciiUpper(char32_t c) { return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c; }
char32_t asciiLower(char32_t c) { return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c; }

// Windows-1252 bytes of a text; a character Windows-1252 lacks becomes "?" and is counted.
std::string siteText(std::u32string_view s, int& unmapped) {
    std::string out;
    out.reserve(s.size());
    for (const char32_t c : s) {
        const std::optional<unsigned char> byte = unicodeToWindows1252(c);
        if (!byte) ++unmapped;
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

std::string titleOf(std::u32string_view field) {
    std::u32string code;
    for (const char32_t c : field) {
        if (c != U' ') code += asciiUpper(c);
    }
    if (code == U"GM" || code == U"G") return "GM";
    if (code == U"IM" || code == U"M") return "IM";
    if (code == U"FM" || code == U"F") return "FM";
    if (code == U"WGM" || code == U"WG") return "WGM";
    if (code == U"WIM" || code == U"WM") return "WIM";
    if (code == U"WFM" || code == U"WF") return "WFM";
    return {};
}

Entry entryOf(std::u32string_view line, std::size_t k) {
    Entry e;
    e.opponent = wholeNumber(columns(line, 92 + k, 95 + k)).value_or(0);
    e.colour = asciiLower(column(line, 97 + k));
    e.code = asciiUpper(column(line, 99 + k));
    return e;
}

// The points a code without an opponent gives, or nothing when it gives no entry.
std::optional<float> unpairedPoints(char32_t code) {
    switch (code) {
        case U'H': case U'=': case U'D': return 0.5f;
        case U'F': case U'U': case U'+': case U'1': case U'W': return 1.0f;
        case U'Z': case U'0': case U'L': return 0.0f;
        default: return std::nullopt;
    }
}

Side sideOf(char32_t code) {
    switch (code) {
        case U'1': case U'W': return {1, false};
        case U'=': case U'D': return {0.5f, false};
        case U'0': case U'L': return {0, false};
        case U'+': return {1, false, true, false};
        case U'-': return {0, false, false, true};
        default: break;
    }
    // Bye codes written beside an opponent score as they would without one; anything else
    // is no result.
    const std::optional<float> points = unpairedPoints(code);
    return points ? Side{*points, false} : Side{};
}

// The opponent's side of a game that only one line shows: the other result.
Side mirrored(const Side& s) {
    if (s.blank) return s;
    return {1 - s.points, false, s.forfeitLoss, s.forfeitWin};
}

bool hasEntry(const Entry& e) { return e.opponent != 0 || unpairedPoints(e.code).has_value(); }

std::optional<PlayerLine> playerLine(std::u32string_view line, const TiebreakNames& tiebreaks,
                                     SkippedRows& skip) {
    const std::optional<int> rank = wholeNumber(columns(line, 5, 8));
    if (!rank || *rank < 1 || *rank > kMaxStartRank) {
        ++skip.startRankOutOfRange;
        return std::nullopt;
    }
    PlayerLine pl;
    Player& p = pl.player;
    p.id = p.startRank = *rank;
    // Some writers start the name one column late: blanks come off both ends.
    const std::u32string_view name = trimmed(columns(line, 15, 47));
    const std::size_t comma = name.find(U',');
    int& unmapped = skip.trf.unmappedCharacters;
    if (comma == std::u32string_view::npos) {
        p.surname = siteText(name, unmapped);
    } else {
        const std::u32string_view surname = name.substr(0, comma);
        p.surname = siteText(surname.substr(0, surname.find_last_not_of(U' ') + 1), unmapped);
        const std::u32string_view first = name.substr(comma + 1);
        const std::size_t start = first.find_first_not_of(U' ');
        p.firstName = siteText(start == std::u32string_view::npos ? std::u32string_view()
                                                                   : first.substr(start),
                               unmapped);
    }
    p.title = titleOf(columns(line, 11, 13));
    p.intlRating = wholeNumber(columns(line, 49, 52)).value_or(0);
    p.federation = siteText(trimmed(columns(line, 54, 56)), unmapped);
    p.startRankKey.fill(-static_cast<float>(p.startRank));
    p.tiebreaks = {tiebreakFromName(tiebreaks.first, Tiebreak::Progressive),
                   tiebreakFromName(tiebreaks.second, Tiebreak::Buchholz),
                   tiebreakFromName(tiebreaks.third, Tiebreak::MedianBuchholz),
                   Tiebreak::StartRank};
    pl.points = decimalNumber(columns(line, 81, 84));
    for (std::size_t r = 0; 92 + 10 * r <= line.size(); ++r) {
        const Entry e = entryOf(line, 10 * r);
        if (r < pl.rounds.size()) {
            pl.rounds[r] = e;
        } else if (hasEntry(e) || (e.code != U' ' && e.code != U'-')) {
            ++skip.trf.roundsBeyondLimit;
        }
    }
    return pl;
}

// A board to be: the two players' indexes and sides, and the keys of its place in the round.
struct Game {
    int white = 0;
    int black = 0;
    Side whiteSide;
    Side blackSide;
    bool blackTakesIt = true;  // false: the black player's own line holds another entry
    bool whiteTakesIt = true;
    float higher = 0;  // the higher of the two players' points before the round
    float sum = 0;
    int lowerRank = 0;
};

// Builds the rounds from the player lines; player i of t.players is lines[i].
class RoundBuilder {
public:
    RoundBuilder(Tournament& t, const std::vector<PlayerLine>& lines)
        : m_t(t), m_lines(lines), m_index(t.players, t.playerCount),
          m_before(lines.size(), 0.0f) {}

    void build() {
        for (int r = 1; r <= kMaxRounds; ++r) {
            if (!isRound(r)) continue;
            buildRound(r);
            m_t.roundCount = r;
            for (std::size_t i = 0; i < m_lines.size(); ++i) {
                m_before[i] += m_t.players[i].score[static_cast<std::size_t>(r - 1)];
            }
        }
    }

private:
    const Entry& entry(int i, int r) const {
        return m_lines[static_cast<std::size_t>(i)].rounds[static_cast<std::size_t>(r - 1)];
    }
    int rankOf(int i) const { return m_t.players[static_cast<std::size_t>(i)].startRank; }
    // Of several lines with one start rank, the last one holds that player's games.
    bool counts(int i) const { return m_index.find(rankOf(i)) == i; }

    // A round in which no one has an opponent and no one scored is not a round.
    bool isRound(int r) const {
        for (int i = 0; i < m_t.playerCount; ++i) {
            const Entry& e = entry(i, r);
            if (counts(i) && (e.opponent != 0 || unpairedPoints(e.code).value_or(0) > 0)) {
                return true;
            }
        }
        return false;
    }

    Game gameOf(int p, int o, const Side& ps, const Side& os, bool pWhite) const {
        Game g;
        g.white = pWhite ? p : o;
        g.black = pWhite ? o : p;
        g.whiteSide = pWhite ? ps : os;
        g.blackSide = pWhite ? os : ps;
        const float bp = m_before[static_cast<std::size_t>(p)];
        const float bo = m_before[static_cast<std::size_t>(o)];
        g.higher = std::max(bp, bo);
        g.sum = bp + bo;
        g.lowerRank = std::min(rankOf(p), rankOf(o));
        return g;
    }

    // The games of round r in board order; the entries they leave unpaired go to unpaired.
    std::vector<Game> gamesOf(int r, std::vector<int>& unpaired) {
        std::vector<Game> games;
        for (int p = 0; p < m_t.playerCount; ++p) {
            const Entry& e = entry(p, r);
            if (!counts(p) || e.opponent == 0) continue;
            const int o = m_index.find(e.opponent);
            if (o < 0 || o == p) {  // no line of that opponent: the entry stands alone
                ++m_t.skipped.trf.oneSidedGames;
                unpaired.push_back(p);
                continue;
            }
            const Entry& f = entry(o, r);
            const bool lowerWhite = rankOf(p) < rankOf(o);
            if (f.opponent == rankOf(p)) {
                if (p > o) continue;  // the pair is built once, from its first line
                const bool pWhite = e.colour == U'w' && f.colour == U'b'
                                        ? true
                                        : (f.colour == U'w' && e.colour == U'b' ? false
                                                                                 : lowerWhite);
                games.push_back(gameOf(p, o, sideOf(e.code), sideOf(f.code), pWhite));
                continue;
            }
            // Only p's line shows the game; it decides it. The opponent's record takes the
            // game only where the opponent's own line has nothing for the round.
            ++m_t.skipped.trf.oneSidedGames;
            const bool pWhite = e.colour == U'w' || (e.colour != U'b' && lowerWhite);
            const Side ps = sideOf(e.code);
            Game g = gameOf(p, o, ps, mirrored(ps), pWhite);
            (pWhite ? g.blackTakesIt : g.whiteTakesIt) = !hasEntry(f);
            games.push_back(g);
        }
        std::stable_sort(games.begin(), games.end(), [](const Game& a, const Game& b) {
            if (a.higher != b.higher) return a.higher > b.higher;
            if (a.sum != b.sum) return a.sum > b.sum;
            return a.lowerRank < b.lowerRank;
        });
        return games;
    }

    void addBoard(RoundRecord& round, int r, const Game& g) {
        if (round.boardCount >= kMaxBoards) {
            ++m_t.skipped.boardsBeyondLimit;
            return;
        }
        Player& white = m_t.players[static_cast<std::size_t>(g.white)];
        Player& black = m_t.players[static_cast<std::size_t>(g.black)];
        const auto b = static_cast<std::size_t>(round.boardCount);
        round.white[b] = white.id;
        round.black[b] = black.id;
        const Side& w = g.whiteSide;
        const Side& k = g.blackSide;
        if (w.forfeitWin && k.forfeitLoss) round.whiteType[b] = 35;
        if (w.forfeitLoss && k.forfeitWin) round.whiteType[b] = 34;
        if (w.forfeitLoss && k.forfeitLoss) round.whiteType[b] = 36;
        const float total = w.points + k.points;
        if (total > static_cast<float>(round.highestGameTotal)) {
            round.highestGameTotal = static_cast<int>(total);
        }
        // A written result is a result even when it gives no points (both forfeited).
        if (total > 0.4f || !w.blank || !k.blank) round.whiteScore[b] = w.points;
        const int board = round.boardCount + 1;
        if (g.whiteTakesIt) white.addGame(r, 1, w.points, black.id, total, board);
        if (g.blackTakesIt) black.addGame(r, 0, k.points, white.id, total, board);
        ++round.boardCount;
    }

    void addUnpaired(RoundRecord& round, int r, int i) {
        const std::optional<float> points = unpairedPoints(entry(i, r).code);
        if (!points) return;
        if (round.unpairedCount >= kMaxUnpaired) {
            ++m_t.skipped.unpairedBeyondLimit;
            return;
        }
        Player& p = m_t.players[static_cast<std::size_t>(i)];
        const auto k = static_cast<std::size_t>(round.unpairedCount++);
        round.unpairedId[k] = p.id;
        round.unpairedScore[k] = *points;
        p.addUnpaired(r, *points, static_cast<float>(round.highestGameTotal));
    }

    void buildRound(int r) {
        RoundRecord& round = m_t.rounds[static_cast<std::size_t>(r - 1)];
        round.number = r;
        std::vector<int> unpaired;
        for (const Game& g : gamesOf(r, unpaired)) addBoard(round, r, g);
        for (int i = 0; i < m_t.playerCount; ++i) {
            if (counts(i) && entry(i, r).opponent == 0) unpaired.push_back(i);
        }
        std::stable_sort(unpaired.begin(), unpaired.end(),
                         [&](int a, int b) { return rankOf(a) < rankOf(b); });
        for (const int i : unpaired) addUnpaired(round, r, i);
    }

    Tournament& m_t;
    const std::vector<PlayerLine>& m_lines;
    PlayerIndex m_index;
    std::vector<float> m_before;  // each player's points before the round being built
};

// Counts the players whose points column differs from their results.
void checkPointsColumns(Tournament& t, const std::vector<PlayerLine>& lines) {
    TrfNotes& notes = t.skipped.trf;
    const PlayerIndex index(t.players, t.playerCount);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Player& p = t.players[i];
        if (!lines[i].points || index.find(p.id) != static_cast<int>(i)) continue;
        double total = 0;
        for (int r = 0; r < t.roundCount; ++r) total += p.score[static_cast<std::size_t>(r)];
        if (std::fabs(total - *lines[i].points) > 0.01) {
            ++notes.pointsMismatches;
            notes.mismatchRanks.push_back(p.startRank);
        }
    }
    std::sort(notes.mismatchRanks.begin(), notes.mismatchRanks.end());
    if (notes.mismatchRanks.size() > kMismatchRanksShown) {
        notes.mismatchRanks.resize(kMismatchRanksShown);
    }
}

// The text as it is read: without a byte-order mark when it is UTF-8.
struct DecodedText {
    std::string_view body;
    bool utf8 = false;
};

DecodedText textAndEncoding(std::string_view text) {
    const bool bom = text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    const std::string_view rest = bom ? text.substr(kByteOrderMark.size()) : text;
    if (isValidUtf8(rest)) return {rest, true};
    return {text, false};
}

}  // namespace

bool isTrfPath(std::string_view path) {
    if (path.size() < 4) return false;
    std::string ending(path.substr(path.size() - 4));
    for (char& c : ending) c = static_cast<char>(asciiLower(static_cast<unsigned char>(c)));
    return ending == ".trf";
}

TrfStatus readTrf(std::string_view text, Tournament& t, const TiebreakNames& tiebreaks) {
    t = Tournament{};
    const DecodedText decoded = textAndEncoding(text);
    std::vector<PlayerLine> lines;
    forEachLine(decoded.body, [&](std::string_view raw) {
        const std::string_view code = raw.substr(0, 3);
        if (std::find(kTeamRecords.begin(), kTeamRecords.end(), code) != kTeamRecords.end()) {
            t.skipped.trf.teamRecords = true;
        }
        if (code != "001") return true;
        std::optional<PlayerLine> line =
            playerLine(decode(raw, decoded.utf8), tiebreaks, t.skipped);
        if (!line) return true;
        if (lines.size() >= static_cast<std::size_t>(kMaxPlayers)) {
            ++t.skipped.playersBeyondLimit;
        } else {
            lines.push_back(std::move(*line));
        }
        return true;
    });
    for (const PlayerLine& line : lines) t.players.push_back(line.player);
    t.playerCount = static_cast<int>(t.players.size());
    if (t.playerCount == 0) return TrfStatus::NoPlayers;
    RoundBuilder(t, lines).build();
    checkPointsColumns(t, lines);
    return TrfStatus::Loaded;
}

TrfStatus loadTrf(const std::string& path, Tournament& t, const TiebreakNames& tiebreaks,
                  const platform::Platform& files) {
    std::string text;
    if (!files.readFile(path, text, kMaxTrfBytes)) {
        t = Tournament{};
        return TrfStatus::Unreadable;
    }
    return readTrf(text, t, tiebreaks);
}

std::optional<std::string> trfTournamentNameOf(std::string_view text) {
    const DecodedText decoded = textAndEncoding(text);
    std::optional<std::string> name;
    forEachLine(decoded.body, [&](std::string_view raw) {
        if (raw.substr(0, 3) != "012") return true;
        const std::u32string line = decode(raw, decoded.utf8);
        int unmapped = 0;
        std::string found = siteText(trimmed(columns(line, 5, line.size())), unmapped);
        if (!found.empty()) name = std::move(found);
        return false;  // the first 012 line names the event
    });
    return name;
}

std::optional<std::string> trfTournamentName(const std::string& path,
                                             const platform::Platform& files) {
    std::string text;
    if (!files.readFile(path, text, kMaxTrfBytes)) return std::nullopt;
    return trfTournamentNameOf(text);
}

}  // namespace pairweb::data

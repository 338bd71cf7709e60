#include "data/loaders.h"

#include <algorithm>
#include <optional>

#include "data/dbf_table.h"

namespace pairweb::data {
namespace {

// Tables whose header says they hold no records are read as if they held this many.
constexpr std::uint32_t kZeroRecordCountSubstitute = 26;

// A column of another kind than expected counts as missing.
std::optional<int> intColumn(const DbfTable& table, std::string_view name) {
    const DbfValue v = table.value(name);
    if (const auto* i = std::get_if<std::int32_t>(&v)) {
        return *i;
    }
    return std::nullopt;
}

std::optional<std::string> textColumn(const DbfTable& table, std::string_view name) {
    DbfValue v = table.value(name);
    if (auto* s = std::get_if<std::string>(&v)) {
        return std::move(*s);
    }
    return std::nullopt;
}

std::string trimmedText(const DbfTable& table, std::string_view name) {
    std::string text = textColumn(table, name).value_or(std::string());
    const std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

std::string titleFromCode(const std::string& code) {
    if (code.empty()) {
        return {};
    }
    switch (code[0]) {
        case '1': return "GM";
        case '2': return "WGM";
        case '3': return "IM";
        case '4': return "WIM";
        case '5': return "FM";
        case '6': return "WFM";
        default: return {};
    }
}

// The field's text up to its first NUL, without the blanks around it.
std::string_view fieldText(std::string_view raw) {
    raw = raw.substr(0, raw.find('\0'));
    const std::size_t first = raw.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return raw.substr(first, raw.find_last_not_of(' ') - first + 1);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// BONUS holds a decimal text such as "0.5" or "1" (in a numeric column without decimals):
// digits, an optional point and fraction. Anything else counts 0; the value is rounded down
// to whole half points, and kept within what 40 rounds can take.
int bonusHalfPoints(std::string_view raw) {
    const std::string_view text = fieldText(raw);
    std::size_t i = 0;
    int whole = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        whole = std::min(whole * 10 + (text[i] - '0'), 2 * kMaxRounds);
    }
    if (i == 0) {
        return 0;
    }
    bool half = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        half = i < text.size() && text[i] >= '5' && isDigit(text[i]);
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
    }
    if (i != text.size()) {
        return 0;
    }
    return std::min(whole * 2 + (half ? 1 : 0), 2 * kMaxRounds);
}

// ABSENT holds up to 16 hexadecimal digits, a bit per round; anything else gives no bits.
std::uint64_t absentRounds(std::string_view raw) {
    const std::string_view text = fieldText(raw);
    if (text.empty() || text.size() > 16) {
        return 0;
    }
    std::uint64_t bits = 0;
    for (const char c : text) {
        int digit = -1;
        if (isDigit(c)) digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) {
            return 0;
        }
        bits = (bits << 4) | static_cast<std::uint64_t>(digit);
    }
    return bits;
}

RequestedByes requestedByesOf(const DbfTable& table) {
    RequestedByes byes;
    byes.halfPoints = bonusHalfPoints(table.rawField("BONUS").value_or(""));
    if (byes.halfPoints > 0) {
        byes.absentRounds = absentRounds(table.rawField("ABSENT").value_or(""));
        byes.lateEntry = intColumn(table, "LATE_ENTRY").value_or(0);
    }
    return byes;
}

// Gives a player's requested half-point byes out over rounds 1 to roundCount, one half
// point a round at most: first the rounds marked absent in which the player has neither a
// game nor points, then rounds before a late entry without any entry, then any other
// round without an entry, then rounds with an unpaired entry of 0 points. A round given a
// half point gets it as the games table would have: the 0-point unpaired entry becomes half
// a point, or a new unpaired entry follows the round's others. What finds no round is not
// counted.
void placeRequestedByes(Player& p, std::array<RoundRecord, kMaxRounds>& rounds,
                        int roundCount) {
    int left = p.requestedByes.halfPoints;
    std::array<bool, kMaxRounds> given{};
    const auto noEntry = [&](int i) { return p.colour[static_cast<std::size_t>(i)] == -1; };
    const auto zeroUnpaired = [&](int i) {
        const auto r = static_cast<std::size_t>(i);
        return p.colour[r] == 2 && p.score[r] == 0.0f;
    };
    const auto roomFor = [&](int i) {
        return !noEntry(i) || rounds[static_cast<std::size_t>(i)].unpairedCount < kMaxUnpaired;
    };
    const auto give = [&](int i) {
        const auto r = static_cast<std::size_t>(i);
        RoundRecord& round = rounds[r];
        if (noEntry(i)) {
            const auto k = static_cast<std::size_t>(round.unpairedCount++);
            round.unpairedId[k] = p.id;
            round.unpairedScore[k] = 0.5f;
            round.number = i + 1;
            p.addUnpaired(i + 1, 0.5f, static_cast<float>(round.highestGameTotal));
        } else {
            // The player's entry is the last unpaired entry with the player's id.
            for (int k = round.unpairedCount - 1; k >= 0; --k) {
                if (round.unpairedId[static_cast<std::size_t>(k)] == p.id) {
                    round.unpairedScore[static_cast<std::size_t>(k)] = 0.5f;
                    break;
                }
            }
            p.score[r] = 0.5f;
        }
        given[r] = true;
        --left;
    };
    const auto pass = [&](const auto& eligible) {
        for (int i = 0; i < roundCount && left > 0; ++i) {
            if (!given[static_cast<std::size_t>(i)] && eligible(i) && roomFor(i)) {
                give(i);
            }
        }
    };
    const std::uint64_t absent = p.requestedByes.absentRounds;
    pass([&](int i) { return ((absent >> i) & 1u) != 0 && (noEntry(i) || zeroUnpaired(i)); });
    pass([&](int i) { return i + 1 < p.requestedByes.lateEntry && noEntry(i); });
    pass(noEntry);
    pass(zeroUnpaired);
}

bool openPlayersTable(DbfTable& table, const std::string& path,
                      const platform::Platform& files) {
    if (!table.open(path, files)) {
        table.close();
        return false;
    }
    if (table.recordCount() == 0) {
        table.setRecordCount(kZeroRecordCountSubstitute);
    }
    table.readAll();
    return true;
}

}  // namespace

int countTableRecords(const std::string& trnPath, const platform::Platform& files) {
    DbfTable table;
    if (!table.open(trnPath, files)) {
        return -1;
    }
    if (table.recordCount() == 0) {
        table.setRecordCount(kZeroRecordCountSubstitute);
    }
    const std::size_t count = table.readAll();
    table.close();
    return static_cast<int>(count);
}

int loadPlayers(const std::string& trnPath, std::vector<Player>& players,
                const TiebreakNames& tiebreaks, SkippedRows* skipped,
                const platform::Platform& files) {
    SkippedRows ignored;
    SkippedRows& skip = skipped != nullptr ? *skipped : ignored;
    DbfTable table;
    if (!openPlayersTable(table, trnPath, files)) {
        return 0;
    }
    const std::size_t capacity = std::min<std::size_t>(players.size(), kMaxPlayers);
    std::size_t count = 0;
    for (table.first(); table.hasCurrent(); table.next()) {
        const int order = intColumn(table, "ORDER").value_or(0);
        if (order == 0) {
            continue;
        }
        const int id = intColumn(table, "ID").value_or(0);
        if (id < 0 || id > kMaxPlayerId) {
            ++skip.idOutOfRange;
            continue;
        }
        if (count >= capacity) {
            ++skip.playersBeyondLimit;
            continue;
        }
        Player p;
        p.surname = trimmedText(table, "SURNAME");
        p.firstName = trimmedText(table, "FIRSTNAME");
        p.localRating = intColumn(table, "LOC_RTG").value_or(0);
        p.intlRating = intColumn(table, "INTL_RTG").value_or(0);
        p.federation = trimmedText(table, "FEDER");
        p.club = trimmedText(table, "CLUB");
        p.title = titleFromCode(textColumn(table, "TITLE").value_or(std::string()));
        p.requestedByes = requestedByesOf(table);
        p.startRank = order;
        p.id = id;
        p.startRankKey.fill(-static_cast<float>(order));
        p.tiebreaks = {tiebreakFromName(tiebreaks.first, Tiebreak::Progressive),
                       tiebreakFromName(tiebreaks.second, Tiebreak::Buchholz),
                       tiebreakFromName(tiebreaks.third, Tiebreak::MedianBuchholz),
                       Tiebreak::StartRank};
        players[count++] = std::move(p);
    }
    table.close();
    return static_cast<int>(count);
}

int loadPairings(const std::string& scoPath, std::array<RoundRecord, kMaxRounds>& rounds,
                 std::vector<Player>& players, int playerCount, SkippedRows* skipped,
                 const platform::Platform& files) {
    SkippedRows ignored;
    SkippedRows& skip = skipped != nullptr ? *skipped : ignored;
    DbfTable table;
    if (!table.open(scoPath, files)) {
        table.close();
        return -1;
    }
    table.readAll();
    const PlayerIndex index(players, playerCount);
    int roundCount = 0;
    for (table.first(); table.hasCurrent(); table.next()) {
        const std::optional<int> roundNumber = intColumn(table, "ROUND");
        if (!roundNumber || *roundNumber < 1 || *roundNumber > kMaxRounds) {
            ++skip.roundOutOfRange;
            continue;
        }
        const int r = *roundNumber;
        RoundRecord& round = rounds[static_cast<std::size_t>(r - 1)];
        round.number = r;
        roundCount = std::max(roundCount, r);

        const int white = intColumn(table, "WHITE").value_or(0);
        const int black = intColumn(table, "BLACK").value_or(0);
        const int type = intColumn(table, "W_TYPE").value_or(0);
        const std::optional<int> whiteStored = intColumn(table, "W_SCORE");
        const std::optional<int> blackStored = intColumn(table, "B_SCORE");
        // The table holds half points: 2 is a win, 1 a draw.
        const float whitePoints = whiteStored ? static_cast<float>(*whiteStored) * 0.5f : -1.0f;
        const float blackPoints = blackStored ? static_cast<float>(*blackStored) * 0.5f : -1.0f;
        const int whiteIndex = index.find(white);
        const int blackIndex = index.find(black);
        Player* whitePlayer =
            whiteIndex < 0 ? nullptr : &players[static_cast<std::size_t>(whiteIndex)];
        Player* blackPlayer =
            blackIndex < 0 ? nullptr : &players[static_cast<std::size_t>(blackIndex)];

        if (white != 0 && black != 0) {
            if (round.boardCount >= kMaxBoards) {
                ++skip.boardsBeyondLimit;
                continue;
            }
            const auto b = static_cast<std::size_t>(round.boardCount);
            round.white[b] = white;
            round.black[b] = black;
            if (type > 33) {
                round.whiteType[b] = type;
            }
            const float total = whitePoints + blackPoints;
            if (total > static_cast<float>(round.highestGameTotal)) {
                round.highestGameTotal = static_cast<int>(total);
            }
            if (total > 0.4f) {
                round.whiteScore[b] = whitePoints;
            }
            const int boardNumber = round.boardCount + 1;
            if (whitePlayer != nullptr) {
                whitePlayer->addGame(r, 1, whitePoints, black, total, boardNumber);
            }
            if (blackPlayer != nullptr) {
                blackPlayer->addGame(r, 0, blackPoints, white, total, boardNumber);
            }
            ++round.boardCount;
        } else if (white != 0 || black != 0) {
            if (round.unpairedCount >= kMaxUnpaired) {
                ++skip.unpairedBeyondLimit;
                continue;
            }
            // A row with only BLACK set is the black player's entry, scored from the black
            // points: full-point byes are stored that way (W_SCORE 0, B_SCORE 2).
            const bool isWhite = white != 0;
            const float points = isWhite ? whitePoints : blackPoints;
            const auto k = static_cast<std::size_t>(round.unpairedCount);
            round.unpairedId[k] = isWhite ? white : black;
            round.unpairedScore[k] = points;
            ++round.unpairedCount;
            if (Player* p = isWhite ? whitePlayer : blackPlayer) {
                p->addUnpaired(r, points, static_cast<float>(round.highestGameTotal));
            }
        }
    }
    table.close();
    // Byes the players table holds are placed once every game is in; a player whose id a
    // later player also has gets no entries, so places none.
    for (int i = 0; i < playerCount && i < static_cast<int>(players.size()); ++i) {
        Player& p = players[static_cast<std::size_t>(i)];
        if (p.requestedByes.halfPoints > 0 && index.find(p.id) == i) {
            placeRequestedByes(p, rounds, roundCount);
        }
    }
    return roundCount;
}

}  // namespace pairweb::data

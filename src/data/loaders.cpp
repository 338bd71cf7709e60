#include "data/loaders.h"

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

bool openPlayersTable(DbfTable& table, const std::string& path) {
    if (!table.open(path)) {
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

int countTableRecords(const std::string& trnPath) {
    DbfTable table;
    if (!table.open(trnPath)) {
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
                const TiebreakNames& tiebreaks, SkippedRows* skipped) {
    SkippedRows ignored;
    SkippedRows& skip = skipped != nullptr ? *skipped : ignored;
    DbfTable table;
    if (!openPlayersTable(table, trnPath)) {
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
                 std::vector<Player>& players, int playerCount, SkippedRows* skipped) {
    SkippedRows ignored;
    SkippedRows& skip = skipped != nullptr ? *skipped : ignored;
    DbfTable table;
    if (!table.open(scoPath)) {
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
    return roundCount;
}

}  // namespace pairweb::data

#include "data/trf_reader.h"

#include <algorithm>
#include <array>
#include <vector>

#include "data/trf_rounds.h"
#include "data/windows1252.h"

namespace pairweb::data {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Records of team events; their players' lines are read as an individual event.
constexpr std::array<std::string_view, 6> kTeamRecords = {"013", "300", "310", "320", "801", "802"};
// Player lines whose start rank the model can hold.
constexpr int kMaxStartRank = 399;

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

TrfEntry entryOf(std::u32string_view line, std::size_t k) {
    TrfEntry e;
    e.opponent = wholeNumber(columns(line, 92 + k, 95 + k)).value_or(0);
    e.colour = asciiLower(column(line, 97 + k));
    e.code = asciiUpper(column(line, 99 + k));
    return e;
}

std::optional<TrfLine> playerLine(std::u32string_view line, const TiebreakNames& tiebreaks,
                                  SkippedRows& skip) {
    const std::optional<int> rank = wholeNumber(columns(line, 5, 8));
    if (!rank || *rank < 1 || *rank > kMaxStartRank) {
        ++skip.startRankOutOfRange;
        return std::nullopt;
    }
    TrfLine pl;
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
        p.firstName = siteText(
            start == std::u32string_view::npos ? std::u32string_view() : first.substr(start),
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
        const TrfEntry e = entryOf(line, 10 * r);
        if (r < pl.rounds.size()) {
            pl.rounds[r] = e;
        } else if (trfHasEntry(e) || (e.code != U' ' && e.code != U'-')) {
            ++skip.trf.roundsBeyondLimit;
        }
    }
    return pl;
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
    std::vector<TrfLine> lines;
    forEachLine(decoded.body, [&](std::string_view raw) {
        const std::string_view code = raw.substr(0, 3);
        if (std::find(kTeamRecords.begin(), kTeamRecords.end(), code) != kTeamRecords.end()) {
            t.skipped.trf.teamRecords = true;
        }
        if (code != "001") return true;
        std::optional<TrfLine> line = playerLine(decode(raw, decoded.utf8), tiebreaks, t.skipped);
        if (!line) return true;
        if (lines.size() >= static_cast<std::size_t>(kMaxPlayers)) {
            ++t.skipped.playersBeyondLimit;
        } else {
            lines.push_back(std::move(*line));
        }
        return true;
    });
    for (const TrfLine& line : lines) t.players.push_back(line.player);
    t.playerCount = static_cast<int>(t.players.size());
    if (t.playerCount == 0) return TrfStatus::NoPlayers;
    buildTrfRounds(t, lines);
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

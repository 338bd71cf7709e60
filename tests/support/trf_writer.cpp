#include "support/trf_writer.h"

#include <cstdio>

#include "data/windows1252.h"

namespace pairweb::testing {
namespace {

// A line of characters, filled in by columns (from 1).
class Line {
  public:
    void put(std::size_t column, std::u32string_view text) {
        if (m_text.size() < column - 1 + text.size()) m_text.resize(column - 1 + text.size(), U' ');
        m_text.replace(column - 1, text.size(), text);
    }
    // text right-aligned so that it ends in column last.
    void putRight(std::size_t last, std::u32string_view text) { put(last + 1 - text.size(), text); }
    std::string encoded(TrfEncoding encoding) const {
        std::string out;
        for (const char32_t c : m_text) {
            if (encoding == TrfEncoding::Utf8) {
                data::appendUtf8(out, c);
            } else {
                out += static_cast<char>(data::unicodeToWindows1252(c).value_or('?'));
            }
        }
        return out;
    }

  private:
    std::u32string m_text;
};

std::u32string wide(std::string_view windows1252) {
    std::u32string out;
    for (const char c : windows1252)
        out += data::windows1252ToUnicode(static_cast<unsigned char>(c));
    return out;
}

std::u32string number(int n) { return wide(std::to_string(n)); }

std::u32string titleLetters(const std::string& title) {
    if (title == "GM") return U"g";
    if (title == "IM") return U"m";
    if (title == "FM") return U"f";
    if (title == "WGM") return U"wg";
    if (title == "WIM") return U"wm";
    if (title == "WFM") return U"wf";
    return {};
}

// The result code of a player's game on board b (from 0) of a round.
char32_t gameCode(const data::RoundRecord& round, int b, bool white, float score) {
    const auto k = static_cast<std::size_t>(b);
    if (round.whiteScore[k] == -1.0f) return U' ';
    const int family = round.whiteType[k] >= 340 ? round.whiteType[k] / 10 : round.whiteType[k];
    if (family == 34) return white ? U'-' : U'+';
    if (family == 35) return white ? U'+' : U'-';
    if (family == 36) return U'-';
    return score == 1.0f ? U'1' : score == 0.5f ? U'=' : U'0';
}

}  // namespace

std::string trfText(const data::Tournament& t, const std::string& title, TrfEncoding encoding) {
    Line head;
    head.put(1, U"012 " + wide(title));
    std::string text = head.encoded(encoding) + "\n";
    const data::PlayerIndex index(t.players, t.playerCount);
    for (int i = 0; i < t.playerCount; ++i) {
        const data::Player& p = t.players[static_cast<std::size_t>(i)];
        Line line;
        line.put(1, U"001");
        line.putRight(8, number(p.startRank));
        line.putRight(13, titleLetters(p.title));
        line.put(15, wide(p.firstName.empty() ? p.surname : p.surname + ", " + p.firstName));
        line.putRight(52, number(p.intlRating));
        line.put(54, wide(p.federation));
        char points[16];
        std::snprintf(points, sizeof points, "%4.1f",
                      static_cast<double>(t.roundCount > 0 ? p.totalAfter(t.roundCount - 1) : 0));
        line.put(81, wide(points));
        for (int r = 0; r < t.roundCount; ++r) {
            const std::size_t k = 10 * static_cast<std::size_t>(r);
            const data::RoundEntry e = p.gameInRound(r);
            if (e.colour == 0 || e.colour == 1) {
                const int o = index.find(e.opponent);
                const int rank = o < 0 ? 0 : t.players[static_cast<std::size_t>(o)].startRank;
                line.putRight(95 + k, number(rank));
                line.put(97 + k, e.colour == 1 ? U"w" : U"b");
                const char32_t code = gameCode(t.rounds[static_cast<std::size_t>(r)], e.board - 1,
                                               e.colour == 1, e.score);
                line.put(99 + k, std::u32string(1, code));
            } else {
                const char32_t* code = e.colour != 2     ? U"0000 - -"
                                       : e.score == 1.0f ? U"0000 - U"
                                       : e.score == 0.5f ? U"0000 - H"
                                                         : U"0000 - Z";
                line.put(92 + k, code);
            }
        }
        text += line.encoded(encoding) + "\n";
    }
    return text;
}

std::string trfLine(const std::string& startRank, const std::string& name,
                    const std::string& points, const std::vector<std::string>& rounds) {
    const auto pad = [](std::string text, std::size_t width, bool right) {
        if (text.size() < width) text.insert(right ? 0 : text.size(), width - text.size(), ' ');
        return text;
    };
    std::string line = "001 " + pad(startRank, 4, true) + std::string(6, ' ') +
                       pad(name, 33, false) + std::string(33, ' ') + pad(points, 4, true) +
                       std::string(7, ' ');
    for (const std::string& r : rounds) line += pad(r, 10, false);
    return line;
}

}  // namespace pairweb::testing

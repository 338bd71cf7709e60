#include "site/page_options.h"

#include <array>
#include <string_view>

namespace pairweb::site {

std::string colourText(std::uint32_t colour) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint32_t v = colour; v != 0; v >>= 4) {
        hex.insert(hex.begin(), kDigits[v & 0xF]);
    }
    while (hex.size() < 6) {
        hex.insert(hex.begin(), '0');
    }
    std::string text = "#";
    text.append(hex, 4, 2).append(hex, 2, 2).append(hex, 0, 2);
    return text;
}

std::string fontList(const std::string& fontFamily) {
    static constexpr std::array<std::string_view, 5> kSans = {
        "\"Arial Black\"", "Arial", "\"Comic Sans MS\"", "Tahoma", "Verdana"};
    static constexpr std::array<std::string_view, 6> kSerif = {
        "\"Book Antiqua\"", "\"Times New Roman\"", "\"Trebuchet MS\"", "Palatino", "Garamond",
        "Georgia"};
    for (std::string_view name : kSans) {
        if (fontFamily == name) return fontFamily + ",Helvetica,sans-serif";
    }
    if (fontFamily == "Helvetica") return fontFamily + ",sans-serif";
    for (std::string_view name : kSerif) {
        if (fontFamily == name) return fontFamily + ",Times,serif";
    }
    if (fontFamily == "Times") return fontFamily + ",serif";
    return fontFamily;
}

PageOptions makePageOptions(const settings::Settings& s) {
    PageOptions o;
    o.DisplayTitles = s.DisplayTitles;
    o.DisplayRating = s.DisplayRating;
    o.DisplayRating_2 = s.DisplayRating_2;
    o.DisplaySeed = s.DisplaySeed;
    o.DisplayFed = s.DisplayFed;
    o.DisplayClub = s.DisplayClub;
    o.DisplayTiebreaks = s.DisplayTiebreaks;
    o.LinkPGN = s.LinkPGN;
    o.MakePGN = s.MakePGN;
    o.CrossStartrank = s.CrossStartrank;
    o.fnamePrefix = s.FnamePrefix.empty() ? std::string() : s.FnamePrefix + "_";
    o.PGNSite = s.PGNSite;
    o.PGNDate = s.PGNDate;
    o.fontList = fontList(s.FontFamily);
    o.BGColourMain = colourText(s.BGColourMain);
    o.BGColourTable = colourText(s.BGColourTable);
    o.BGColourHead = colourText(s.BGColourHead);
    o.BGColourTableCopy = o.BGColourTable;
    o.BGColourHeadCopy = o.BGColourHead;
    o.TitleColour = colourText(s.TitleColour);
    o.HeadTextColour = colourText(s.HeadTextColour);
    o.TextColour1 = colourText(s.TextColour1);
    o.LinkTextColour = colourText(s.LinkTextColour);
    o.HeadHoverColour = colourText(s.HeadHoverColour);
    o.TextHoverColour = colourText(s.TextHoverColour);
    o.TitleSize = s.TitleSize;
    o.ToptitleSize = s.ToptitleSize;
    o.TopSize = s.TopSize;
    o.HeadSize = s.HeadSize;
    o.TextSize = s.TextSize;
    o.CrosstableSize = s.CrosstableSize;
    o.rrCrosstableSize = s.rrCrosstableSize;
    o.TourneyType = s.TourneyType;
    o.Disclaimer = s.Disclaimer;
    o.FirstTB = s.FirstTB;
    o.SecondTB = s.SecondTB;
    o.ThirdTB = s.ThirdTB;
    return o;
}

PageLabels makePageLabels(const settings::Settings& s) {
    return {s.Player_List, s.Pairings, s.Standings, s.Crosstable, s.Round, s.Name, s.Rating,
            s.Federation,  s.Rank,     s.Seed,      s.Score,      s.Board, s.Club, s.Rating_1,
            s.Rating_2,    s.Bye,      s.Previous,  s.Next,       s.Result};
}

}  // namespace pairweb::site

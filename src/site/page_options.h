#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "settings/settings.h"

namespace pairweb::site {

// What every page writer receives, built once per run from the settings. Colours are in
// their page form "#rrggbb".
struct PageOptions {
    int DisplayTitles = 0;
    int DisplayRating = 0;
    int DisplayRating_2 = 0;
    int DisplaySeed = 0;
    int DisplayFed = 0;
    int DisplayClub = 0;
    int DisplayTiebreaks = 0;
    int LinkPGN = 0;
    int MakePGN = 0;
    int CrossStartrank = 0;
    std::string fnamePrefix;  // FnamePrefix and "_" when FnamePrefix is not empty
    std::string PGNSite;
    std::string PGNDate;
    std::string fontList;  // FontFamily with its fallback list
    std::string BGColourMain;
    std::string BGColourTable;  // also field 18: both table colour fields hold one text
    std::string BGColourHead;   // also field 19
    std::string BGColourTableCopy;
    std::string BGColourHeadCopy;
    std::string TitleColour;
    std::string HeadTextColour;
    std::string TextColour1;
    std::string LinkTextColour;
    std::string HeadHoverColour;
    std::string TextHoverColour;
    std::string TitleSize;
    std::string ToptitleSize;
    std::string TopSize;
    std::string HeadSize;
    std::string TextSize;
    std::string CrosstableSize;
    std::string rrCrosstableSize;
    std::string TourneyType;  // "Swiss" whenever the tournament has more than 24 players
    std::string Disclaimer;
    std::string FirstTB;
    std::string SecondTB;
    std::string ThirdTB;
    std::time_t generationTime = 0;  // one value for every page of a run
};

// The label texts, as the settings hold them.
struct PageLabels {
    std::string Player_List;
    std::string Pairings;
    std::string Standings;
    std::string Crosstable;
    std::string Round;
    std::string Name;
    std::string Rating;
    std::string Federation;
    std::string Rank;
    std::string Seed;
    std::string Score;
    std::string Board;
    std::string Club;
    std::string Rating_1;
    std::string Rating_2;
    std::string Bye;
    std::string Previous;
    std::string Next;
    std::string Result;
};

// What the PGN writer receives.
struct PgnHeader {
    std::string tournamentTitle;
    std::string PGNSite;
    std::string PGNDate;
    int roundCount = 0;
    int roundRobin = 0;  // 1 when the (effective) tournament type is "Round-Robin"
    int DisplayRating = 0;
    int DisplayRating_2 = 0;
};

// "#rrggbb" for a colour laid out 0x00BBGGRR; a value with a top byte (the automatic colour
// 0xFF000000) is cut from its eight-digit hexadecimal text, which gives "#0000ff".
std::string colourText(std::uint32_t colour);

// FontFamily followed by the fallback list of its group.
std::string fontList(const std::string& fontFamily);

// The page options of a run, without its generation time and tournament-type replacement.
PageOptions makePageOptions(const settings::Settings& s);
PageLabels makePageLabels(const settings::Settings& s);

}  // namespace pairweb::site

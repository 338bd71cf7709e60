#pragma once

#include <cstdint>
#include <string>

namespace pairweb::settings {

// Value of a colour button that means "automatic" rather than a chosen colour.
constexpr std::uint32_t kAutomaticColour = 0xFF000000u;

// Every user option, named by its settings-file key. Flags are 0 (off) or any other value (on);
// colours are laid out 0x00BBGGRR (red in the low byte). A new record holds the defaults.
struct Settings {
    // Label texts, printed on the pages as they stand (HTML included).
    std::string Player_List = "Player List";
    std::string Pairings = "Pairings";
    std::string Standings = "Standings";
    std::string Crosstable = "Crosstable";
    std::string Rank = "Rank";
    std::string Round = "Round";
    std::string Name = "Name";
    std::string Seed = "Seed";
    std::string Score = "Score";
    std::string Board = "Board";
    std::string Federation = "Fed";
    std::string Club = "Club";
    std::string Rating = "Rating";
    std::string Rating_1 = "FIDE";
    std::string Rating_2 = "Local";
    std::string Bye = "bye";
    std::string Previous = "prev";
    std::string Next = "next";
    std::string Result = "Result";

    // Font sizes, written into the stylesheet unchanged (normally CSS pixel lengths).
    std::string ToptitleSize = "20px";
    std::string TitleSize = "16px";
    std::string TopSize = "16px";
    std::string HeadSize = "10px";
    std::string TextSize = "10px";
    std::string CrosstableSize = "10px";
    std::string rrCrosstableSize = "12px";

    // PGN options, tiebreak display and font.
    std::int32_t DisplayTiebreaks = 0;
    std::int32_t MakePGN = 0;
    std::int32_t LinkPGN = 0;
    std::string FnamePrefix;  // PGN file names start with it, followed by "_" when not empty
    std::string PGNSite = "*";
    std::string PGNDate = "*";
    std::string FontFamily = "Times";  // multi-word names keep their double quotes

    // Colours, 0x00BBGGRR.
    std::uint32_t TextColour1 = 0x000000;
    std::uint32_t TitleColour = 0x800000;
    std::uint32_t BGColourMain = 0xFFFFFF;
    std::uint32_t BGColourTable = 0xFFEAEA;
    std::uint32_t BGColourHead = 0x800000;
    std::uint32_t HeadTextColour = 0xFFFFFF;
    std::uint32_t LinkTextColour = 0x800000;
    std::uint32_t HeadHoverColour = 0x00FFFF;
    std::uint32_t TextHoverColour = 0x996666;

    // Tiebreak order: "Sum Prog", "Buchholz", "MBuchholz", "Num Wins" or "Start Rank".
    std::string FirstTB = "Sum Prog";
    std::string SecondTB = "Buchholz";
    std::string ThirdTB = "MBuchholz";

    // Display options.
    std::int32_t DisplayRating = 0;
    std::int32_t DisplayRating_2 = 0;
    std::int32_t DisplaySeed = 0;
    std::int32_t DisplayTitles = 0;
    std::int32_t DisplayFed = 0;
    std::int32_t DisplayClub = 0;
    std::int32_t CrossStartrank = 0;

    // "Round-Robin" exactly means round-robin; any other text means Swiss.
    std::string TourneyType = "Swiss";
    std::string Disclaimer;  // shown above pairings of a round without results; may hold CR LF

    // Paths and title, edited in the main dialog. The defaults are prompts, not usable values.
    std::string strFilename = "TRN filename: please select";
    std::string TourneyName = "Tournament Name: please edit";
    std::string OutputIndex = "Website homepage";

    // Publishing to the web host. PublishUrl: "ftp://USER@HOST[:PORT]/FOLDER/" (FTP with TLS
    // required) or "sftp://USER@HOST[:PORT]/FOLDER/"; empty: no publishing. The password is
    // never kept here: it comes from the netrc file or the environment.
    std::string PublishUrl;
    std::int32_t PublishPlainFtp = 0;  // 1: ftp:// without encryption is allowed
    std::string PublishCaFile;         // an extra certificate file to trust for FTP with TLS
    std::string PublishHostKey;        // the SFTP server's pinned key, "SHA256:..."
    std::string PublishKeyFile;        // an SFTP private key file, optional
    std::int32_t PublishAfterGenerate = 0;  // 1: the apps publish after "Generate HTML"

    // Phone pages: 1 writes the phone-first pages into the site's "m" folder beside the
    // classic ones (and one line more on the home page that leads phones there); 0 leaves the
    // site as the classic pages alone. PublicUrl: the address where the site will be
    // reachable ("https://club.example.org/open2026/"), for the printable poster with its QR
    // code; empty: no poster.
    std::int32_t PhonePages = 1;
    std::string PublicUrl;

    bool operator==(const Settings&) const = default;
};

}  // namespace pairweb::settings

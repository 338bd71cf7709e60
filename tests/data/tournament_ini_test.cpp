#include "data/tournament_ini.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pairweb::data {
namespace {

TEST(TournamentIniTest, NameComesFromTheTournamentInfoSection) {
    const struct {
        std::string text;
        std::optional<std::string> name;
    } cases[] = {
        {"[Desktop]\r\nName=no\r\n[Tournament Info]\r\nName=K\xF6ln Open\r\nRounds=7\r\n",
         "K\xF6ln Open"},
        {"[Tournament Info]\nArbiter=A\nName=  Spaced  ", "Spaced"},
        {"[Tournament Info]\r\nName=\r\n", std::nullopt},
        {"[Pairing]\r\nName=Other section\r\n", std::nullopt},
        {"[Tournament Info]\r\nname=lower case key\r\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tournamentNameFromIni(c.text), c.name) << c.text;
    }
    EXPECT_EQ(tournamentIniPath("/events/open.trn"), "/events/open.ini");
    EXPECT_EQ(tournamentIniPath("/ev.2026/open"), "/ev.2026/open.ini");

    const std::string real = std::string(PAIRWEB_REALDATA_DIR) +
                             "/gonzaga_challengers_2010/gonzaga_challengers_2010.trn";
    if (std::filesystem::exists(real)) {
        EXPECT_EQ(tournamentName(real), "Gonzaga Chess Classic 2010 Challengers Section");
    }
    EXPECT_EQ(tournamentName("/no/such/event.trn"), std::nullopt);
}

}  // namespace
}  // namespace pairweb::data

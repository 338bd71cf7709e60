#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/tournament.h"
#include "site/page_options.h"

namespace pairweb::site {

// Each writer returns the whole text of its file; the driver writes it.

// "player_list.html": every player in start-rank order.
std::string playerListPage(const std::vector<data::Player>& players, int playerCount,
                           const PageOptions& o, const PageLabels& labels,
                           const std::string& homeFile);

// "results_round<n>.html" of round n (from 1); lastRound clears the link to the next round.
std::string pairingsPage(const data::RoundRecord& round, int n,
                         const std::vector<data::Player>& players, int playerCount, bool lastRound,
                         const PageOptions& o, const PageLabels& labels,
                         const std::string& homeFile);

// "standings_round<i+1>.html" of round index i; latest clears the link to the next round.
std::string standingsPage(const std::vector<data::Player>& players, int playerCount, int i,
                          bool latest, const PageOptions& o, const PageLabels& labels,
                          const std::string& homeFile);

// "crosstable.html" covering rounds 1 to lastCommenced + 1.
std::string crosstablePage(const std::vector<data::Player>& players, int playerCount,
                           int lastCommenced, const PageOptions& o, const PageLabels& labels,
                           const std::string& homeFile);

// The PGN viewer page (kind 1) or PGN file (kind 0) of round n.
std::string pgnText(const data::RoundRecord& round, int n, const std::vector<data::Player>& players,
                    int playerCount, const PgnHeader& header, int kind);

// The PGN viewer page of a round whose PGN file is pgnFile: a no-cache head, then the file.
std::string pgnViewerPage(std::string_view pgnFile);

// The frameset home page; with phoneRedirect, one line more after its title that sends
// phones (by their screen's width) to the phone pages unless the address asks for "?full".
std::string framesetPage(const std::string& title, bool phoneRedirect = false);
// "results.html": one link per round 1 to roundCount.
std::string pairingsIndexPage(int roundCount, const std::string& title, const PageOptions& o,
                              const PageLabels& labels, const std::string& homeFile);
// "standings.html": one link per round 1 to listedRounds.
std::string standingsIndexPage(int listedRounds, const std::string& title, const PageOptions& o,
                               const PageLabels& labels, const std::string& homeFile);
// "admin.php": the PGN entry links, one per round.
std::string adminPage(int roundCount, const std::string& title, const PageOptions& o);
// "contents.html": the banner with title and the four links.
std::string bannerPage(const std::string& title, const PageLabels& labels);

}  // namespace pairweb::site

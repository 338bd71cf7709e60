#include "site/fragments.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/test_env.h"

namespace pairweb::site {
namespace {

TEST(ScoreTextTest, WholeAndHalfPoints) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{0, "0"},    {0.5, "&frac12"}, {1, "1"},    {1.5, "1&frac12"},
                 {10, "10"},  {0.95, "1"},      {2.3, ""},   {-1, "-1"},
                 {3.5, "3&frac12"}, {2.05, "2"}, {-0.5, "-1&frac12"}};
    for (const auto& c : cases) {
        EXPECT_EQ(scoreText(c.v), c.text) << c.v;
    }
}

TEST(NumberTextTest, ShortestFormWithSixDigits) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{0, "0"},         {2, "2"},           {1.5, "1.5"},       {10.5, "10.5"},
                 {12.25, "12.25"}, {-4, "-4"},         {1234567, "1.23457e+06"},
                 {0.1f, "0.1"},    {100000, "100000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(numberText(c.v), c.text) << c.v;
    }
}

TEST(NumberTextTest, AgreesWithPrintfGeneralFormEverywhere) {
    const auto printfG = [](double v) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%g", v);
        return std::string(buffer);
    };
    // Every quarter point from -2000 to 20000 (the fast path ends at 10000), and a spread
    // of values that are not quarter points.
    for (int q = -8000; q <= 80000; ++q) {
        const double v = static_cast<float>(q) / 4.0f;
        ASSERT_EQ(numberText(v), printfG(v)) << v;
    }
    for (const double v : {-0.0, 0.1, 1.0 / 3.0, 123456.5, 999999.75, 1e7, -1e-5, 2.125, 0.001}) {
        EXPECT_EQ(numberText(v), printfG(v)) << v;
    }
}

TEST(DateTextTest, FixedEnglishFormWithLineEnd) {
    testing::useUtc();
    // 14:05:09 on Monday 7 December 2026, UTC.
    EXPECT_EQ(dateText(1796652309), "Mon Dec 07 14:05:09 2026\r\n");
    EXPECT_EQ(dateText(0), "Thu Jan 01 00:00:00 1970\r\n");
}

PageLabels defaultLabels() {
    return makePageLabels(settings::Settings{});
}

TEST(NavigationRowTest, FirstMiddleAndLastRound) {
    const PageLabels labels = defaultLabels();
    Page page;
    writeNavigationRow(page, {4, "<a href=\"results_round", "Pairings", ": ", 1, false}, labels);
    writeNavigationRow(page, {6, "<a href=\"standings_round", "Standings", ":  ", 3, true},
                       labels);
    EXPECT_EQ(testing::crlfLines(page.text()),
              (std::vector<std::string>{
                  "<tr><td colspan=4><table class=\"plain\" width=\"100%\"><tr><td "
                  "class=\"plain\" width=45 align=left></td><td class=\"title\" "
                  "align=center>Pairings: Round 1</td><td class=\"plain\" width=45 "
                  "align=right></td></tr></table></td></tr>",
                  "<tr><td colspan=6><table class=\"plain\" width=\"100%\"><tr><td "
                  "class=\"plain\" width=45 align=left><a "
                  "href=\"standings_round2.html\">prev</a></td><td class=\"title\" "
                  "align=center>Standings:  Round 3</td><td class=\"plain\" width=45 "
                  "align=right><a href=\"standings_round4.html\">next</a></td></tr></table>"
                  "</td></tr>"}));
}

TEST(FooterTest, EndsWithTheDateLineThenTheClosingTags) {
    testing::useUtc();
    Page page;
    writeFooter(page, "index.htm", 1796652309);
    EXPECT_EQ(testing::crlfLines(page.text()),
              (std::vector<std::string>{
                  "</table><a class=\"home\" target=\"_parent\" href=\"index.htm\">home</a>"
                  "</center><br><br><p class=\"fnote\">Created by <a target=\"top\" "
                  "href=\"https://pairweb.org/\">pairweb version 1.0.3</a> on Mon Dec 07 "
                  "14:05:09 2026",
                  "</p></body></html>"}));
}

TEST(FragmentsTest, ViewerScriptOnlyWithLinkPgn) {
    PageOptions o;
    Page without;
    writeViewerScript(without, o);
    EXPECT_EQ(without.text(), "");
    o.LinkPGN = 1;
    Page with;
    writeViewerScript(with, o);
    EXPECT_EQ(testing::crlfLines(with.text()),
              (std::vector<std::string>{
                  "<script language=\"JavaScript\">",
                  "function OpenLTPgnViewer(urlstr, width, height)",
                  "{ window.open(urlstr,\"LTPgnViewerWindow\",\"width=\"+width+\",height=\"+"
                  "height+\",menubar=no,locationbar=no,resizable=yes,status=no,scrollbars=no\");}",
                  "</script>"}));
}

}  // namespace
}  // namespace pairweb::site

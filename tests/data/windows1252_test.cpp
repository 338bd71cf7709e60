#include "data/windows1252.h"

#include <gtest/gtest.h>

namespace pairweb::data {
namespace {

TEST(Windows1252Test, EveryByteConvertsToUtf8AndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const Windows1252Text back = utf8ToWindows1252(windows1252ToUtf8(all));
    ASSERT_TRUE(back.text.has_value());
    EXPECT_EQ(*back.text, all);
    EXPECT_EQ(windows1252ToUtf8("K\xF6ln \x80\x96\x9F"), "K\u00f6ln \u20ac\u2013\u0178");
}

TEST(Windows1252Test, CharactersItLacksAreNamed) {
    const struct {
        std::string utf8;
        char32_t missing;
    } cases[] = {{"Open \u010c", 0x10C},   // Č
                 {"\U0001F600", 0x1F600},  // outside the basic plane
                 {"K\xF6ln", 0xFFFD},      // not UTF-8
                 {"\xE2\x82", 0xFFFD}};    // cut short
    for (const auto& c : cases) {
        const Windows1252Text r = utf8ToWindows1252(c.utf8);
        EXPECT_FALSE(r.text.has_value()) << c.utf8;
        EXPECT_EQ(r.missing, c.missing) << c.utf8;
    }
}

}  // namespace
}  // namespace pairweb::data

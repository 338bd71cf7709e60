#include "data/windows1252.h"

#include <gtest/gtest.h>

namespace pairweb::data {
namespace {

TEST(Windows1252Test, EveryByteConvertsToUnicodeAndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(unicodeToWindows1252(windows1252ToUnicode(byte)), byte) << b;
        all += static_cast<char>(b);
    }
    EXPECT_TRUE(isValidUtf8(windows1252ToUtf8(all)));
    EXPECT_EQ(windows1252ToUtf8("K\xF6ln \x80\x96\x9F"), "K\u00f6ln \u20ac\u2013\u0178");
}

TEST(Windows1252Test, CharactersItLacksAndTextsThatAreNotUtf8) {
    for (const char32_t lacking :
         {char32_t{0x10C}, char32_t{0x2192}, char32_t{0x1F600}, char32_t{0xFFFD}}) {
        EXPECT_FALSE(unicodeToWindows1252(lacking).has_value()) << static_cast<unsigned>(lacking);
    }
    const struct {
        std::string text;
        bool utf8;
    } cases[] = {{"K\xC3\xB6ln", true}, {"\xEF\xBF\xBD", true}, {"K\xF6ln", false},
                 {"\xE2\x82", false},   {"\xC0\xAF", false},    {"\xED\xA0\x80", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(isValidUtf8(c.text), c.utf8) << c.text;
    }
}

}  // namespace
}  // namespace pairweb::data

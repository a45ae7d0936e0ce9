#include "model/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orbista {
namespace {

TEST(NumberRule, SignDigitsAtMostTwentyCharactersAndThirtyTwoBits) {
    EXPECT_EQ(ParseNumberToken("17"), 17);
    EXPECT_EQ(ParseNumberToken("+5"), 5);
    EXPECT_EQ(ParseNumberToken("-0"), 0);
    EXPECT_EQ(ParseNumberToken("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseNumberToken("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseNumberToken("0000000000000000007"), 7);
    EXPECT_EQ(ParseNumberToken("+0000000000000000007"), 7);  // 20 characters
    for (const char* bad : {"", "+", "-", "+-5", "--5", "5-", " 5", "5 ", "1 000", "1,5", "0x10",
                            "2147483648", "-2147483649", "000000000000000000007", "99999999999",
                            "\xEF\xBB\xBF"
                            "5",
                            "٣"}) {
        EXPECT_FALSE(ParseNumberToken(bad).has_value()) << bad;
    }
    EXPECT_EQ(ParseDecimal(" \t-12\t "), -12);
    EXPECT_FALSE(ParseDecimal("1 2").has_value());
}

}  // namespace
}  // namespace orbista

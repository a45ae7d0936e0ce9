#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "systems/shared.h"

namespace orbista {
namespace {

TEST(SelectionTables, WheelIsEveryNumberOnceInItsOrder) {
    Layout sorted = WheelOrder;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, TableOrder);
    EXPECT_EQ(WheelOrder[1], 32);
    EXPECT_EQ(WheelOrder[13], 36);
    EXPECT_EQ(WheelOrder[36], 26);
    EXPECT_EQ(WrapPosition(37), 0);
    EXPECT_EQ(WrapPosition(-1), 36);
    EXPECT_EQ(SixLineNumbers(6), (std::array<int32_t, 6>{31, 32, 33, 34, 35, 36}));
}

TEST(SelectionTables, ExpectedDistinctValues) {
    EXPECT_NEAR(ExpectedDistinct(2, 37), 1.97297, 1e-5);
    EXPECT_NEAR(ExpectedDistinct(10, 37), 8.8674, 1e-4);
    EXPECT_EQ(ExpectedDistinct(0, 37), 0.0);
    EXPECT_EQ(ExpectedDistinct(1, 6), 1.0);
    // A very long look-back approaches all the values and still ends at once.
    EXPECT_EQ(ExpectedDistinct(2000000000, 37), 37.0);
}

// The thresholds compare the expectation exactly, so the remembered powers must be the very
// doubles that j multiplications and divisions give, for every length a look-back can have.
TEST(SelectionTables, ExpectedDistinctIsBitForBitTheRepeatedProduct) {
    for (const auto [m, longest] : {std::pair{6, 100002}, {37, 100002}, {10, 2000}}) {
        const double values = m;
        double p = 1.0;
        for (int32_t j = 0; j <= longest; ++j) {
            ASSERT_EQ(ExpectedDistinct(j, m), values - values * p) << "j " << j << " m " << m;
            p = p * (values - 1) / values;
        }
    }
    EXPECT_EQ(ExpectedDistinct(-3, 37), 0.0);
}

TEST(SelectionTables, DistinctLookbackCountsBackToTheWantedValues) {
    auto series = std::make_unique<History>();
    (*series)[1] = 5;
    (*series)[2] = 5;
    (*series)[3] = 9;
    const Lookback two = DistinctLookback(*series, 3, 2);
    EXPECT_EQ(two.length, 3);
    EXPECT_FALSE(two.exhausted);
    const Lookback three = DistinctLookback(*series, 3, 3);
    EXPECT_EQ(three.length, 4);
    EXPECT_TRUE(three.exhausted);

    // Past the refreshed entries the series reads 0, which is one more value.
    EXPECT_FALSE(DistinctLookback(*series, 10, 3).exhausted);
    // In a game longer than the history the scan runs out at the game's end.
    const Lookback longGame = DistinctLookback(*series, 300000, 4);
    EXPECT_TRUE(longGame.exhausted);
    EXPECT_EQ(longGame.length, 300001);
}

}  // namespace
}  // namespace orbista

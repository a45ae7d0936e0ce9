#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
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
    for (const auto& [m, longest] : {std::pair{6, 100002}, {37, 100002}, {10, 2000}}) {
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

// Every look-back as a walk of its own from the newest entry, reading every entry up to the
// readable end: what the continued walk must give.
Lookback WalkFromTheNewest(const History& series, int32_t n, int32_t a, bool zeroApart) {
    const int32_t end = ReadableEnd(n);
    DistinctValues seen;
    Lookback result;
    int32_t distinct = 0;
    while (distinct < a) {
        if (++result.length > end) {
            return {.length = n + 1, .exhausted = true, .zeros = result.zeros};
        }
        const int32_t value = series[result.length];
        if (zeroApart && value == 0) {
            result.zeros = 1;
        } else if (seen.AddIfNew(value)) {
            ++distinct;
        }
    }
    return result;
}

// Short and long games over series written to various depths, with few distinct values so that
// the walks run past the written part, and with zeros among the values or not. The series keeps
// an index, as the six-line history does, which the walks use to pass over long runs of repeats.
TEST(SelectionTables, ContinuedLookbackIsTheWalkFromTheNewestForEveryCount) {
    std::mt19937 random(3);
    auto series = std::make_unique<History>(RecentValues::MostValues);
    for (int round = 0; round < 30; ++round) {
        const int32_t written = static_cast<int32_t>(random() % 150);
        const uint32_t values = 1 + random() % 12;
        const bool zeros = round % 2 == 0;
        for (int32_t k = 200; k >= 1; --k) {  // entered spin by spin, as the index follows them
            series->ShiftUp(200 - k);
            (*series)[1] = k > written ? 0 : static_cast<int32_t>(random() % values) + !zeros;
        }
        for (const int32_t n : {written / 2, written + 1, 1000, 300000}) {
            for (const bool sixLines : {false, true}) {
                LookbackWalk walk(*series, n, sixLines);
                for (int32_t a = 1; a <= 14; ++a) {
                    const Lookback got = walk.Until(a);
                    const Lookback want = WalkFromTheNewest(*series, n, a, sixLines);
                    ASSERT_EQ(got.length, want.length) << round << " " << n << " " << a;
                    ASSERT_EQ(got.exhausted, want.exhausted) << round << " " << n << " " << a;
                    ASSERT_EQ(got.zeros, want.zeros) << round << " " << n << " " << a;
                }
            }
        }
    }
}

// A bet reaching past the series' written end, where every entry is 0, bets 0 once instead of
// walking the zeros: the stakes must be those of betting every entry.
TEST(SelectionTables, BetOnTheNewestEntriesPastTheWrittenEndIsTheBetOnEveryEntry) {
    auto state = std::make_unique<GameState>();
    for (int32_t k = 1; k <= 7; ++k) {
        state->WorkingSeries[k] = 3 * k;  // 3..21, written end 7
    }
    state->StakeLevel = 4;
    for (const int64_t depth :
         {int64_t{6}, int64_t{7}, int64_t{8}, int64_t{100001}, int64_t{1} << 40}) {
        state->Stakes.fill(0);
        BetNewestEntries(*state, depth);
        StakeArray want{};
        const History& series = state->WorkingSeries;
        for (int32_t k = 1; k <= ReadableEnd(depth); ++k) {
            want[series[k]] = 4;
        }
        EXPECT_EQ(state->Stakes, want) << depth;
    }
    EXPECT_EQ(state->Stakes[0], 4);
}

}  // namespace
}  // namespace orbista

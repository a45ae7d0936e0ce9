#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "engine/corrected_series.h"

namespace orbista {
namespace {

// Enters a spin the way the cycle does before it corrects the series.
void EnterForCorrection(GameState& state, int32_t number) {
    ++state.SpinCount;
    ShiftHistoryUp(state);
    state.SpinHistory[1] = number;
    state.CurrentNumber = number;
    if (number > 0) {
        state.SixLineHistory[1] = SixLineOf(number);
    }
}

TEST(CorrectedSeries, FirstSpinIsAPlainDrawNeverAdopted) {
    for (uint64_t seed = 0; seed < 50; ++seed) {
        auto state = std::make_unique<GameState>();
        RandomGenerator random;
        random.Seed(seed);
        EnterForCorrection(*state, 17);
        CorrectSeries(*state, random);
        RandomGenerator replay;
        replay.Seed(seed);
        EXPECT_EQ(state->CorrectedNumbers[1], replay.Random(37));
    }
}

TEST(CorrectedSeries, NumberWindowEndsAtTheGamesEndAndAdoptsOnlyItsValues) {
    std::set<int32_t> drawn;
    for (uint64_t seed = 0; seed < 300; ++seed) {
        auto state = std::make_unique<GameState>();
        state->SpinCount = 4;
        state->CorrectedNumbers = {};
        const int32_t earlier[] = {0, 0, 7, 7, 12, 30};  // X[2..5] = 7, 7, 12, 30; X[6] = 0
        for (int k = 2; k <= 5; ++k) {
            state->CorrectedNumbers[k - 1] = earlier[k];
        }
        RandomGenerator random;
        random.Seed(seed);
        EnterForCorrection(*state, 5);  // shift brings X[1] = 0 in
        CorrectSeries(*state, random);
        const int32_t value = state->CorrectedNumbers[1];
        EXPECT_TRUE(value != 7 && value != 12 && value != 30) << value;
        drawn.insert(value);
    }
    EXPECT_TRUE(drawn.count(0)) << "0 is copied in, not part of the draw range X[2..r]";

    for (int32_t real : {7, 12, 30}) {
        auto state = std::make_unique<GameState>();
        state->SpinCount = 4;
        state->CorrectedNumbers[1] = 7;
        state->CorrectedNumbers[2] = 7;
        state->CorrectedNumbers[3] = 12;
        state->CorrectedNumbers[4] = 30;
        RandomGenerator random;
        random.Seed(1);
        EnterForCorrection(*state, real);
        CorrectSeries(*state, random);
        EXPECT_EQ(state->CorrectedNumbers[1], real);
    }
}

TEST(CorrectedSeries, SixLineRangeReachesOneEntryPastTheWindow) {
    for (uint64_t seed = 0; seed < 200; ++seed) {
        auto state = std::make_unique<GameState>();
        state->SpinCount = 2;
        state->CorrectedSixLines[1] = 4;  // becomes Z[2]
        state->CorrectedSixLines[2] = 4;  // becomes Z[3]; Z[4] stays 0
        RandomGenerator random;
        random.Seed(seed);
        EnterForCorrection(*state, 20);  // a real six-line 4 is adopted
        CorrectSeries(*state, random);
        EXPECT_EQ(state->CorrectedSixLines[1], 4);
    }
    for (uint64_t seed = 0; seed < 200; ++seed) {
        auto state = std::make_unique<GameState>();
        state->SpinCount = 2;
        state->CorrectedSixLines[1] = 4;
        state->CorrectedSixLines[2] = 4;
        RandomGenerator random;
        random.Seed(seed);
        EnterForCorrection(*state, 0);  // Y[1] = 0: adopted from the empty entry Z[4]
        CorrectSeries(*state, random);
        EXPECT_EQ(state->CorrectedSixLines[1], 0);
    }
    for (uint64_t seed = 0; seed < 200; ++seed) {
        auto state = std::make_unique<GameState>();
        state->SpinCount = 2;
        state->CorrectedSixLines[1] = 4;
        state->CorrectedSixLines[2] = 4;
        RandomGenerator random;
        random.Seed(seed);
        EnterForCorrection(*state, 1);  // six-line 1 is not in the range: a draw avoiding 4
        CorrectSeries(*state, random);
        const int32_t value = state->CorrectedSixLines[1];
        EXPECT_TRUE(value >= 1 && value <= 6 && value != 4) << value;
    }
}

// A cancel back to an empty game leaves the cancelled spin's entry past the game; the next first
// spin's number window reaches over it to the first empty entry, so its value is adopted.
TEST(CorrectedSeries, NumberWindowReachesOverTheEntryACancelLeftPastTheGame) {
    for (const auto& [real, adopted] : {std::pair{12, true}, std::pair{5, false}}) {
        for (uint64_t seed = 0; seed < 100; ++seed) {
            auto state = std::make_unique<GameState>();
            EnterForCorrection(*state, 12);
            state->CorrectedNumbers[1] = 12;
            --state->SpinCount;
            ShiftHistoryDown(*state);
            RandomGenerator random;
            random.Seed(seed);
            EnterForCorrection(*state, real);  // X[1] = 12 copied in, X[2] = 12 left, X[3] = 0
            CorrectSeries(*state, random);
            EXPECT_EQ(state->CorrectedNumbers[1] == 12, adopted) << real << " " << seed;
        }
    }
}

TEST(CorrectedSeries, LongGameRepeatsOnlyWhatTheRealSpinRepeats) {
    auto state = std::make_unique<GameState>();
    RandomGenerator random;
    random.Seed(42);
    RandomGenerator spins;
    spins.Seed(7);
    for (int i = 0; i < 3000; ++i) {
        const int32_t number = spins.Random(37);
        EnterForCorrection(*state, number);
        CorrectSeries(*state, random);
        const int32_t value = state->CorrectedNumbers[1];
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 36);
        std::set<int32_t> window;
        for (int k = 2; k <= state->SpinCount && window.size() < 25; ++k) {
            window.insert(state->CorrectedNumbers[k]);
        }
        if (window.count(value)) {
            ASSERT_EQ(value, number);
        }
        ASSERT_GE(state->CorrectedSixLines[1], 0);
        ASSERT_LE(state->CorrectedSixLines[1], 6);
    }
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>

#include <memory>

#include "model/game_state.h"
#include "systems/progression.h"

namespace orbista {
namespace {

void Fill(GameState& state, int32_t base) {
    int i = 0;
    for (History* history : PerSpinArrays(state)) {
        for (int k = 0; k <= KeptSpins + 1; ++k) {
            (*history)[k] = base + 10 * i + k;
        }
        ++i;
    }
}

TEST(HistoryShift, NewSpinMovesEveryArrayUpAndKeepsTheScratchSlot) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 3;
    Fill(*state, 1000);
    ShiftHistoryUp(*state);
    int i = 0;
    for (History* history : PerSpinArrays(*state)) {
        const int32_t base = 1000 + 10 * i++;
        EXPECT_EQ((*history)[0], base);      // index 0 is copied up, not cleared
        EXPECT_EQ((*history)[1], base);      // the new spin starts from the scratch slot
        EXPECT_EQ((*history)[4], base + 3);  // t = SpinCount: k = 3 moved to 4
        EXPECT_EQ((*history)[5], base + 5);  // beyond t nothing moved
    }
}

TEST(HistoryShift, LongGameKeepsTheNewest100001AndWritesNothingBeyond) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 250000;
    for (int k = 0; k <= KeptSpins; ++k) {
        state->SpinHistory[k] = k;
    }
    ShiftHistoryUp(*state);
    EXPECT_EQ(state->SpinHistory[KeptSpins], HistoryShiftLimit);  // index 100000 moved to 100001
    EXPECT_EQ(state->SpinHistory[KeptSpins + 1], 0);              // 100002 never written
    for (int k = KeptSpins + 1; k < HistoryCapacity; ++k) {
        ASSERT_EQ(state->StakeHistory[k], 0);
    }
}

TEST(HistoryShift, CancelLeavesTheSpinAtIndexZeroAndTheOldEndTwice) {
    auto state = std::make_unique<GameState>();
    for (int32_t number : {8, 32, 0}) {
        ++state->SpinCount;
        ShiftHistoryUp(*state);
        state->SpinHistory[1] = number;
    }
    --state->SpinCount;
    ShiftHistoryDown(*state);
    EXPECT_EQ(state->SpinHistory[0], 0);
    EXPECT_EQ(state->SpinHistory[1], 32);
    EXPECT_EQ(state->SpinHistory[2], 8);
    EXPECT_EQ(state->SpinHistory[3], 8);  // the old end is copied down and also left in place

    // The next spin starts from the cancelled spin's entries.
    state->StakeHistory[0] = 77;
    ++state->SpinCount;
    ShiftHistoryUp(*state);
    EXPECT_EQ(state->StakeHistory[1], 77);
}

TEST(HistoryShift, CancelAtTheHistoryLimitReadsNoFurtherThanIndex100002) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 200000;
    state->SpinHistory[KeptSpins] = 5;
    state->SpinHistory[KeptSpins + 1] = 0;
    ShiftHistoryDown(*state);
    EXPECT_EQ(state->SpinHistory[HistoryShiftLimit], 5);
    EXPECT_EQ(state->SpinHistory[KeptSpins], 5);  // left in place: present twice
}

TEST(StakeLevelRule, SmallestStakeThatWinsBackTableDeficitAndBonus) {
    auto state = std::make_unique<GameState>();
    EXPECT_EQ(StakeLevelRule(*state, 0), 1);
    EXPECT_EQ(StakeLevelRule(*state, 12), 1);

    state->ProgressionSteepness = 10;
    state->Deficit = 100;
    EXPECT_EQ(StakeLevelRule(*state, 12), 5);  // 180 > 160 while 144 <= 148
    EXPECT_EQ(StakeLevelRule(*state, 10), 4);  // 144 > 140 while 108 <= 130

    state->ProgressionSteepness = 0;
    EXPECT_EQ(StakeLevelRule(*state, 35), 1);  // flat

    state->ProgressionSteepness = 10;
    state->Deficit = 26;
    state->WinBonus = 0.0;
    EXPECT_EQ(StakeLevelRule(*state, 10), 2);  // 36 > 36 fails: the comparison is strict
    state->WinBonus = 26.0;
    EXPECT_EQ(StakeLevelRule(*state, 10), 3);  // 72 > 72 fails
    EXPECT_EQ(StakeLevelRuleWithoutBonus(*state, 10), 2);
}

TEST(StakeLevelRule, NothingIsBetWhenNoStakeCanWinBack) {
    auto state = std::make_unique<GameState>();
    state->ProgressionSteepness = 10;
    state->Deficit = 1000;
    EXPECT_EQ(StakeLevelRule(*state, 36), 0);
    EXPECT_EQ(StakeLevelRule(*state, 37), 0);
    EXPECT_EQ(StakeLevelRuleWithoutBonus(*state, 36), 0);
    state->Deficit = 2000000000;
    EXPECT_EQ(StakeLevelRule(*state, 35), 2000000001);  // found without walking up from 0
}

}  // namespace
}  // namespace orbista

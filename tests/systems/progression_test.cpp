#include "systems/progression.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/game_state.h"

namespace orbista {
namespace {

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

#include <gtest/gtest.h>

#include <vector>

#include "systems/system_test_support.h"

namespace orbista {
namespace {

using SmallSystems = SystemTest;

// Every number of the wheel except the given ones.
std::vector<int32_t> AllBut(std::initializer_list<int32_t> left) {
    std::vector<int32_t> numbers;
    for (int32_t n = 0; n < NumberCount; ++n) {
        if (std::find(left.begin(), left.end(), n) == left.end()) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

TEST_F(SmallSystems, GizmoLeavesOutThisAndThePreviousMark) {
    Game({10, 11, 12, 13, 14});
    state->GizmoPreviousMark = 13;
    state->StakeLevel = 4;
    Run(SelectionSystem::Gizmo);
    EXPECT_EQ(state->GizmoMark, 14) << "average 12, plus one, moved on from the previous 13";
    EXPECT_EQ(state->GizmoPreviousMark, 14);
    EXPECT_EQ(BetNumbers(), AllBut({13, 14}));
    ExpectStakeOnEveryBet(1);
    EXPECT_EQ(state->StakeLevel, 4) << "one unit each, the stake level is not sized";
    for (int32_t spare = 37; spare < StakeArraySize; ++spare) {
        EXPECT_EQ(state->Stakes[spare], 1);
    }
}

TEST_F(SmallSystems, GizmoMarkOnASpareEntryLeavesOnlyThePreviousOut) {
    Game({36, 36, 36, 36, 36});
    state->GizmoPreviousMark = 5;
    Run(SelectionSystem::Gizmo);
    EXPECT_EQ(state->GizmoMark, 37);
    EXPECT_EQ(BetNumbers(), AllBut({5}));
    EXPECT_EQ(state->Stakes[37], 0);

    // The same mark again moves on to 38, still a spare entry.
    Run(SelectionSystem::Gizmo);
    EXPECT_EQ(state->GizmoMark, 38);
    EXPECT_EQ(BetNumbers(), AllBut({}));
}

TEST_F(SmallSystems, GizmoFirstRunOnlyRemembersItsMark) {
    Game({1, 2, 3, 4});
    Run(SelectionSystem::Gizmo);
    EXPECT_EQ(state->GizmoPreviousMark, 0) << "fewer than five spins: nothing at all";

    Game({1, 2, 3, 4, 5});
    Run(SelectionSystem::Gizmo);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->GizmoPreviousMark, 4);

    Game({20, 2, 3, 4, 5});
    Run(SelectionSystem::Gizmo);
    EXPECT_EQ(BetNumbers(), AllBut({4, 7}));
}

TEST_F(SmallSystems, ChaosBetsDistinctRandomNumbersWithoutTheBonus) {
    settings.SetNumber(Setting::ChaosNumberCount, 3);
    state->WinBonus = 1000.0;
    Game({17});
    Run(SelectionSystem::Chaos);
    EXPECT_EQ(state->SelectedCount, 3);
    EXPECT_EQ(state->StakeLevel, 1);
    EXPECT_EQ(BetNumbers().size(), 3u);
    ExpectStakeOnEveryBet(1);

    // With a deficit the stake grows: 36L > 3L + 100 gives 4.
    state->Deficit = 100;
    Run(SelectionSystem::Chaos);
    EXPECT_EQ(state->StakeLevel, 4);
    ExpectStakeOnEveryBet(4);

    settings.SetNumber(Setting::ChaosNumberCount, 0);
    Run(SelectionSystem::Chaos);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->StakeLevel, 3);
}

TEST_F(SmallSystems, ChaosWithTheWholeWheelEndsWithoutBets) {
    // 40 typed into the field acts as the arrows' 36; no stake wins 36 numbers back.
    settings.SetText(Setting::ChaosNumberCount, "40");
    Game({17});
    Run(SelectionSystem::Chaos);
    EXPECT_EQ(state->SelectedCount, 36);
    EXPECT_EQ(state->StakeLevel, 0);
    EXPECT_TRUE(BetNumbers().empty());
}

}  // namespace
}  // namespace orbista

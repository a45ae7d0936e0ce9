#include <gtest/gtest.h>

#include <vector>

#include "model/settings_table.h"
#include "systems/shared.h"
#include "systems/system_test_support.h"

namespace orbista {
namespace {

using SelectionStep = SystemTest;

TEST_F(SelectionStep, SkippedFirstSpinsRecommendNothing) {
    settings.SetFlag(Setting::SkipFirstSpins, true);
    settings.SetNumber(Setting::SkippedSpinCount, 5);
    Game({1, 2, 3, 4, 5});
    state->StakeLevel = 6;
    state->SelectionDepth = 2;
    state->SelectedCount = 2;
    Run(SelectionSystem::WithSelection);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_TRUE(files.written.empty());
    EXPECT_EQ(state->StakeLevel, 6);
    EXPECT_EQ(state->SelectionDepth, 2);
    EXPECT_EQ(state->SelectedCount, 2);

    Game({6, 1, 2, 3, 4, 5});
    Run(SelectionSystem::WithSelection);
    EXPECT_FALSE(BetNumbers().empty());
    EXPECT_EQ(files.written.size(), 1u);

    // The count only counts while its box is checked.
    settings.SetFlag(Setting::SkipFirstSpins, false);
    Game({1});
    files.written.clear();
    Run(SelectionSystem::WithSelection);
    EXPECT_EQ(files.written.size(), 1u);
}

TEST_F(SelectionStep, NegativeSkipCountDoesNotRunAnEmptyGame) {
    settings.SetFlag(Setting::SkipFirstSpins, true);
    settings.SetText(Setting::SkippedSpinCount, "-3");
    state->SpinCount = 0;  // every spin cancelled
    Run(SelectionSystem::WithSelection);
    EXPECT_TRUE(files.written.empty());
}

TEST_F(SelectionStep, StatisticsOnlyCustomAndNoneRecommendNothing) {
    for (const SelectionSystem system :
         {SelectionSystem::StatisticsOnly, SelectionSystem::Custom, SelectionSystem::None}) {
        Game({7, 7, 2, 9, 4});
        state->StakeLevel = 3;
        state->SelectionDepth = 4;
        state->SelectedCount = 5;
        Run(system);
        EXPECT_TRUE(BetNumbers().empty());
        EXPECT_TRUE(files.written.empty());
        EXPECT_EQ(state->StakeLevel, 3);
        EXPECT_EQ(state->SelectionDepth, 4);
        EXPECT_EQ(state->SelectedCount, 5);
    }
}

TEST_F(SelectionStep, EverySystemStaysInsideAGameLongerThanTheHistory) {
    // A game far past the kept spins, with every history full to its last kept entry.
    for (int32_t k = 1; k <= KeptSpins; ++k) {
        state->SpinHistory[k] = (k * 7) % 5;
        state->SixLineHistory[k] = SixLineOf(state->SpinHistory[k]);
    }
    for (int32_t k = 1; k <= 100; ++k) {
        state->WorkingSeries[k] = state->SpinHistory[k];
    }
    state->SpinCount = 250000;
    TakeCopies();
    settings.SetNumber(Setting::MaxProcessedCount, 30);
    settings.SetNumber(Setting::SectorsSpinWindow, 1000);
    settings.SetNumber(Setting::EsdSpinCount, 40);
    for (const SystemInfo& info : SystemsTable()) {
        state->GizmoPreviousMark = 3;
        Run(info.system);
        for (int32_t n = 0; n < NumberCount; ++n) {
            EXPECT_GE(state->Stakes[n], 0) << info.field;
        }
        for (int32_t k = LastReadableIndex; k < HistoryCapacity; ++k) {
            ASSERT_EQ(state->WorkingSeries[k], 0) << info.field;
            ASSERT_EQ(state->SpinHistory[k], 0) << info.field;
        }
    }
    // Six distinct numbers (0..4 and nothing else) are too few for a candidate of 30: the scan
    // runs out at the end of the game.
    files.written.clear();
    Run(SelectionSystem::AntiReview);
    ASSERT_EQ(files.written.size(), 1u);
    EXPECT_NE(files.written[0].second.find("\r\n250001\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orbista

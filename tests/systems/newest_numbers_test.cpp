#include <gtest/gtest.h>

#include <vector>

#include "systems/system_test_support.h"

namespace orbista {
namespace {

using NewestNumbersSystems = SystemTest;

TEST_F(NewestNumbersSystems, WithoutSelectionBetsTheStretchHoldingTheWantedCount) {
    settings.SetNumber(Setting::MaxProcessedCount, 3);
    Game({7, 7, 2, 9, 4});
    Run(SelectionSystem::WithoutSelection);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{2, 7, 9}));
    EXPECT_EQ(state->SelectionDepth, 4);
    EXPECT_EQ(state->SelectedCount, 3);
    ExpectStakeOnEveryBet(1);
    EXPECT_EQ(CheckFileLines("проверка.txt"), std::vector<std::string>{"4"});
}

TEST_F(NewestNumbersSystems, WithoutSelectionOnAShortGameNeedsTheMinimum) {
    // The whole game holds two distinct numbers: enough for a minimum of 1...
    Game({5, 5, 8});
    Run(SelectionSystem::WithoutSelection);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{5, 8}));
    EXPECT_EQ(state->SelectedCount, 2);

    // ...not for a minimum of 3; the walk length is still written.
    settings.SetNumber(Setting::MinCoveredCount, 3);
    TakeCopies();
    files.written.clear();
    Run(SelectionSystem::WithoutSelection);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->SelectionDepth, 0);
    EXPECT_EQ(state->SelectedCount, 0);
    EXPECT_EQ(CheckFileLines("проверка.txt"), std::vector<std::string>{"3"});
}

TEST_F(NewestNumbersSystems, WithoutSelectionInAGameLongerThanTheHistory) {
    // 150000 spins, of which the working series holds the newest 100 (eleven numbers, then 0s):
    // the walk runs to the end of the game without reading past the arrays.
    std::vector<int32_t> spins;
    for (int32_t k = 0; k < 100; ++k) {
        spins.push_back(k % 11 + 1);
    }
    Game(spins);
    state->SpinCount = 150000;
    Run(SelectionSystem::WithoutSelection);
    EXPECT_EQ(CheckFileLines("проверка.txt"), std::vector<std::string>{"150000"});
    EXPECT_EQ(state->SelectedCount, 12);
    EXPECT_EQ(BetNumbers().size(), 12u) << "1..11 and the 0s beyond the refreshed entries";
}

class WaitingSystem : public SystemTest {
  protected:
    WaitingSystem() {
        settings.SetNumber(Setting::WaitingSpins, 2);
        state->StakeLevel = 0;  // the previous cycle bet nothing
        state->LastWinStake = 0;
    }
};

TEST_F(WaitingSystem, BetsTheNewestOnceARunWithoutRepeatsIsLongEnough) {
    // Minimum 1 raised to 3: m = 3 is the longest run of different numbers (5, 8, 1), so
    // 3 - 2 = 1 number is bet.
    Game({5, 8, 1, 8, 3, 6});
    Run(SelectionSystem::Waiting);
    EXPECT_EQ(state->MinCoveredCount, 3);
    EXPECT_EQ(state->MaxProcessedCount, 26);
    EXPECT_EQ(BetNumbers(), std::vector<int32_t>{5});
    EXPECT_EQ(state->SelectionDepth, 1);
    EXPECT_EQ(state->StakeLevel, 1);
    EXPECT_TRUE(files.written.empty());
}

TEST_F(WaitingSystem, AtTheStartOfTheGameTheWholeGameCounts) {
    // m = 4 reaches the oldest spin with j = 4 and is taken although 8 repeats.
    Game({5, 8, 1, 8});
    Run(SelectionSystem::Waiting);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{5, 8}));
    EXPECT_EQ(state->SelectionDepth, 2);

    // All different, with the raised maximum covering the game: m = n decides.
    Game({4, 9, 22, 31, 17});
    Run(SelectionSystem::Waiting);
    EXPECT_EQ(state->SelectionDepth, 3);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{4, 9, 22}));
}

TEST_F(WaitingSystem, ALosingSeriesLowersTheDemand) {
    settings.SetNumber(Setting::MinCoveredCount, 3);
    settings.SetNumber(Setting::MaxProcessedCount, 1);  // raised by the waiting spins to 3
    Game({5, 8, 1, 8, 3, 6});

    // Bets stand and the last spin lost: the minimum stays 3, and m = 3 is enough.
    state->StakeLevel = 1;
    Run(SelectionSystem::Waiting);
    EXPECT_EQ(BetNumbers(), std::vector<int32_t>{5});

    // The last spin won: the minimum becomes 5, which this run does not reach.
    TakeCopies();
    state->LastWinStake = 1;
    Run(SelectionSystem::Waiting);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->StakeLevel, 0);
    EXPECT_EQ(state->SelectionDepth, 0);
}

TEST_F(WaitingSystem, MoreWaitingSpinsThanTheRunBetsNothing) {
    settings.SetNumber(Setting::WaitingSpins, 18);
    Game({5, 5, 5});
    state->StakeLevel = 3;
    Run(SelectionSystem::Waiting);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->StakeLevel, 0);
}

TEST_F(NewestNumbersSystems, FavouritesAreNumbersThatRepeatNewestFirst) {
    settings.SetNumber(Setting::FavouritesCount, 2);
    Game({9, 4, 9, 7, 4, 12, 7});
    Run(SelectionSystem::Favourites);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{4, 9})) << "7 also repeats but came earlier";
    EXPECT_TRUE(files.written.empty());

    // Nothing came three times.
    settings.SetNumber(Setting::FavouritesRepeatThreshold, 3);
    Run(SelectionSystem::Favourites);
    EXPECT_TRUE(BetNumbers().empty());

    // The window counts only the newest spins: within five, 7 has come once.
    settings.SetNumber(Setting::FavouritesRepeatThreshold, 2);
    settings.SetNumber(Setting::FavouritesCount, 5);
    settings.SetNumber(Setting::FavouritesWindow, 5);
    Run(SelectionSystem::Favourites);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{4, 9}));
}

TEST_F(NewestNumbersSystems, FavouritesWithAndWithoutTheLastNumber) {
    // Steepness 10 and deficit 100 tell one number (stake 3) from five (stake 4).
    state->Deficit = 100;
    Game({3, 8, 14, 27, 0, 33});
    Run(SelectionSystem::Favourites);
    EXPECT_TRUE(BetNumbers().empty()) << "no number came twice";

    settings.SetFlag(Setting::FavouritesBetLast, true);
    Run(SelectionSystem::Favourites);
    EXPECT_EQ(BetNumbers(), std::vector<int32_t>{3});
    EXPECT_EQ(state->StakeLevel, 3);

    // The last number is never counted twice, so the third favourite still finds its place.
    settings.SetNumber(Setting::FavouritesCount, 3);
    Game({9, 4, 9, 9, 4, 7, 7});
    Run(SelectionSystem::Favourites);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{4, 7, 9}));
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>

#include <vector>

#include "systems/system_test_support.h"

namespace orbista {
namespace {

using SectorSystems = SystemTest;

TEST_F(SectorSystems, SectorsOnTheWheelAfterOneSpin) {
    settings.SetNumber(Setting::SectorLength, 3);
    Game({32});
    state->WorkingSeries[1] = 7;  // the sectors follow the numbers that really came
    Run(SelectionSystem::Sectors);
    // Positions 0, 1 and 36 hold 32; the last of them wins, and the sector at index 32
    // (28, 12, 35) is empty.
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{0, 26, 32}));
    EXPECT_EQ(state->StakeLevel, 1);
    ExpectStakeOnEveryBet(1);
}

TEST_F(SectorSystems, SectorsOnTheTableBreakTies) {
    settings.SetFlag(Setting::SectorsOnTable, true);
    // One hit in every sector holding 20 or 3: the sector starting at the number just come
    // wins over the later position 36.
    Game({20, 3});
    Run(SelectionSystem::Sectors);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{20, 21, 22, 23, 24, 25}));

    // Three hits in the sectors starting at 0..3: the later position wins, and the sector of
    // the number just come (one hit) does not.
    Game({20, 3, 4, 5});
    Run(SelectionSystem::Sectors);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{3, 4, 5, 6, 7, 8}));
}

TEST_F(SectorSystems, SectorsCountOnlyTheNewestWindow) {
    settings.SetFlag(Setting::SectorsOnTable, true);
    settings.SetNumber(Setting::SectorsSpinWindow, 10);
    std::vector<int32_t> spins(10, 30);
    spins.insert(spins.end(), 40, 10);
    Game(spins);
    Run(SelectionSystem::Sectors);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{30, 31, 32, 33, 34, 35}));

    // A length typed below the arrows' bounds acts as 1.
    settings.SetText(Setting::SectorLength, "-4");
    Run(SelectionSystem::Sectors);
    EXPECT_EQ(BetNumbers(), std::vector<int32_t>{30});
    EXPECT_EQ(settings.Text(Setting::SectorLength), "-4");
}

class EsdSystem : public SystemTest {
  protected:
    EsdSystem() { settings.SetNumber(Setting::EsdSpinCount, 20); }

    // Twenty spins in which the given numbers come twice each, 9 three times and the rest of
    // the window is filled with numbers that come once.
    void GameWithPairs(const std::vector<int32_t>& twice) {
        std::vector<int32_t> spins;
        for (const int32_t n : twice) {
            spins.push_back(n);
            spins.push_back(n);
        }
        spins.insert(spins.end(), {9, 9, 9});
        for (const int32_t n : {1, 2, 5, 8, 11, 17, 20, 23, 24, 28, 29, 31, 33, 36, 10, 16, 27}) {
            if (spins.size() < 20) {
                spins.push_back(n);
            }
        }
        Game(spins);
    }
};

TEST_F(EsdSystem, WithoutOverlapBetsExactlyTheNumbersThatCameTwice) {
    settings.SetNumber(Setting::OverlapSectorLength, 0);
    GameWithPairs({14, 35});
    Run(SelectionSystem::Esd);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{14, 35}));
    EXPECT_EQ(state->SelectedCount, 2);
    ExpectStakeOnEveryBet(1);
}

TEST_F(EsdSystem, OverlapWrapsRoundTheWheel) {
    settings.SetNumber(Setting::OverlapSectorLength, 2);
    GameWithPairs({0});
    Run(SelectionSystem::Esd);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{0, 3, 15, 26, 32}));

    // On the table the neighbours of 0 are 35, 36, 1 and 2.
    settings.SetFlag(Setting::EsdSectorsOnTable, true);
    Run(SelectionSystem::Esd);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{0, 1, 2, 35, 36}));
}

TEST_F(EsdSystem, WideOverlapJoinsNeighboursThatBothCameTwice) {
    settings.SetFlag(Setting::EsdWideOverlap, true);
    // 32 and 15 stand side by side at wheel positions 1 and 2: positions 36..4.
    GameWithPairs({32, 15});
    Run(SelectionSystem::Esd);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{0, 4, 15, 19, 26, 32}));
    EXPECT_EQ(state->SelectedCount, 6);

    // The pair of the last and the first position (26, 0) is not widened.
    settings.SetNumber(Setting::OverlapSectorLength, 0);
    GameWithPairs({26, 0});
    Run(SelectionSystem::Esd);
    EXPECT_EQ(BetNumbers(), (std::vector<int32_t>{0, 26}));
}

TEST_F(EsdSystem, ShortGameOrWholeWheelBetsNothing) {
    GameWithPairs({14});
    state->SpinCount = 19;
    state->StakeLevel = 7;
    Run(SelectionSystem::Esd);
    EXPECT_TRUE(BetNumbers().empty());
    EXPECT_EQ(state->StakeLevel, 7);
    EXPECT_EQ(state->SelectedCount, 0);

    // Three pairs spread round the wheel with an overlap of 7 cover all 37 numbers: no stake
    // can win that back, so nothing is bet.
    settings.SetNumber(Setting::OverlapSectorLength, 7);
    GameWithPairs({0, 13, 14});  // wheel positions 0, 12 and 25
    Run(SelectionSystem::Esd);
    EXPECT_EQ(state->SelectedCount, 37);
    EXPECT_EQ(state->StakeLevel, 0);
    EXPECT_TRUE(BetNumbers().empty());
}

}  // namespace
}  // namespace orbista

#include "engine_fixture.h"

namespace orbista {
namespace {

TEST_F(EngineTest, TwelveNumbersLoseThenAWinPaysAndStartsTheProgressionAgain) {
    settings.SetNumber(Setting::WinBonusPerTenSpins, 5);
    RecommendSized(Twelve);
    Spins({20});  // the first spin of a game has nothing on the table
    EXPECT_EQ(Text(Display::GameBalance), "0");
    EXPECT_EQ(Text(Display::StakeLevel), "1");
    EXPECT_EQ(Text(Display::TableStake), "12");
    Spins({20});
    EXPECT_EQ(Text(Display::GameBalance), "-12");
    EXPECT_EQ(state.Deficit, 24);
    EXPECT_DOUBLE_EQ(state.WinBonus, 1.0);
    Spins({5});  // -24 + 36; the deficit 24 - 36 falls below 0, so deficit and bonus restart
    EXPECT_EQ(Text(Display::GameBalance), "12");
    EXPECT_EQ(Text(Display::GameBalanceMin), "-24");
    EXPECT_EQ(state.LastWinStake, 1);
    EXPECT_EQ(state.Deficit, 12);  // only the new recommendation
    EXPECT_DOUBLE_EQ(state.WinBonus, 0.5);
    EXPECT_EQ(state.BalanceHistory[2], -12);
    EXPECT_EQ(engine.Counters().unitsStaked, 24);
    EXPECT_EQ(engine.Counters().unitsWon, 36);
}

TEST_F(EngineTest, DeficitOf100MakesTwelveNumbersCostFiveUnitsEach) {
    state.Deficit = 100;
    RecommendSized(Twelve);
    Spins({20});
    EXPECT_EQ(Text(Display::StakeLevel), "5");
    EXPECT_EQ(Text(Display::TableStake), "60");
    EXPECT_EQ(state.Deficit, 160);
    EXPECT_EQ(state.StakeHistory[1], 60);
    Spins({20});
    EXPECT_EQ(Text(Display::GameBalance), "-60");
}

TEST_F(EngineTest, AverageStakeRoundsHalvesToEvenAndTheTableShowsLevelTimesCount) {
    view.system = [this] { state.Stakes[1] = 2, state.Stakes[2] = 3; };
    Spins({20});
    EXPECT_EQ(Text(Display::StakeLevel), "2");
    EXPECT_EQ(Text(Display::TableStake), "4");
    EXPECT_EQ(state.StakeHistory[1], 5);
    EXPECT_EQ(state.Deficit, 5);
    view.system = [this] { state.Stakes[1] = 3, state.Stakes[2] = 4; };
    Spins({20});
    EXPECT_EQ(Text(Display::StakeLevel), "4");
    EXPECT_EQ(Text(Display::TableStake), "8");
    EXPECT_EQ(Text(Display::GameBalance), "-5");  // the sum was deducted, not the shown table stake
}

TEST_F(EngineTest, TypedBalancesAreWhatTheNextSpinStartsFrom) {
    RecommendSized(Twelve);
    Spins({20});
    view.Type(Display::GameBalance, "250\nnot read");
    view.Type(Display::GameBalanceMin, "300");
    Spins({20});
    EXPECT_EQ(Text(Display::GameBalance), "238");
    EXPECT_EQ(Text(Display::GameBalanceMin), "238");
    EXPECT_EQ(Text(Display::GameBalanceMax), "238");
    EXPECT_EQ(Text(Display::TotalBalance), "-12");
    EXPECT_EQ(state.BalanceHistory[1], 238);
}

class WinThreshold : public EngineTest,
                     public ::testing::WithParamInterface<std::pair<bool, bool>> {};

TEST_P(WinThreshold, A514BalanceStopsTheGameAndShowsTheMessageEachWhenOn) {
    const auto [stopOnWin, winMessage] = GetParam();
    settings.SetFlag(Setting::StopOnWin, stopOnWin);
    settings.SetFlag(Setting::WinMessage, winMessage);
    RecommendSized(Twelve);
    Spins({20});
    view.Type(Display::GameBalance, "490");
    view.Type(Display::TotalBalance, "1000");
    Spins({5});  // 490 - 12 + 36 = 514 >= 500
    EXPECT_EQ(Text(Display::TotalBalance), "1024");
    EXPECT_EQ(Text(Display::GameBalanceMax), "514");
    EXPECT_EQ(state.BalanceHistory[1], 514);
    EXPECT_EQ(Text(Display::GameBalance), stopOnWin ? "0" : "514");
    EXPECT_EQ(state.SpinCount, stopOnWin ? 0 : 2);
    EXPECT_EQ(Text(Display::SpinCount),
              "2");  // the restart leaves the old count until the next spin
    EXPECT_EQ(view.SpinRow(1), stopOnWin ? "" : "    5");
    EXPECT_EQ(Text(Display::TableStake),
              stopOnWin ? "" : "12");  // a restarted game recommends nothing
    EXPECT_EQ(engine.Counters().winStops, stopOnWin ? 1 : 0);
    EXPECT_EQ(view.messages, winMessage ? std::vector<std::string>{"Вы выиграли ;) !!!!"}
                                        : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(EngineTest, WinThreshold,
                         ::testing::Values(std::pair(true, true), std::pair(true, false),
                                           std::pair(false, true), std::pair(false, false)));

TEST_F(EngineTest, StakeAboveTheMaximumEndsTheGameBeforeItIsPlayed) {
    RecommendFixed({7, 8, 9}, 20);  // MaxStake 20 itself is allowed
    Spins({20, 20});
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(Text(Display::TotalBalance), "-60");
    RecommendFixed({7, 8, 9}, 21);
    Spins({20});
    EXPECT_EQ(view.messages, std::vector<std::string>{"Вы проиграли (-:"});
    EXPECT_EQ(state.SpinCount, 0);
    EXPECT_EQ(state.StakeLevel, 1);
    EXPECT_EQ(state.Deficit, 0);
    EXPECT_EQ(Text(Display::GameBalance), "0");
    EXPECT_EQ(view.MirrorCaption(7), "");
    EXPECT_EQ(engine.Counters().lossStops, 1);
    EXPECT_EQ(Text(Display::TotalBalance), "-120");  // the 20s of the second spin were played
    Spins({7});                                      // the 21s never reach the table
    EXPECT_EQ(Text(Display::TotalBalance), "-120");
}

TEST_F(EngineTest, AmountAtRiskBeyondMaxLossResetsOnlyTheProgressionWhenSoSet) {
    settings.SetFlag(Setting::ResetProgressionOnLoss, true);
    settings.SetFlag(Setting::NoLossMessage, true);
    RecommendFixed({7, 8, 9}, 4);
    view.Type(Display::GameBalance, "-488");
    Spins({20});  // 12 at risk: the balance would end at -500, which MaxLoss 500 allows
    EXPECT_EQ(Text(Display::StakeLevel), "4");
    Spins({20});  // at -500 another 12 would go beyond
    EXPECT_EQ(engine.Counters().lossStops, 1);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(state.SpinCount, 2);
    EXPECT_EQ(Text(Display::GameBalance), "0");
    EXPECT_EQ(Text(Display::TotalBalance), "-12");
    EXPECT_EQ(Text(Display::StakeLevel), "1");
    EXPECT_EQ(Text(Display::TableStake), "3");
    EXPECT_EQ(state.Deficit, 3);
    EXPECT_EQ(state.StakeHistory[1], 12);
    EXPECT_EQ(view.MirrorCaption(8), "8");
    Spins({20});
    EXPECT_EQ(Text(Display::TotalBalance), "-15");
}

TEST_F(EngineTest, WinPauseTakesTheStakesOffAndAHitDuringItStartsItAgain) {
    settings.SetFlag(Setting::PauseAfterWin, true);
    settings.SetNumber(Setting::PauseAfterWinSpins, 2);
    RecommendFixed({5, 6}, 1);
    std::vector<std::string> table;
    auto play = [&](std::initializer_list<int32_t> numbers) {
        for (const int32_t n : numbers) {
            engine.EnterNumber(n);
            table.push_back(Text(Display::TableStake));
        }
    };
    // The run starts as if after a hit; the win on 5 pauses three spins, and 6 during the pause
    // hits the recommendation without winning, so the pause counts again from there.
    play({20, 20, 20, 5, 20, 6, 20, 20, 20});
    EXPECT_EQ(table, (std::vector<std::string>{"", "", "2", "", "", "", "", "", "2"}));
    EXPECT_EQ(Text(Display::GameBalance), "34");
    settings.SetNumber(Setting::PauseAfterWinSpins, 0);
    table.clear();
    play({5, 20});
    EXPECT_EQ(table, (std::vector<std::string>{"", "2"}));
    EXPECT_EQ(Text(Display::GameBalance), "68");
}

TEST_F(EngineTest, CancelRestoresBothBalancesButTheDeficitKeepsTheWin) {
    RecommendSized(Twelve);
    Spins({20, 20, 5});
    engine.CancelSpin();  // back to the lost second spin
    EXPECT_EQ(Text(Display::GameBalance), "-12");
    EXPECT_EQ(Text(Display::TotalBalance), "-12");
    EXPECT_EQ(Text(Display::GameBalanceMin), "-24");
    EXPECT_EQ(Text(Display::GameBalanceMax), "12");
    EXPECT_EQ(state.SpinHistory[0], 5);
    // Before the win the deficit was 24; the 36 it took off are not given back, and the deficit
    // must not drop below 0 on the way, or the progression would size 0 units and bet nothing.
    EXPECT_EQ(state.Deficit, 12);
    EXPECT_EQ(Text(Display::StakeLevel), "1");
    EXPECT_EQ(Text(Display::TableStake), "12");
    for (int i = 0; i < 3; ++i) {
        engine.CancelSpin();  // the last cancels find nothing left to take back
    }
    EXPECT_EQ(state.SpinCount, 0);
    EXPECT_EQ(Text(Display::SpinCount), "0");
    EXPECT_EQ(Text(Display::GameBalance), "0");
    EXPECT_EQ(Text(Display::TotalBalance), "0");
    EXPECT_EQ(Text(Display::StakeLevel), "");
    EXPECT_EQ(engine.Counters().cancels, 4);
}

}  // namespace
}  // namespace orbista

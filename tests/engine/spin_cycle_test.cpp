#include <filesystem>

#include "engine_fixture.h"
#include "model/check_file.h"

namespace orbista {
namespace {

TEST_F(EngineTest, SpinColumnShowsTheNewestThousandSpinsAndAnEmptyRowAfterThem) {
    SetSeriesChoice(settings, Setting::UseDrawnSeries, true);
    Spins({17});
    EXPECT_EQ(view.SpinRow(0), "Выпало");
    EXPECT_EQ(view.SpinRow(1), "    17");
    EXPECT_EQ(view.SpinRow(2), "");
    EXPECT_EQ(Text(Display::SpinCount), "1");
    EXPECT_EQ(state.SixLineHistory[1], 3);
    for (int i = 1; i < 1500; ++i) {
        engine.EnterNumber(i % 37);
    }
    EXPECT_EQ(Text(Display::SpinCount), "1500");
    EXPECT_EQ(view.SpinRow(1), "    " + std::to_string(1499 % 37));
    EXPECT_EQ(view.SpinRow(1000), "    " + std::to_string(500 % 37));
    EXPECT_EQ(view.SpinRow(1001), "");
}

// A game that never restarts may outgrow 32 bits; the systems' look-backs run out at the game's
// end, one past its spins, and say so in the check file.
TEST_F(EngineTest, SpinCountGoesPastTheLargest32BitNumber) {
    settings.SetActiveSystem(SelectionSystem::WithoutSelection);
    SetSeriesChoice(settings, Setting::UseDrawnSeries, true);
    state.SpinCount = 2147483647;
    Spins({5});
    EXPECT_EQ(Text(Display::SpinCount), "2147483648");
    EXPECT_EQ(checkFiles.written.back().second, "2147483648\r\n");
    settings.SetActiveSystem(SelectionSystem::WithSelection);
    Spins({5});
    EXPECT_EQ(Text(Display::SpinCount), "2147483649");
    EXPECT_NE(checkFiles.written.back().second.find("\r\n2147483650\r\n"), std::string::npos);
    engine.CancelSpin();
    EXPECT_EQ(Text(Display::SpinCount), "2147483648");
}

TEST_F(EngineTest, CancelRemovesTheNewestRowAndAZeroInheritsTheCancelledSixLine) {
    SetSeriesChoice(settings, Setting::UseDrawnSeries, true);
    Spins({4, 9, 31});
    engine.CancelSpin();
    EXPECT_EQ(Text(Display::SpinCount), "2");
    EXPECT_EQ(view.SpinRow(1), "    9");
    EXPECT_EQ(view.SpinRow(2), "    4");
    EXPECT_EQ(view.SpinRow(3), "");
    EXPECT_EQ(state.SpinHistory[0], 31);
    EXPECT_EQ(state.UndoRequested, 0);
    Spins({0});
    EXPECT_EQ(state.SixLineHistory[1], 6);  // copied in from the cancelled 31
}

TEST_F(EngineTest, SystemsSeeTheChosenSeriesAndSettingsHeldToTheirBounds) {
    settings.SetText(Setting::MinCoveredCount, "99");
    settings.SetText(Setting::ProgressionSteepness, "-5");
    Spins({3, 14, 15});
    EXPECT_EQ(state.WorkingSeries[1], state.CorrectedNumbers[1]);
    EXPECT_EQ(state.SixLineHistory[2], state.CorrectedSixLines[2]);
    EXPECT_EQ(state.MinCoveredCount, 30);
    EXPECT_EQ(state.ProgressionSteepness, 0);
    EXPECT_EQ(settings.Text(Setting::MinCoveredCount), "99");
    SetSeriesChoice(settings, Setting::UseDrawnSeries, true);
    Spins({5});
    EXPECT_EQ(state.WorkingSeries[4], 3);
    settings.SetFlag(Setting::UseDrawnSeries, false);  // neither: the series stays as it was
    Spins({35});
    EXPECT_EQ(state.WorkingSeries[1], 5);
}

// A spin that cannot be entered whole is not entered at all.
TEST_F(EngineTest, FieldWithoutAnIntegerStopsTheSpinBeforeItChangesAnything) {
    RecommendSized(Twelve);
    Spins({20, 5});
    const std::string gameBalance = Text(Display::GameBalance);
    const int32_t deficit = state.Deficit;
    auto expectNothingChanged = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(state.SpinCount, 2);
        EXPECT_EQ(state.SpinHistory[1], 5);
        EXPECT_EQ(Text(Display::SpinCount), "2");
        EXPECT_EQ(Text(Display::GameBalance), gameBalance);
        EXPECT_EQ(Text(Display::TotalBalance), gameBalance);
        EXPECT_EQ(state.Deficit, deficit);
        EXPECT_EQ(view.MirrorCaption(1), "1");
        EXPECT_EQ(state.SpinInProgress, 0);
        EXPECT_EQ(engine.Counters().spins, 2);
        EXPECT_EQ(engine.Counters().cancels, 0);
        ASSERT_FALSE(view.messages.empty());
        EXPECT_EQ(view.messages.back().rfind("error:", 0), 0u);
    };

    view.Type(Display::GameBalanceMax, "1 000");
    engine.EnterNumber(7);
    expectNothingChanged("a balance");
    EXPECT_NE(view.messages.back().find("Max"), std::string::npos);
    view.Type(Display::GameBalanceMax, "40");

    settings.SetText(Setting::MaxLoss, "5OO");
    engine.CancelSpin();
    expectNothingChanged("a setting every cycle reads, on a cancel");
    settings.SetText(Setting::MaxLoss, "500");

    settings.SetFlag(Setting::PauseAfterWin, true);
    settings.SetText(Setting::PauseAfterWinSpins, "");
    engine.EnterNumber(7);
    expectNothingChanged("a setting read because its box is on");
    settings.SetFlag(Setting::PauseAfterWin, false);

    settings.SetActiveSystem(SelectionSystem::Sectors);
    settings.SetText(Setting::SectorLength, "six");
    engine.EnterNumber(7);
    expectNothingChanged("a setting of the active system");
    settings.SetActiveSystem(SelectionSystem::StatisticsOnly);

    engine.EnterNumber(37);
    expectNothingChanged("no roulette number");
    EXPECT_EQ(view.messages.size(), 5u);

    // A bad field that this cycle does not read stops nothing.
    settings.SetFlag(Setting::StopOnWin, false);
    settings.SetFlag(Setting::WinMessage, false);
    settings.SetText(Setting::WinTarget, "x");
    engine.EnterNumber(7);
    EXPECT_EQ(state.SpinCount, 3);
    EXPECT_EQ(view.messages.size(), 5u);
}

}  // namespace
}  // namespace orbista

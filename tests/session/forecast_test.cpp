#include "session/forecast.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/errors.h"

namespace orbista {
namespace {

void PlayRandom(HeadlessRun& run, int spins) {
    for (int i = 0; i < spins; ++i) {
        run.engine.EnterNumber(run.random.Random(NumberCount));
    }
}

// A game that has been through what a picture must carry: a cancel, a typed balance, a setting
// changed between spins, a loss stop that kept the game, a win pause and a series that no longer
// follows the spins.
void PlayEventfulGame(HeadlessRun& run, SelectionSystem system) {
    run.settings.SetActiveSystem(system);
    run.settings.SetFlag(Setting::ResetProgressionOnLoss, true);
    run.settings.SetFlag(Setting::PauseAfterWin, true);
    run.settings.SetNumber(Setting::PauseAfterWinSpins, 3);
    run.settings.SetNumber(Setting::WinBonusPerTenSpins, 4);
    PlayRandom(run, 150);
    run.engine.CancelSpin();
    run.view.Type(Display::GameBalance, "-37");
    run.settings.SetNumber(Setting::MaxStake, 7);
    SetSeriesChoice(run.settings, Setting::UseCorrectedSeries, false);
    PlayRandom(run, 60);
}

TEST(Forecast, APlacedPictureGoesOnExactlyAsTheGameItWasTakenOf) {
    for (const SelectionSystem system :
         {SelectionSystem::WithSelection, SelectionSystem::SixLines, SelectionSystem::Sectors,
          SelectionSystem::Gizmo, SelectionSystem::Waiting, SelectionSystem::AntiReview}) {
        SCOPED_TRACE(static_cast<int>(system));
        HeadlessRun live(3);
        PlayEventfulGame(live, system);
        const GamePicture picture = TakePicture(*live.state, live.settings, live.view);

        // A longer game of something else first, as the forecast's game has played.
        HeadlessRun copy(4);
        PlayEventfulGame(copy, SelectionSystem::Chaos);
        copy.settings.SetFlag(Setting::StopOnWin, false);
        PlayRandom(copy, 500);
        PlacePicture(picture, copy);
        ASSERT_EQ(copy.state->Stakes, live.state->Stakes);

        live.random.Seed(9);
        copy.random.Seed(9);
        for (int spin = 0; spin < 300; ++spin) {
            const int32_t number = live.random.Random(NumberCount);
            ASSERT_EQ(copy.random.Random(NumberCount), number);
            live.engine.EnterNumber(number);
            copy.engine.EnterNumber(number);
            ASSERT_EQ(copy.state->Stakes, live.state->Stakes) << "spin " << spin;
            ASSERT_EQ(copy.view.Text(Display::GameBalance), live.view.Text(Display::GameBalance));
            ASSERT_EQ(copy.view.Text(Display::GameBalanceMin),
                      live.view.Text(Display::GameBalanceMin));
            ASSERT_EQ(copy.view.Text(Display::TotalBalance), live.view.Text(Display::TotalBalance));
        }
    }
}

ForecastOptions Continuations(int64_t count) {
    ForecastOptions options;
    options.continuations = count;
    return options;
}

TEST(Forecast, TheSameSeedGivesTheSameForecastAndEveryContinuationEndsOneWay) {
    HeadlessRun live(1);
    PlayRandom(live, 20);
    const GamePicture picture = TakePicture(*live.state, live.settings, live.view);
    const Forecast first = RunForecast(picture, Continuations(300));
    const Forecast second = RunForecast(picture, Continuations(300));

    EXPECT_EQ(first.winStop.count, second.winStop.count);
    EXPECT_EQ(first.lossStop.count, second.lossStop.count);
    EXPECT_EQ(first.totalChange.value, second.totalChange.value);
    EXPECT_EQ(first.medianSpinsToEnd, second.medianSpinsToEnd);
    EXPECT_EQ(first.winStop.count + first.lossStop.count + first.open.count, 300);
    EXPECT_DOUBLE_EQ(first.winStop.value + first.lossStop.value + first.open.value, 1.0);
    EXPECT_LE(first.winStop.interval.low, first.winStop.value);
    EXPECT_GE(first.winStop.interval.high, first.winStop.value);

    ForecastOptions otherSeed = Continuations(300);
    otherSeed.seed = 2;
    EXPECT_NE(RunForecast(picture, otherSeed).totalChange.value, first.totalChange.value);
}

TEST(Forecast, AStopWithinTheHorizonIsRareSoMostContinuationsStayOpen) {
    HeadlessRun live(1);
    ForecastOptions options = Continuations(200);
    options.horizon = 3;
    const Forecast forecast =
        RunForecast(TakePicture(*live.state, live.settings, live.view), options);
    EXPECT_EQ(forecast.open.count, 200);
    EXPECT_EQ(forecast.medianSpinsToEnd, std::nullopt);
    // 0 of 200: Wilson's upper bound is z² / (n + z²).
    EXPECT_NEAR(forecast.open.interval.low, 0.9812, 1e-4);
    EXPECT_NEAR(forecast.winStop.interval.high, 0.0188, 1e-4);
}

// Games from a new start played one by one through headless runs, each to its first stop.
struct PlayedGames {
    int64_t wins = 0;
    int64_t games = 0;
    double changeSum = 0;
    double changeSquares = 0;
};

PlayedGames PlaySeparateGames(SelectionSystem system, int64_t games, int32_t horizon) {
    PlayedGames played;
    for (int64_t game = 0; game < games; ++game) {
        HeadlessRun run(1000 + static_cast<uint64_t>(game));
        run.settings.SetActiveSystem(system);
        for (int32_t spin = 0; spin < horizon; ++spin) {
            run.engine.EnterNumber(run.random.Random(NumberCount));
            if (run.engine.Counters().winStops + run.engine.Counters().lossStops > 0) {
                break;
            }
        }
        played.wins += run.engine.Counters().winStops;
        const double change = *run.view.Number(Display::TotalBalance);
        played.changeSum += change;
        played.changeSquares += change * change;
        ++played.games;
    }
    return played;
}

TEST(Forecast, FromANewGameItAgreesWithGamesPlayedOneByOne) {
    for (const SelectionSystem system :
         {SelectionSystem::WithSelection, SelectionSystem::Peer, SelectionSystem::Sectors}) {
        SCOPED_TRACE(static_cast<int>(system));
        HeadlessRun fresh(1);
        fresh.settings.SetActiveSystem(system);
        const Forecast forecast =
            RunForecast(TakePicture(*fresh.state, fresh.settings, fresh.view), Continuations(1000));
        const PlayedGames played = PlaySeparateGames(system, 1000, 5000);

        const double n = static_cast<double>(played.games);
        const double share = static_cast<double>(played.wins) / n;
        const double p = forecast.winStop.value;
        EXPECT_NEAR(p, share, 3 * std::sqrt(2 * p * (1 - p) / n));

        const double mean = played.changeSum / n;
        const double variance = (played.changeSquares - n * mean * mean) / (n - 1);
        EXPECT_NEAR(forecast.totalChange.value, mean, 3 * std::sqrt(2 * variance / n));

        // A fair wheel keeps 1/37 of every unit staked, however the stakes are chosen.
        const Mean& change = forecast.totalChange;
        EXPECT_NEAR(change.value, -forecast.unitsStaked.value / 37,
                    1.5 * (change.interval.high - change.interval.low) / 2);
    }
}

TEST(Forecast, TheLadderClimbsByTheProgressionUntilTheLossStop) {
    HeadlessRun live(1);
    live.settings.SetActiveSystem(SelectionSystem::Chaos);
    live.settings.SetNumber(Setting::ChaosNumberCount, 12);
    // A first spin with nothing bet leaves the first recommendation of 12 numbers.
    live.engine.EnterNumber(0);
    const Forecast forecast =
        RunForecast(TakePicture(*live.state, live.settings, live.view), Continuations(10));

    // Steepness 10 wins the deficit back: the smallest L with 36L > 12L + deficit.
    const std::vector<std::vector<int64_t>> expected = {
        {1, 12, 12, 12, -12},    {1, 12, 12, 24, -24},    {2, 12, 24, 48, -48},
        {3, 12, 36, 84, -84},    {4, 12, 48, 132, -132},  {6, 12, 72, 204, -204},
        {9, 12, 108, 312, -312}, {14, 12, 168, 480, -480}};
    ASSERT_EQ(forecast.ladder.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        const LadderStep& step = forecast.ladder[k];
        EXPECT_EQ((std::vector<int64_t>{step.stakePerNumber, step.numbers, step.onTable, step.lost,
                                        step.gameBalance}),
                  expected[k])
            << "row " << k + 1;
    }
    // 21 per number would pass the maximum stake of 20.
    EXPECT_EQ(forecast.ladderEnd, LadderEnd::LossStop);
}

TEST(Forecast, WhatCannotBeForecast) {
    EXPECT_FALSE(HasForecast(SelectionSystem::StatisticsOnly));
    EXPECT_FALSE(HasForecast(SelectionSystem::Custom));
    EXPECT_FALSE(HasForecast(SelectionSystem::None));
    EXPECT_TRUE(HasForecast(SelectionSystem::Gizmo));

    HeadlessRun live(1);
    live.view.Type(Display::TotalBalance, "сто");
    EXPECT_THROW(TakePicture(*live.state, live.settings, live.view), ConversionError);

    live.view.Type(Display::TotalBalance, "100");
    live.settings.SetText(Setting::MaxLoss, "x");
    const GamePicture picture = TakePicture(*live.state, live.settings, live.view);
    EXPECT_THROW(RunForecast(picture, Continuations(10)), PlayerError);
}

TEST(Forecast, AStoppedForecastKeepsWhatItPlayedAndPartialOnesCameBefore) {
    HeadlessRun live(1);
    const GamePicture picture = TakePicture(*live.state, live.settings, live.view);
    std::stop_source stop;
    std::vector<int64_t> reported;
    ForecastOptions options = Continuations(1000);
    options.reportEvery = 100;
    const Forecast forecast =
        RunForecast(picture, options, stop.get_token(), [&](const Forecast& partial) {
            reported.push_back(partial.continuations);
            if (partial.continuations == 300) {
                stop.request_stop();
            }
        });
    EXPECT_EQ(reported, (std::vector<int64_t>{100, 200, 300}));
    EXPECT_EQ(forecast.continuations, 300);
    EXPECT_FALSE(forecast.Complete());
}

}  // namespace
}  // namespace orbista

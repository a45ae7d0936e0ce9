#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "model/errors.h"
#include "session/comparison.h"
#include "session/comparison_columns.h"
#include "session/comparison_csv.h"
#include "session/comparison_stats.h"
#include "storage/spin_file.h"
#include "storage/text_file.h"
#include "test_folder.h"

namespace orbista {
namespace {

RunFigures Finished(int32_t finalBalance, int32_t lowest) {
    RunFigures run;
    run.spins = 1000;
    run.finalTotalBalance = finalBalance;
    run.lowestTotalBalance = lowest;
    run.unitsStaked = 1;
    return run;
}

TEST(ComparisonStatsTest, PercentilesInterpolateBetweenTheClosestRanks) {
    const std::vector<double> four = {1, 2, 3, 4};
    EXPECT_DOUBLE_EQ(Percentile(four, 50), 2.5);
    EXPECT_DOUBLE_EQ(Percentile(four, 5), 1.15);
    EXPECT_DOUBLE_EQ(Percentile(four, 95), 3.85);
    EXPECT_DOUBLE_EQ(Percentile(four, 0), 1);
    EXPECT_DOUBLE_EQ(Percentile(four, 100), 4);
    const std::vector<double> one = {-7};
    EXPECT_DOUBLE_EQ(Percentile(one, 95), -7);
    EXPECT_DOUBLE_EQ(Percentile(std::vector<double>{}, 50), 0);
}

TEST(ComparisonStatsTest, SystemFiguresOverItsRuns) {
    std::vector<RunFigures> runs = {Finished(30, -5), Finished(-10, -40), Finished(20, 0),
                                    Finished(0, -15)};
    runs[0].winStops = 2;
    runs[1].lossStops = 3;
    runs[2].highestStakeLevel = 7;
    runs[3].highestStakeLevel = 4;
    const SystemFigures figures = SummariseSystem(SelectionSystem::Peer, runs);
    EXPECT_EQ(figures.runs, 4);
    EXPECT_EQ(figures.spins, 4000);
    EXPECT_DOUBLE_EQ(figures.meanFinal, 10);
    EXPECT_DOUBLE_EQ(figures.medianFinal, 10);  // the middle two of -10, 0, 20, 30
    EXPECT_DOUBLE_EQ(figures.p5Final, -8.5);
    EXPECT_DOUBLE_EQ(figures.p95Final, 28.5);
    EXPECT_DOUBLE_EQ(figures.ahead.value, 0.5);
    EXPECT_DOUBLE_EQ(figures.winStopsPerThousand, 0.5);
    EXPECT_DOUBLE_EQ(figures.lossStopsPerThousand, 0.75);
    EXPECT_DOUBLE_EQ(figures.medianDepth, 10);  // of 0, 5, 15, 40
    EXPECT_DOUBLE_EQ(figures.p95Depth, 36.25);
    EXPECT_EQ(figures.highestStakeLevel, 7);
}

TEST(ComparisonStatsTest, ReturnPerUnitStakedWithItsStandardError) {
    // 100 staked, the balance down 10: -10%. Residual 500 - 2(-0.1)(-100) + 0.01 * 1000 = 490.
    std::vector<RunFigures> runs = {Finished(-10, -10)};
    runs[0].unitsStaked = 100;
    runs[0].netSquares = 500;
    runs[0].stakeSquares = 1000;
    runs[0].netTimesStake = -100;
    const SystemFigures figures = SummariseSystem(SelectionSystem::Peer, runs);
    EXPECT_DOUBLE_EQ(figures.returnPerUnit, -0.1);
    EXPECT_NEAR(figures.returnStandardError, 0.2213594, 1e-7);  // sqrt(490) / 100
}

TEST(ComparisonStatsTest, NothingStakedHasNoReturnRatherThanADivisionByZero) {
    std::vector<RunFigures> runs = {Finished(0, 0)};
    runs[0].unitsStaked = 0;
    const SystemFigures figures = SummariseSystem(SelectionSystem::StatisticsOnly, runs);
    EXPECT_EQ(figures.returnPerUnit, 0);
    EXPECT_EQ(figures.returnStandardError, 0);
    EXPECT_EQ(SummariseSystem(SelectionSystem::Peer, {}).medianFinal, 0);
}

TEST(ComparisonStatsTest, BandsArePercentilesOverTheRunsAtEverySample) {
    BalanceBands bands(2);
    for (const std::vector<int32_t>& samples :
         {std::vector<int32_t>{5, -60}, std::vector<int32_t>{1, 20}, std::vector<int32_t>{3, 40}}) {
        bands.AddRun(samples);
    }
    const BalanceCurves curves = bands.Curves();
    EXPECT_EQ(curves.median, (std::vector<double>{3, 20}));
    EXPECT_EQ(curves.p5, (std::vector<double>{1.2, -52}));
    EXPECT_EQ(curves.p95, (std::vector<double>{4.8, 38}));
}

TEST(ComparisonStatsTest, RankedByMeanFinalBalanceBestFirstTiesInPlanOrderNonBettersLast) {
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::StatisticsOnly, SelectionSystem::Peer, SelectionSystem::Esd,
                    SelectionSystem::Chaos};
    ComparisonResult result;
    RunFigures idle;
    result.runs = {{idle}, {Finished(-5, -5)}, {Finished(8, 0)}, {Finished(-5, -9)}};
    const std::vector<SystemFigures> ranked = Ranked(SummariseComparison(plan, result));
    ASSERT_EQ(ranked.size(), 4u);
    EXPECT_EQ(ranked[0].system, SelectionSystem::Esd);
    EXPECT_EQ(ranked[1].system, SelectionSystem::Peer);
    EXPECT_EQ(ranked[2].system, SelectionSystem::Chaos);
    EXPECT_EQ(ranked[3].system, SelectionSystem::StatisticsOnly);
    // By the depth below the start, the shallowest first; still nothing staked last.
    const std::vector<SystemFigures> byDepth =
        Ranked(SummariseComparison(plan, result), *ColumnByKey("depth_median"));
    EXPECT_EQ(byDepth[0].system, SelectionSystem::Esd);
    EXPECT_EQ(byDepth[2].system, SelectionSystem::Chaos);
    EXPECT_EQ(byDepth[3].system, SelectionSystem::StatisticsOnly);
    // Without a bankroll no system has a risk of ruin: by it, the plan's order.
    const std::vector<SystemFigures> byRuin =
        Ranked(SummariseComparison(plan, result), *ColumnByKey("ruin"));
    EXPECT_EQ(byRuin[0].system, SelectionSystem::Peer);
    EXPECT_EQ(byRuin[2].system, SelectionSystem::Chaos);
}

ComparisonPlan RandomPlan(int64_t runs, int64_t spins, int jobs) {
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::WithSelection, SelectionSystem::Chaos,
                    SelectionSystem::StatisticsOnly};
    plan.seed = 5;
    plan.runs = runs;
    plan.spinsPerRun = spins;
    plan.jobs = jobs;
    return plan;
}

std::string CsvOf(const ComparisonPlan& plan) {
    ComparisonProgress progress;
    return ComparisonCsv("orbista-sim compare", plan, Comparison(plan).Run(progress));
}

TEST(ComparisonTest, TheSameWhateverTheNumberOfJobsAndDifferentForAnotherSeed) {
    const std::string one = CsvOf(RandomPlan(6, 700, 1));
    EXPECT_EQ(CsvOf(RandomPlan(6, 700, 2)), one);
    EXPECT_EQ(CsvOf(RandomPlan(6, 700, 3)), one);
    ComparisonPlan other = RandomPlan(6, 700, 2);
    other.seed = 6;
    EXPECT_NE(CsvOf(other), one);
    // The bands too, whichever worker folds which game.
    const auto curvesOf = [](int jobs) {
        ComparisonProgress progress;
        return Comparison(RandomPlan(6, 700, jobs)).Run(progress).bands[1].Curves();
    };
    const BalanceCurves alone = curvesOf(1);
    const BalanceCurves shared = curvesOf(3);
    EXPECT_EQ(shared.p5, alone.p5);
    EXPECT_EQ(shared.median, alone.median);
    EXPECT_EQ(shared.p95, alone.p95);
}

TEST(ComparisonTest, SamplesAreEvenlySpacedAndEndAtTheLastSpin) {
    ComparisonProgress progress;
    const ComparisonResult result = Comparison(RandomPlan(2, 2500, 2)).Run(progress);
    ASSERT_EQ(result.samplePoints.size(), 1000u);
    EXPECT_EQ(result.samplePoints[0], 3);  // 2.5 spins apart, rounded up
    EXPECT_EQ(result.samplePoints[1], 5);
    EXPECT_EQ(result.samplePoints.back(), 2500);
    const RunFigures& first = result.runs[0][0];
    const RunFigures& second = result.runs[0][1];
    const BalanceCurves curves = result.bands[0].Curves();
    ASSERT_EQ(curves.median.size(), 1000u);
    // Within a bucket of the summary: 32 units wide between 1,024 and 2,047.
    EXPECT_NEAR(curves.median.back(), (first.finalTotalBalance + second.finalTotalBalance) / 2.0,
                32);
    EXPECT_EQ(second.finalTotalBalance, second.unitsWon - second.unitsStaked);
    EXPECT_LE(second.lowestTotalBalance, 0);
    EXPECT_GE(second.maxDrawdown, second.DepthBelowStart());
    // Statistics only: spins go by, nothing is staked.
    EXPECT_EQ(result.runs[2][0].spins, 2500);
    EXPECT_EQ(result.runs[2][0].unitsStaked, 0);
    EXPECT_EQ(progress.SpinsDone(), 3 * 2 * 2500);
    EXPECT_EQ(progress.RunsDone(), 3 * 2);
}

TEST(ComparisonTest, AStopBeforeTheStartKeepsNoRun) {
    ComparisonProgress progress;
    progress.RequestStop();
    const ComparisonResult result = Comparison(RandomPlan(4, 500, 2)).Run(progress);
    EXPECT_TRUE(result.stopped);
    ASSERT_EQ(result.runs.size(), 3u);
    EXPECT_TRUE(result.runs[0].empty());
}

TEST(ComparisonTest, OneRunPerSpinFileAShortRunHoldsItsFinalBalance) {
    TestFolder folder;
    folder.Write("a.txt", "1  2  3  4  5  6  7  8  9  10");
    folder.Write("b.txt", "0 0 0");
    folder.Write("notes.md", "not spins");
    const std::vector<std::filesystem::path> files = SpinFilesOfFolder(folder.Path());
    ASSERT_EQ(files.size(), 2u);
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::WithoutSelection};
    plan.spinFiles = files;
    const Comparison comparison(plan);
    EXPECT_EQ(comparison.GameCount(), 2);
    EXPECT_EQ(comparison.TotalSpins(), 13);
    ComparisonProgress progress;
    const ComparisonResult result = comparison.Run(progress);
    EXPECT_EQ(result.samplePoints.size(), 10u);
    EXPECT_EQ(result.runs[0][1].spins, 3);
    EXPECT_DOUBLE_EQ(
        result.bands[0].Curves().median[9],
        (result.runs[0][0].finalTotalBalance + result.runs[0][1].finalTotalBalance) / 2.0);
}

std::string SpinsText(int32_t count, int32_t step) {
    std::string text;
    for (int32_t k = 0; k < count; ++k) {
        text += std::to_string(k * step % NumberCount) + " ";
    }
    return text;
}

// A worker's games reuse the arrays of the games it played before: a short game after a long one
// (past the history's length and a move of its live part) is played as on fresh arrays.
TEST(ComparisonTest, AGameAfterALongOneOnTheSameThreadIsPlayedAsAlone) {
    TestFolder folder;
    folder.Write("1.txt", SpinsText(History::ShiftsBetweenRecentres + 5000, 11));
    folder.Write("2.txt", SpinsText(400, 5));
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::WithSelection, SelectionSystem::SixLines};
    plan.spinFiles = SpinFilesOfFolder(folder.Path());
    ComparisonProgress progress;
    const ComparisonResult after = Comparison(plan).Run(progress);
    plan.shard = {2, 2};
    const ComparisonResult alone = Comparison(plan).Run(progress);
    for (size_t s = 0; s < 2; ++s) {
        const RunFigures& a = after.runs[s][1];
        const RunFigures& b = alone.runs[s][0];
        EXPECT_EQ(a.finalTotalBalance, b.finalTotalBalance);
        EXPECT_EQ(a.unitsStaked, b.unitsStaked);
        EXPECT_EQ(a.spinsWithBets, b.spinsWithBets);
        EXPECT_EQ(a.maxDrawdown, b.maxDrawdown);
        EXPECT_GT(a.unitsStaked, 0);
    }
}

TEST(ComparisonTest, ADamagedMissingOrEmptySpinFileIsReportedBeforeAnythingRuns) {
    TestFolder folder;
    folder.Write("bad.txt", "1 2 x");
    folder.Write("blank.txt", " \r\n ");
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::Peer};
    plan.spinFiles = {folder.Path() / "bad.txt"};
    EXPECT_THROW(Comparison(plan).GameCount(), FileError);
    plan.spinFiles = {folder.Path() / "missing.txt"};
    EXPECT_THROW(Comparison(plan).GameCount(), FileError);
    plan.spinFiles = {folder.Path() / "blank.txt"};
    try {
        Comparison comparison(plan);
        ADD_FAILURE() << "a blank spin file was taken";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Не удалось прочитать файл \"" +
                                                 (folder.Path() / "blank.txt").string() +
                                                 "\": в нём нет ни одного спина.");
    }
    EXPECT_THROW(SpinFilesOfFolder(folder.Path() / "missing"), FileError);
}

TEST(ComparisonTest, FilesJoinedAreCutIntoGamesOfOneLengthAndTheRemainderDropped) {
    // 100 spins over two files in two formats: games of 40 are spins 1-40 and 41-80.
    std::string spins[2];
    for (int i = 0; i < 100; ++i) {
        spins[i / 55] += std::to_string((i * 7 + i / 5) % 37) + (i / 55 == 0 ? "," : "  ");
    }
    TestFolder folder;
    folder.Write("a.txt", "Номер\r\n" + spins[0]);
    folder.Write("b.txt", spins[1]);
    std::string games[2];
    for (int i = 0; i < 80; ++i) {
        games[i / 40] += std::to_string((i * 7 + i / 5) % 37) + " ";
    }
    folder.Write("game1.txt", games[0]);
    folder.Write("game2.txt", games[1]);

    ComparisonPlan cut;
    cut.systems = {SelectionSystem::WithSelection, SelectionSystem::Chaos};
    cut.spinFiles = {folder.Path() / "a.txt", folder.Path() / "b.txt"};
    cut.gameLength = 40;
    const Comparison comparison(cut);
    EXPECT_EQ(comparison.Cut().spins, 100);
    EXPECT_EQ(comparison.Cut().games, 2);
    EXPECT_EQ(comparison.Cut().dropped, 20);
    EXPECT_EQ(comparison.TotalSpins(), 2 * 80);
    ComparisonPlan oneFileEach = cut;
    oneFileEach.spinFiles = {folder.Path() / "game1.txt", folder.Path() / "game2.txt"};
    oneFileEach.gameLength = 0;
    EXPECT_EQ(CsvOf(cut), CsvOf(oneFileEach));

    cut.gameLength = 101;
    try {
        Comparison tooShort(cut);
        ADD_FAILURE();
    } catch (const PlayerError& error) {
        EXPECT_STREQ(error.what(),
                     "Спинов в файлах меньше, чем в одной игре: 100 при длине игры 101.");
    }
}

TEST(ComparisonTest, CsvHasTheCommandAHeaderAndOneRowPerSystemAndRun) {
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::Gizmo};
    plan.runs = 2;
    plan.spinsPerRun = 3;  // the system needs five spins before it bets
    plan.bankroll = 40;
    EXPECT_EQ(CsvOf(plan),
              "# orbista-sim compare\n"
              "system,system_name,run,spins,final_total_balance,lowest_total_balance,win_stops,"
              "loss_stops,spins_with_bets,units_staked,units_won,highest_stake_level,"
              "most_units_on_table,ruined,spin_of_ruin,max_drawdown,bankroll,net_squares,"
              "stake_squares,net_times_stake\n"
              "gizmo,\"Хуйнюшка\",1,3,0,0,0,0,0,0,0,0,0,0,0,0,40,0,0,0\n"
              "gizmo,\"Хуйнюшка\",2,3,0,0,0,0,0,0,0,0,0,0,0,0,40,0,0,0\n");
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// A sanitized build is there for memory and threads, at a tenth of the speed: fewer spins, and no
// claim on how small the error gets.
constexpr int64_t HouseEdgeRuns = 2;
constexpr double LargestStandardError = 1.0;
#else
constexpr int64_t HouseEdgeRuns = 8;
// A payout one unit short moves the return by 1/37 (2.7%): four and a half of these errors.
constexpr double LargestStandardError = 0.006;
#endif

// Settlement faults show in what a unit staked brings back: whatever a system does, a fair wheel
// gives -1/37 per unit. Flat stakes keep the error small enough for a payout one unit short, or
// a stake taken twice, to fall far outside four standard errors.
TEST(ComparisonTest, EverySystemThatBetsGivesBackTheHouseEdgePerUnitStaked) {
    MemorySettings flat;
    flat.SetNumber(Setting::ProgressionSteepness, 0);
    flat.SetNumber(Setting::ChaosNumberCount, 12);
    StoredSettings rows{};
    const auto values = CaptureRows(flat);
    for (int k = 0; k < StoredRowCount; ++k) {
        rows[k].first = values[k];
    }
    ComparisonPlan plan;
    plan.systems = BettingSystems();
    plan.settings = rows;
    plan.seed = 2024;
    plan.runs = HouseEdgeRuns;
    plan.spinsPerRun = 25'000;
    plan.jobs = 2;
    ComparisonProgress progress;
    const ComparisonResult result = Comparison(plan).Run(progress);
    for (size_t s = 0; s < plan.systems.size(); ++s) {
        const SystemFigures figures = SummariseSystem(plan.systems[s], result.runs[s]);
        const char* name = InfoOf(plan.systems[s])->simName.data();
        ASSERT_GT(figures.unitsStaked, 10'000) << name;
        EXPECT_LT(figures.returnStandardError, LargestStandardError) << name;
        EXPECT_NEAR(figures.returnPerUnit, FairWheelReturn, 4 * figures.returnStandardError)
            << name << ": " << figures.returnPerUnit << " ± " << figures.returnStandardError;
    }
}

}  // namespace
}  // namespace orbista

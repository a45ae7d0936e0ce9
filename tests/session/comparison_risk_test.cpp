#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "session/balance_path.h"
#include "session/balance_summary.h"
#include "session/comparison_columns.h"
#include "session/intervals.h"
#include "session/paired_comparison.h"

namespace orbista {
namespace {

TEST(BalancePathTest, RuinAtTheFirstSpinAtMinusTheBankrollAndDrawdownFromThePeak) {
    BalancePath path(100);
    EXPECT_TRUE(path.Follow(1, 50));
    EXPECT_TRUE(path.Follow(2, 300));
    EXPECT_TRUE(path.Follow(3, 100));
    EXPECT_TRUE(path.Follow(4, -99));
    EXPECT_FALSE(path.Follow(5, -100));
    EXPECT_EQ(path.SpinOfRuin(), 5);
    EXPECT_EQ(path.DepthBelowStart(), 100);
    EXPECT_EQ(path.MaxDrawdown(), 400);  // 300 down to -100

    // Up to +3,000 and down to +100: never below the start, yet 2,900 lost from the peak.
    BalancePath rise(0);
    EXPECT_TRUE(rise.Follow(1, 3000));
    EXPECT_TRUE(rise.Follow(2, 100));
    EXPECT_TRUE(rise.Follow(3, -50'000));  // no bankroll: never ruined
    EXPECT_FALSE(rise.Ruined());
    EXPECT_EQ(rise.MaxDrawdown(), 53'000);
}

TEST(IntervalsTest, WilsonAndStudentIntervalsFromTheirFormulas) {
    // p = 0.2, z = 1.959964: (p + z²/2n ± z·sqrt(p(1-p)/n + z²/4n²)) / (1 + z²/n).
    const Share two = ShareWithInterval(2, 10);
    EXPECT_DOUBLE_EQ(two.value, 0.2);
    EXPECT_NEAR(two.interval.low, 0.0566822, 1e-7);
    EXPECT_NEAR(two.interval.high, 0.5098375, 1e-7);
    // None of 20 is z²/(n + z²) at most, not 0.
    const Share none = ShareWithInterval(0, 20);
    EXPECT_EQ(none.interval.low, 0);
    EXPECT_NEAR(none.interval.high, 0.1611252, 1e-7);
    EXPECT_EQ(ShareWithInterval(0, 0).interval.high, 1);  // nothing known
    // t(0.975, 4 degrees) = 2.776445.
    const Interval mean = MeanInterval(10, 2, 5);
    EXPECT_NEAR(mean.low, 4.447110, 1e-6);
    EXPECT_NEAR(mean.high, 15.552890, 1e-6);
    EXPECT_DOUBLE_EQ(StandardErrorOfMean(40, 5), 1.4142135623730951);  // sqrt(40 / 4 / 5)
}

RunFigures Played(int32_t final, int32_t lowest, int64_t drawdown, int32_t spinOfRuin = 0) {
    RunFigures run;
    run.spins = spinOfRuin != 0 ? spinOfRuin : 1000;
    run.finalTotalBalance = final;
    run.lowestTotalBalance = lowest;
    run.maxDrawdown = drawdown;
    run.spinOfRuin = spinOfRuin;
    run.unitsStaked = 37'000;
    return run;
}

TEST(ComparisonRiskTest, RuinDrawdownAndTheBankrollRunsNeeded) {
    const std::vector<RunFigures> runs = {Played(-100, -100, 150, 120), Played(40, -30, 90),
                                          Played(-100, -100, 100, 300), Played(-20, -60, 60)};
    const SystemFigures f = SummariseSystem(SelectionSystem::Peer, runs, 100);
    EXPECT_EQ(f.spins, 120 + 1000 + 300 + 1000);
    EXPECT_EQ(f.ruin.count, 2);
    EXPECT_DOUBLE_EQ(f.ruin.value, 0.5);
    EXPECT_DOUBLE_EQ(f.medianSpinOfRuin, 210);
    EXPECT_DOUBLE_EQ(f.p90SpinOfRuin, 282);
    EXPECT_DOUBLE_EQ(f.medianMaxDrawdown, 95);  // of 60, 90, 100, 150
    EXPECT_DOUBLE_EQ(f.medianDepth, 80);        // of 30, 60, 100, 100
    EXPECT_DOUBLE_EQ(f.bankrollFor95, 100);
    EXPECT_DOUBLE_EQ(f.meanFinal, -45);
    EXPECT_NEAR(f.meanStandardError, 34.0343, 1e-4);  // sqrt(13900 / 3 / 4)
    EXPECT_NEAR(f.stakedPerThousand, 61'157.0, 0.1);  // 148,000 staked over 2,420 spins
    EXPECT_NEAR(f.edgeLossPerThousand, 1652.9, 0.1);  // a 37th of it

    const auto text = [&](const char* key, const NumberStyle& style) {
        return CellText(ColumnByKey(key)->cell(f), style);
    };
    EXPECT_EQ(text("bankroll_95", ScriptNumbers), ">100");
    EXPECT_EQ(text("bankroll_95", WindowNumbers), "> 100");
    EXPECT_EQ(text("ruin", ScriptNumbers), "50.0%");
    EXPECT_EQ(text("ruin_95", ScriptNumbers), "15.0-85.0%");
    EXPECT_EQ(text("ruin_95", WindowNumbers), "15,0–85,0 %");
    EXPECT_EQ(text("mean", WindowNumbers), "−45,0");
    EXPECT_EQ(text("return/unit", ScriptNumbers), "-0.12%");  // -180 of 148,000

    // Without a bankroll nothing is ruined and the risk of ruin is no figure; a system that
    // staked nothing has no money figure at all.
    EXPECT_EQ(CellText(ColumnByKey("ruin")->cell(SummariseSystem(SelectionSystem::Peer, runs)),
                       ScriptNumbers),
              "—");
    std::vector<RunFigures> idle = {Played(0, 0, 0)};
    idle[0].unitsStaked = 0;
    const SystemFigures none = SummariseSystem(SelectionSystem::StatisticsOnly, idle, 100);
    EXPECT_EQ(CellText(ColumnByKey("runs")->cell(none), ScriptNumbers), "1");
    EXPECT_EQ(CellText(ColumnByKey("fair_wheel")->cell(none), ScriptNumbers), "—");
}

TEST(ComparisonRiskTest, APairOnTheSameGames) {
    ComparisonPlan plan;
    plan.systems = {SelectionSystem::Peer, SelectionSystem::Esd};
    ComparisonResult result;
    result.runs = {{Played(10, 0, 0), Played(-20, -20, 20), Played(30, 0, 0), Played(0, 0, 0)},
                   {Played(0, 0, 0), Played(-40, -40, 40), Played(30, 0, 0), Played(-10, -10, 10)}};
    const PairFigures pair = ComparePair(plan, result, 0, 1);
    EXPECT_EQ(pair.games, 4);
    EXPECT_DOUBLE_EQ(pair.meanDifference, 10);      // of 10, 20, 0, 10
    EXPECT_NEAR(pair.standardError, 4.0825, 1e-4);  // sqrt(200 / 3 / 4)
    EXPECT_NEAR(pair.interval.low, -2.9923, 1e-4);  // 10 ∓ 3.182446 · 4.0825
    EXPECT_NEAR(pair.interval.high, 22.9923, 1e-4);
    EXPECT_EQ(pair.firstAbove.count, 3);
}

TEST(BalanceSummaryTest, ExactNearTheStartAndWithinABucketBeyond) {
    BalanceSummary summary;
    for (const int64_t value : {-3, 7, 0, 12, -40}) {
        summary.Add(value);
    }
    EXPECT_DOUBLE_EQ(summary.Quantile(50), 0);
    EXPECT_DOUBLE_EQ(summary.Quantile(5), -32.6);  // as Percentile: -40 + 0.2 · 37
    // 1,000 falls in the bucket 992..1007 of the octave 512..1023, and is read as its middle.
    BalanceSummary far;
    far.Add(1000);
    EXPECT_DOUBLE_EQ(far.Quantile(50), 999.5);
    // Thousands of values spread far both ways, arriving in no order: every percentile within a
    // bucket (about 3 %) of the exact one, however the buckets grew.
    BalanceSummary spread;
    std::vector<double> exact;
    for (int64_t k = 0; k < 4000; ++k) {
        const int64_t value = (k * 7919 % 4001 - 2000) * (k % 3 == 0 ? 37 : 1);
        spread.Add(value);
        exact.push_back(static_cast<double>(value));
    }
    std::sort(exact.begin(), exact.end());
    for (const double p : {1.0, 5.0, 25.0, 50.0, 75.0, 95.0, 99.0}) {
        const double truth = Percentile(exact, p);
        EXPECT_NEAR(spread.Quantile(p), truth, std::max(1.0, std::abs(truth) / 32)) << p;
    }
    BalanceSummary below;
    below.Add(-1'000'000);
    EXPECT_NEAR(below.Quantile(50), -1'000'000, 1'000'000 / 32.0);
    EXPECT_EQ(BalanceSummary().Quantile(50), 0);
}

}  // namespace
}  // namespace orbista

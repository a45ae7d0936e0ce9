#include "engine/chart_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <set>
#include <vector>

namespace orbista {
namespace {

// A game of the given spins, oldest first, as the engine leaves the histories.
std::unique_ptr<GameState> GameOf(std::initializer_list<int32_t> oldestFirst) {
    auto state = std::make_unique<GameState>();
    for (const int32_t number : oldestFirst) {
        ShiftHistoryUp(*state);
        ++state->SpinCount;
        state->SpinHistory[1] = number;
    }
    return state;
}

std::vector<double> Values(const ChartSeries& series) {
    const std::span<const double> values = series.bars.Values();
    return {values.begin(), values.end()};
}

std::vector<std::string> Labels(const ChartSeries& series) {
    std::vector<std::string> labels;
    for (const ChartBar bar : series.bars) {
        labels.emplace_back(bar.label);
    }
    return labels;
}

using V = std::vector<double>;

TEST(ChartCounts, WholeGameInTableOrder) {
    const auto state = GameOf({1, 2, 3, 0, 36});
    const auto series = BuildChartSeries(*state, {.spinWindow = 0, .wheelOrder = false});

    const ChartSeries& numbers = series[Chart::Numbers];
    ASSERT_EQ(numbers.bars.size(), 37u);
    for (int m = 0; m <= 36; ++m) {
        EXPECT_EQ(numbers.bars[m].label, std::to_string(m));
        const bool came = m == 0 || m == 1 || m == 2 || m == 3 || m == 36;
        EXPECT_EQ(numbers.bars[m].value, came ? 1 : 0) << m;
    }
    EXPECT_EQ(Values(series[Chart::Dozens]), (V{3, 0, 1}));
    EXPECT_EQ(Values(series[Chart::Columns]), (V{1, 1, 2}));
    EXPECT_EQ(Values(series[Chart::Colours]), (V{3, 1}));
    EXPECT_EQ(Labels(series[Chart::Colours]), (std::vector<std::string>{"Кр.", "Черн."}));
    EXPECT_EQ(Values(series[Chart::Parity]), (V{2, 2}));
    EXPECT_EQ(Values(series[Chart::Halves]), (V{3, 1}));
    EXPECT_EQ(Values(series[Chart::SixLines]), (V{3, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Values(series[Chart::Streets]), (V{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Values(series[Chart::Lines]), (V{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Labels(series[Chart::Streets]).back(), "12");
    EXPECT_EQ(series[Chart::Balance].bars.size(), 5u);
}

TEST(ChartCounts, WindowCountsOnlyTheNewestSpinsAndZeroJoinsNoGroup) {
    const auto state = GameOf({1, 2, 3, 0, 36});
    const auto series = BuildChartSeries(*state, {.spinWindow = 2});
    EXPECT_EQ(series[Chart::Numbers].bars[0].value, 1);
    EXPECT_EQ(series[Chart::Numbers].bars[36].value, 1);
    EXPECT_EQ(series[Chart::Numbers].bars[1].value, 0);
    EXPECT_EQ(Values(series[Chart::Dozens]), (V{0, 0, 1}));
    EXPECT_EQ(Values(series[Chart::Colours]), (V{1, 0}));
    EXPECT_EQ(Values(series[Chart::Parity]), (V{1, 0}));
    EXPECT_EQ(Values(series[Chart::Lines]), (V{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(series[Chart::Balance].bars.size(), 2u);
}

TEST(ChartCounts, EveryNumberFallsInTheGroupsThatHoldIt) {
    for (int32_t s = 1; s <= 36; ++s) {
        ChartCounters counters;
        CountSpin(counters, s);
        EXPECT_EQ(counters.DozenHits[(s - 1) / 12], 1) << s;
        EXPECT_EQ(counters.ColumnHits[(s - 1) % 3], 1) << s;
        EXPECT_EQ(counters.ColourHits[IsRed(s) ? 0 : 1], 1) << s;
        EXPECT_EQ(counters.SixLineHits[(s - 1) / 6], 1) << s;
        EXPECT_EQ(counters.StreetHits[(s - 1) / 3], 1) << s;
        int lines = 0;
        for (int k = 1; k <= 11; ++k) {
            const bool holds = 3 * k - 2 <= s && s <= 3 * k + 3;
            EXPECT_EQ(counters.LineHits[k - 1], holds ? 1 : 0) << s << " line " << k;
            lines += holds ? 1 : 0;
        }
        EXPECT_EQ(lines, s <= 3 || s >= 34 ? 1 : 2) << s;
    }
    using Columns = std::array<int32_t, 3>;
    for (const auto& [s, column] :
         {std::pair{31, Columns{1, 0, 0}}, std::pair{30, Columns{0, 0, 1}},
          std::pair{35, Columns{0, 1, 0}}}) {
        ChartCounters counters;
        CountSpin(counters, s);
        EXPECT_EQ(counters.ColumnHits, column) << s;
    }
}

TEST(ChartCounts, ValuesOutsideTheWheelCountNowhere) {
    ChartCounters counters;
    CountSpin(counters, -1);
    CountSpin(counters, 37);
    CountSpin(counters, 1000000);
    EXPECT_EQ(counters.NumberHits, ChartCounters{}.NumberHits);
    EXPECT_EQ(counters.LineHits, ChartCounters{}.LineHits);
}

TEST(ChartCounts, WheelOrderStartsAtFiveWithZeroNineteenth) {
    const auto state = GameOf({5, 5, 0});
    const auto series = BuildChartSeries(*state, {.wheelOrder = true});
    const ChartSeries& numbers = series[Chart::Numbers];
    ASSERT_EQ(numbers.bars.size(), 37u);
    EXPECT_EQ(numbers.bars[0].label, "5");
    EXPECT_EQ(numbers.bars[0].value, 2);
    EXPECT_EQ(numbers.bars[18].label, "0");
    EXPECT_EQ(numbers.bars[18].value, 1);
    std::set<std::string> distinct;
    for (const ChartBar bar : numbers.bars) {
        distinct.emplace(bar.label);
    }
    EXPECT_EQ(distinct.size(), 37u);
}

TEST(ChartCounts, BalanceAndStakeChartsRunFromOldestToNewest) {
    auto state = GameOf({7, 8, 9});
    state->BalanceHistory[3] = 10;
    state->BalanceHistory[2] = -5;
    state->BalanceHistory[1] = 20;
    state->StakeHistory[3] = 1;
    state->StakeHistory[2] = 2;
    state->StakeHistory[1] = 4;
    const auto series = BuildChartSeries(*state, {});
    EXPECT_EQ(Labels(series[Chart::Balance]), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Values(series[Chart::Balance]), (V{10, -5, 20}));
    EXPECT_EQ(Values(series[Chart::Stakes]), (V{1, 2, 4}));
}

TEST(ChartDepth, WindowAndGameAndLimit) {
    EXPECT_EQ(ChartDepth(0, 5), 5);
    EXPECT_EQ(ChartDepth(-3, 5), 5);  // only a window above zero narrows
    EXPECT_EQ(ChartDepth(2, 5), 2);
    EXPECT_EQ(ChartDepth(10, 5), 5);  // never beyond the spins of this game
    EXPECT_EQ(ChartDepth(0, 250000), ChartDepthLimit);
    EXPECT_EQ(ChartDepth(10000, 250000), 10000);
    EXPECT_EQ(ChartDepth(0, 0), 0);
}

TEST(ChartCounts, NoSpinsLeaveEveryCountBarAtZeroAndNoBalanceBars) {
    const auto state = GameOf({});
    const auto series = BuildChartSeries(*state, {.spinWindow = 10});
    for (const Chart chart :
         {Chart::Numbers, Chart::Dozens, Chart::Columns, Chart::Colours, Chart::Parity,
          Chart::Halves, Chart::SixLines, Chart::Streets, Chart::Lines}) {
        const std::vector<double> values = Values(series[chart]);
        EXPECT_FALSE(values.empty()) << ControlOf(chart);
        EXPECT_TRUE(std::all_of(values.begin(), values.end(), [](double v) { return v == 0; }))
            << ControlOf(chart);
    }
    EXPECT_TRUE(series[Chart::Balance].bars.empty());
    EXPECT_TRUE(series[Chart::Stakes].bars.empty());
}

TEST(ChartCounts, WindowBeyondTheGameCountsNoLeftoversOfAnEarlierGame) {
    // After a new game the histories still hold the earlier game's spins past SpinCount.
    auto state = GameOf({17, 17, 17, 4});
    state->SpinCount = 1;
    const auto series = BuildChartSeries(*state, {.spinWindow = 100});
    EXPECT_EQ(series[Chart::Numbers].bars[4].value, 1);
    EXPECT_EQ(series[Chart::Numbers].bars[17].value, 0);
    EXPECT_EQ(series[Chart::Balance].bars.size(), 1u);
}

TEST(ChartCounts, LongGameShowsTheNewestHundredThousand) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 250000;
    state->BalanceHistory[1] = 42;
    state->BalanceHistory[ChartDepthLimit] = -7;
    state->SpinHistory[ChartDepthLimit + 1] = 5;  // just beyond the limit: not counted
    const auto series = BuildChartSeries(*state, {});
    ASSERT_EQ(series[Chart::Balance].bars.size(), static_cast<std::size_t>(ChartDepthLimit));
    EXPECT_EQ(series[Chart::Balance].bars.front().value, -7);
    EXPECT_EQ(series[Chart::Balance].bars.back().value, 42);
    EXPECT_EQ(series[Chart::Balance].bars.back().label, "100000");
    EXPECT_EQ(series[Chart::Numbers].bars[0].value, ChartDepthLimit);
    EXPECT_EQ(series[Chart::Numbers].bars[5].value, 0);
}

TEST(ChartCounts, RefillingReplacesEverythingAndKeepsTheOrder) {
    const auto longGame = GameOf({1, 2, 3, 4, 5, 6});
    const auto shortGame = GameOf({36});
    PerChart<ChartSeries> series;
    FillChartSeries(*longGame, {}, series);
    FillChartSeries(*shortGame, {}, series);
    const auto fresh = BuildChartSeries(*shortGame, {});
    for (const ChartInfo& info : ChartsTable) {
        const Chart chart = info.chart;
        EXPECT_EQ(series[chart].chart, chart);
        EXPECT_EQ(series[chart].title, fresh[chart].title);
        EXPECT_EQ(Values(series[chart]), Values(fresh[chart])) << info.control;
        EXPECT_EQ(Labels(series[chart]), Labels(fresh[chart])) << info.control;
    }
    EXPECT_EQ(series[Chart::Balance].title, "График баланса");
    EXPECT_EQ(series[Chart::Numbers].marks, ValueMarks::EveryThird);
}

}  // namespace
}  // namespace orbista

#include "engine/chart_counts.h"

#include <algorithm>
#include <charconv>
#include <span>
#include <string_view>

namespace orbista {

int32_t ChartDepth(int32_t spinWindow, int64_t spinCount) {
    const int64_t wanted = spinWindow > 0 ? spinWindow : spinCount;
    return static_cast<int32_t>(std::clamp<int64_t>(
        std::min({wanted, spinCount, int64_t{ChartDepthLimit}}), 0, ChartDepthLimit));
}

void CountSpin(ChartCounters& counters, int32_t number) {
    if (number < 0 || number > 36) {
        return;
    }
    ++counters.NumberHits[number];
    if (number == 0) {
        return;
    }
    const int32_t index = number - 1;
    ++counters.DozenHits[index / 12];
    ++counters.ColumnHits[index % 3];
    ++counters.ColourHits[IsRed(number) ? 0 : 1];
    ++counters.ParityHits[number % 2 == 0 ? 0 : 1];
    ++counters.HalfHits[number <= 18 ? 0 : 1];
    ++counters.SixLineHits[index / 6];
    const int32_t street = index / 3;  // 0-based street k covers 3k+1 .. 3k+3
    ++counters.StreetHits[street];
    // Line k (0-based) covers streets k and k+1: a number is in the line that starts at its
    // street and in the one that ends there, where those lines exist.
    if (street < static_cast<int32_t>(counters.LineHits.size())) {
        ++counters.LineHits[street];
    }
    if (street > 0) {
        ++counters.LineHits[street - 1];
    }
}

ChartCounters CountSpins(const History& spins, int32_t depth) {
    ChartCounters counters;
    const int32_t last = std::clamp(depth, 0, static_cast<int32_t>(spins.size()) - 1);
    for (int32_t i = 1; i <= last; ++i) {
        CountSpin(counters, spins[i]);
    }
    return counters;
}

void ChartBars::Append(double value, std::string_view label, uint32_t colour) {
    values_.push_back(value);
    colours_.push_back(colour);
    labels_.append(label);
    labelEnds_.push_back(static_cast<uint32_t>(labels_.size()));
}

void ChartBars::clear() {
    values_.clear();
    colours_.clear();
    labelEnds_.clear();
    labels_.clear();
}

void ChartBars::reserve(std::size_t bars) {
    values_.reserve(bars);
    colours_.reserve(bars);
    labelEnds_.reserve(bars);
    labels_.reserve(bars * 6);  // "100000"
}

ChartBar ChartBars::operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : labelEnds_[index - 1];
    return ChartBar{values_[index],
                    std::string_view(labels_).substr(start, labelEnds_[index] - start),
                    colours_[index]};
}

std::string_view ChartBars::LongestLabel() const {
    std::string_view longest;
    for (std::size_t i = 0; i < size(); ++i) {
        const std::string_view label = (*this)[i].label;
        if (label.size() > longest.size()) {
            longest = label;
        }
    }
    return longest;
}

namespace {

void TakeHeading(ChartSeries& series, const ChartInfo& info) {
    series.chart = info.chart;
    series.title = info.title;
    series.marks = info.marks;
}

void AppendBar(ChartSeries& series, double value, int64_t label) {
    std::array<char, 24> digits{};
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), label);
    series.bars.Append(value, std::string_view(digits.data(), written.ptr - digits.data()));
}

void AppendBar(ChartSeries& series, double value, std::string_view label) {
    series.bars.Append(value, label);
}

// Bars "1", "2", ... over the counters of a group.
void AppendNumbered(ChartSeries& series, std::span<const int32_t> hits) {
    series.bars.reserve(hits.size());
    for (std::size_t k = 0; k < hits.size(); ++k) {
        AppendBar(series, hits[k], static_cast<int64_t>(k + 1));
    }
}

void AppendNumberHits(ChartSeries& series, const ChartCounters& counters, bool wheelOrder) {
    series.bars.reserve(NumberCount);
    for (int32_t position = 0; position < NumberCount; ++position) {
        const int32_t number = wheelOrder ? ChartWheelSequence[position] : position;
        AppendBar(series, counters.NumberHits[number], int64_t{number});
    }
}

// Bar k is the k-th oldest spin of the window, so the newest spin stands at the right.
void AppendPerSpin(ChartSeries& series, const History& history, int32_t depth) {
    series.bars.reserve(depth);
    for (int32_t k = 1; k <= depth; ++k) {
        AppendBar(series, history[depth - k + 1], int64_t{k});
    }
}

void AppendPair(ChartSeries& series, const std::array<int32_t, 2>& hits, std::string_view first,
                std::string_view second) {
    AppendBar(series, hits[0], first);
    AppendBar(series, hits[1], second);
}

}  // namespace

PerChart<ChartSeries> EmptyChartSeries() {
    PerChart<ChartSeries> series;
    for (const ChartInfo& info : ChartsTable) {
        TakeHeading(series[info.chart], info);
    }
    return series;
}

PerChart<ChartSeries> BuildChartSeries(const GameState& state, ChartInputs inputs) {
    PerChart<ChartSeries> series;
    FillChartSeries(state, inputs, series);
    return series;
}

void FillChartSeries(const GameState& state, ChartInputs inputs, PerChart<ChartSeries>& series) {
    const int32_t depth = ChartDepth(inputs.spinWindow, state.SpinCount);
    const ChartCounters counters = CountSpins(state.SpinHistory, depth);

    for (const ChartInfo& info : ChartsTable) {
        TakeHeading(series[info.chart], info);
        series[info.chart].bars.clear();
    }
    AppendNumberHits(series[Chart::Numbers], counters, inputs.wheelOrder);
    AppendNumbered(series[Chart::Dozens], counters.DozenHits);
    AppendNumbered(series[Chart::Columns], counters.ColumnHits);
    AppendPair(series[Chart::Colours], counters.ColourHits, "Кр.", "Черн.");
    AppendPair(series[Chart::Parity], counters.ParityHits, "Чет", "Не чет");
    AppendPair(series[Chart::Halves], counters.HalfHits, "Мен.", "Бол.");
    AppendPerSpin(series[Chart::Balance], state.BalanceHistory, depth);
    AppendPerSpin(series[Chart::Stakes], state.StakeHistory, depth);
    AppendNumbered(series[Chart::SixLines], counters.SixLineHits);
    AppendNumbered(series[Chart::Streets], counters.StreetHits);
    AppendNumbered(series[Chart::Lines], counters.LineHits);
}

}  // namespace orbista

#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/enum_table.h"
#include "model/game_state.h"

namespace orbista {

// What the "Графики" tab shows, counted from the game state as plain data. The widgets only draw
// it, so everything here is checked without a display.

// The charts never count more spins than this, however long the game.
constexpr int32_t ChartDepthLimit = 100000;

// The numbers as they follow each other on the wheel, from 5, so that zero is the 19th bar.
constexpr std::array<int32_t, NumberCount> ChartWheelSequence = {
    5,  24, 16, 33, 1,  20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3,  26, 0,
    32, 15, 19, 4,  21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8,  23, 10};

// How many of the newest spins the charts count: the window when it is above 0, else the whole
// game. Never more than the game holds: beyond SpinCount the histories keep only zeros or the
// spins of an earlier game, which would count as this game's.
int32_t ChartDepth(int32_t spinWindow, int64_t spinCount);

// Hits per number and per group over the counted spins; entry 0 is group 1. Zero counts only in
// NumberHits.
struct ChartCounters {
    std::array<int32_t, NumberCount> NumberHits{};
    std::array<int32_t, 3> DozenHits{};
    std::array<int32_t, 3> ColumnHits{};
    std::array<int32_t, 2> ColourHits{};  // red, black
    std::array<int32_t, 2> ParityHits{};  // even, odd
    std::array<int32_t, 2> HalfHits{};    // low (1..18), high (19..36)
    std::array<int32_t, 6> SixLineHits{};
    std::array<int32_t, 12> StreetHits{};
    std::array<int32_t, 11> LineHits{};  // 1-6, 4-9, ..., 31-36: overlapping by a street
};

// Adds one spin to every group it belongs to. A value outside 0..36 belongs to none.
void CountSpin(ChartCounters& counters, int32_t number);

// The counters over SpinHistory[1..depth].
ChartCounters CountSpins(const History& spins, int32_t depth);

// Bars are all added in one colour, 0xRRGGBB; the chart shades them.
constexpr uint32_t BarColour = 0x0000FF;

// One bar as read back from a ChartBars; the label points into the list.
struct ChartBar {
    double value = 0.0;
    std::string_view label;
    uint32_t colour = BarColour;
};

// The bars of one chart in the order appended. The labels share one buffer and the values lie
// side by side: a hundred thousand bars take a couple of megabytes, refilled in place.
class ChartBars {
  public:
    class Iterator {
      public:
        Iterator(const ChartBars& bars, std::size_t index) : bars_(&bars), index_(index) {}
        ChartBar operator*() const { return (*bars_)[index_]; }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return index_ == other.index_; }

      private:
        const ChartBars* bars_;
        std::size_t index_;
    };

    void Append(double value, std::string_view label, uint32_t colour = BarColour);
    // Empties the list and keeps its storage.
    void clear();
    void reserve(std::size_t bars);

    std::size_t size() const { return values_.size(); }
    bool empty() const { return values_.empty(); }
    ChartBar operator[](std::size_t index) const;
    ChartBar front() const { return (*this)[0]; }
    ChartBar back() const { return (*this)[size() - 1]; }
    Iterator begin() const { return Iterator(*this, 0); }
    Iterator end() const { return Iterator(*this, size()); }

    std::span<const double> Values() const { return values_; }
    // The label with the most characters, for sizing the axis.
    std::string_view LongestLabel() const;

  private:
    std::vector<double> values_;
    std::vector<uint32_t> colours_;
    std::vector<uint32_t> labelEnds_;  // label i ends where label i + 1 starts
    std::string labels_;
};

enum class ValueMarks { None, All, EveryThird };

// Whether the bar at a 0-based index shows its value.
constexpr bool CarriesMark(ValueMarks marks, std::size_t index) {
    switch (marks) {
        case ValueMarks::All:
            return true;
        case ValueMarks::EveryThird:
            return index % 3 == 0;
        case ValueMarks::None:
            break;
    }
    return false;
}

// The charts in the order they are refilled.
enum class Chart {
    Numbers,
    Dozens,
    Columns,
    Colours,
    Parity,
    Halves,
    Balance,
    Stakes,
    SixLines,
    Streets,
    Lines,
};
inline constexpr int ChartCount = 11;

struct ChartInfo {
    Chart chart;
    std::string_view control;  // the object name of the window's chart
    std::string_view title;
    ValueMarks marks;
};

// The one table of the charts' control names, titles and marks, in the order of Chart.
inline constexpr std::array<ChartInfo, ChartCount> ChartsTable = {{
    {Chart::Numbers, "Diagramma", "Частота выпадения спинов", ValueMarks::EveryThird},
    {Chart::Dozens, "Chart1", "Частота выпадения дюжен", ValueMarks::All},
    {Chart::Columns, "Chart2", "Частота выпадения калонн", ValueMarks::All},
    {Chart::Colours, "Chart3", "Красное/черное", ValueMarks::All},
    {Chart::Parity, "Chart4", "Чет/нечет", ValueMarks::All},
    {Chart::Halves, "Chart5", "Больше/меньше", ValueMarks::All},
    {Chart::Balance, "Chart6", "График баланса", ValueMarks::None},
    {Chart::Stakes, "Chart7", "Размер ствок", ValueMarks::None},
    {Chart::SixLines, "Chart8", "Частота выпадения сикслайнов", ValueMarks::None},
    {Chart::Streets, "Chart9", "Частота выпадения стритов", ValueMarks::None},
    {Chart::Lines, "Chart10", "Частота выпадения линий", ValueMarks::All},
}};

constexpr std::size_t IndexOf(Chart chart) {
    return static_cast<std::size_t>(chart);
}
constexpr std::string_view ControlOf(Chart chart) {
    return ChartsTable[IndexOf(chart)].control;
}

static_assert(ListedInEnumOrder(ChartsTable, &ChartInfo::chart),
              "ChartsTable must list the charts in enum order");

// One entry per chart, reached by its Chart and walked in the table's order.
template <typename T>
class PerChart {
  public:
    T& operator[](Chart chart) { return entries_[IndexOf(chart)]; }
    const T& operator[](Chart chart) const { return entries_[IndexOf(chart)]; }
    auto begin() { return entries_.begin(); }
    auto end() { return entries_.end(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

  private:
    std::array<T, ChartCount> entries_{};
};

struct ChartSeries {
    Chart chart = Chart::Numbers;
    std::string title;
    ValueMarks marks = ValueMarks::None;
    ChartBars bars;
};

struct ChartInputs {
    int32_t spinWindow = 0;
    bool wheelOrder = false;
};

// Every chart's title, marks and bars from the newest spins of the game.
PerChart<ChartSeries> BuildChartSeries(const GameState& state, ChartInputs inputs);

// The same into series that already exist, reusing their storage: a rebuild of a long game then
// allocates nothing, which is most of what it would otherwise cost.
void FillChartSeries(const GameState& state, ChartInputs inputs, PerChart<ChartSeries>& series);

// The series of every chart with no bars, for the charts before their first rebuild.
PerChart<ChartSeries> EmptyChartSeries();

}  // namespace orbista

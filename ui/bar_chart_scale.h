#pragma once

#include <span>
#include <vector>

namespace orbista {

// The arithmetic of a bar chart, apart from any painting so it is checked without a display.

// An axis from `minimum` to `maximum` with ticks every `step`.
struct AxisRange {
    double minimum = 0.0;
    double maximum = 1.0;
    double step = 1.0;
};

// A range that holds every value and zero, widened to whole ticks of 1, 2 or 5 times a power of
// ten, with about `maxTicks` ticks. Whole values get whole ticks.
AxisRange AutomaticRange(std::span<const double> values, int maxTicks);

// The pixel row of a value on an axis drawn from `bottom` (minimum) up to `top` (maximum).
int ValueToPixel(double value, const AxisRange& range, int top, int bottom);

// What one pixel column covers when there are more bars than columns: the union of its bars,
// each drawn from zero to its value.
struct ColumnSpan {
    double low = 0.0;
    double high = 0.0;
};

// Bars spread evenly over `columns` columns (more bars than columns), column by column.
std::vector<ColumnSpan> AggregateColumns(std::span<const double> values, int columns);

// Which bars get a label under the axis: every bar when the labels fit, otherwise every n-th with
// n a round 2, 5, 10, 20, ... so the labels shown are round. `pitch` is the distance between bars
// in pixels; with two rows the labels alternate between them, so neighbours may be closer.
std::vector<int> ThinnedLabels(int barCount, double pitch, int labelWidth, int rows);

// Whether labels of these widths, centred under bars `pitch` apart and alternating over `rows`
// rows, all fit without touching.
bool LabelsFit(std::span<const int> widths, double pitch, int rows);

}  // namespace orbista

#include "ui/bar_chart_scale.h"

#include <algorithm>
#include <cmath>

namespace orbista {

namespace {

constexpr int LabelGap = 3;  // pixels between neighbouring labels

}  // namespace

AxisRange AutomaticRange(std::span<const double> values, int maxTicks) {
    double low = 0.0;
    double high = 0.0;
    bool whole = true;
    for (const double value : values) {
        if (!std::isfinite(value)) {
            continue;
        }
        low = std::min(low, value);
        high = std::max(high, value);
        whole = whole && value == std::floor(value);
    }
    if (high == low) {
        high = low + 1.0;
    }
    const double rough = (high - low) / std::max(1, maxTicks);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10.0;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (power * factor >= rough) {
            step = power * factor;
            break;
        }
    }
    if (whole) {
        step = std::max(step, 1.0);
    }
    AxisRange range;
    range.step = step;
    range.minimum = std::floor(low / step) * step;
    range.maximum = std::ceil(high / step) * step;
    if (range.maximum <= range.minimum) {
        range.maximum = range.minimum + step;
    }
    return range;
}

int ValueToPixel(double value, const AxisRange& range, int top, int bottom) {
    const double span = range.maximum - range.minimum;
    if (!(span > 0.0) || !std::isfinite(value)) {
        return bottom;
    }
    const double pixel = bottom - (value - range.minimum) / span * (bottom - top);
    // Far outside the axis is as good as just outside it, and keeps the painter's integers sane.
    const double margin = std::abs(bottom - top) + 1000.0;
    return static_cast<int>(std::lround(
        std::clamp(pixel, std::min(top, bottom) - margin, std::max(top, bottom) + margin)));
}

std::vector<ColumnSpan> AggregateColumns(std::span<const double> values, int columns) {
    std::vector<ColumnSpan> spans;
    if (columns <= 0 || values.empty()) {
        return spans;
    }
    spans.resize(columns);
    const int64_t count = static_cast<int64_t>(values.size());
    for (int column = 0; column < columns; ++column) {
        int64_t first = column * count / columns;
        const int64_t last = std::max(first + 1, (column + 1) * count / columns);
        first = std::min(first, count - 1);
        ColumnSpan span;
        for (int64_t i = first; i < std::min(last, count); ++i) {
            const double value = values[i];
            span.low = std::min(span.low, value);
            span.high = std::max(span.high, value);
        }
        spans[column] = span;
    }
    return spans;
}

std::vector<int> ThinnedLabels(int barCount, double pitch, int labelWidth, int rows) {
    std::vector<int> shown;
    if (barCount <= 0 || !(pitch > 0.0)) {
        return shown;
    }
    const double needed = labelWidth + LabelGap;
    const double rowPitch = pitch * std::max(1, rows);
    int64_t every = 1;
    for (int64_t power = 1; every * rowPitch < needed && power <= barCount; power *= 10) {
        for (const int64_t factor : {1, 2, 5}) {
            every = power * factor;
            if (every * rowPitch >= needed) {
                break;
            }
        }
    }
    if (every == 1) {
        shown.resize(barCount);
        for (int i = 0; i < barCount; ++i) {
            shown[i] = i;
        }
        return shown;
    }
    // Bars are numbered from 1, so every n-th label is a round number.
    for (int64_t label = every; label <= barCount; label += every) {
        shown.push_back(static_cast<int>(label - 1));
    }
    return shown;
}

bool LabelsFit(std::span<const int> widths, double pitch, int rows) {
    const std::size_t step = static_cast<std::size_t>(std::max(1, rows));
    for (std::size_t i = 0; i + step < widths.size(); ++i) {
        if (pitch * step < (widths[i] + widths[i + step]) / 2.0 + LabelGap) {
            return false;
        }
    }
    return true;
}

}  // namespace orbista

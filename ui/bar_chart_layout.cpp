#include "ui/bar_chart_layout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace orbista::bar_chart {

namespace {

constexpr int BorderWidth = 2;
constexpr double DepthPercent = 0.05;
constexpr int TitleFontPixels = 11;
// Clear of the border: the accents of a capital or of «й» reach above the font's ascent in some
// faces and at some hintings.
constexpr int TitleGap = 2;
constexpr int SmallestMarkPixels = 7;
constexpr std::size_t MeasuredLabels = 64;

int TickLabelWidth(const AxisRange& range, const QFontMetrics& metrics) {
    return std::max(metrics.horizontalAdvance(ValueText(range.minimum)),
                    metrics.horizontalAdvance(ValueText(range.maximum)));
}

// Raises the top of the axis by whole ticks until the marks above the highest bars fit.
void MakeRoomForMarks(Frame& frame, std::span<const double> values, ValueMarks marks,
                      int markHeight) {
    double highest = 0.0;
    double lowest = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (CarriesMark(marks, i)) {
            highest = std::max(highest, values[i]);
            lowest = std::min(lowest, values[i]);
        }
    }
    const int room = markHeight + frame.depth + 3;
    for (int guard = 0; guard < 20 && frame.Y(highest) - room < frame.plotTop; ++guard) {
        frame.range.maximum += frame.range.step;
    }
    for (int guard = 0; guard < 20 && lowest < 0.0 && frame.Y(lowest) + room > frame.plotBottom;
         ++guard) {
        frame.range.minimum -= frame.range.step;
    }
}

std::vector<int> LabelWidths(const ChartBars& bars, const QFontMetrics& metrics) {
    std::vector<int> widths;
    for (const ChartBar bar : bars) {
        widths.push_back(metrics.horizontalAdvance(ToQString(bar.label)));
    }
    return widths;
}

// The largest mark font, up to the chart's own, at which neighbouring marks do not touch.
QFont MarkFont(const ChartSeries& series, double pitch, int largest) {
    const double spacing = pitch * (series.marks == ValueMarks::EveryThird ? 3 : 1);
    QString widest;
    for (std::size_t i = 0; i < series.bars.size(); ++i) {
        if (!CarriesMark(series.marks, i)) {
            continue;
        }
        const QString text = ValueText(series.bars[i].value);
        if (text.size() > widest.size()) {
            widest = text;
        }
    }
    for (int pixels = largest; pixels > SmallestMarkPixels; --pixels) {
        const QFont font = PixelFont(pixels);
        if (QFontMetrics(font).horizontalAdvance(widest) + 6 <= spacing) {
            return font;
        }
    }
    return PixelFont(SmallestMarkPixels);
}

Frame LayOut(const QRect& whole, const ChartSeries& series, const BarChartLook& look, int rows) {
    Frame frame;
    frame.inner = whole.adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    const QString title = QString::fromStdString(series.title);
    const QFontMetrics titleMetrics(ChartTitleFont());
    const int titleWidth = TitleWidth(whole);
    frame.titleLines = TitleLines(title, titleMetrics, titleWidth);
    frame.titleAscent =
        std::max(titleMetrics.ascent(), -titleMetrics.tightBoundingRect(title).top());
    const int titleHeight = frame.titleAscent +
                            titleMetrics.lineSpacing() * (frame.titleLines.size() - 1) +
                            titleMetrics.descent();
    frame.title = QRect(frame.inner.left() + 2, frame.inner.top() + TitleGap, titleWidth,
                        static_cast<int>(titleHeight));
    frame.depth = std::clamp(
        static_cast<int>(std::lround(DepthPercent * std::min(whole.width(), whole.height()))), 2,
        10);

    const int labelHeight = QFontMetrics(PixelFont(look.labelFontPixels)).height();
    frame.plotTop = frame.title.bottom() + 3 + frame.depth;
    frame.labelRows = rows;
    frame.plotBottom = frame.inner.bottom() - 1 - rows * labelHeight - TickLength;
    const int ticks = std::max(2, (frame.plotBottom - frame.plotTop) / 22);
    frame.range = AutomaticRange(series.bars.Values(), ticks);
    if (series.marks != ValueMarks::None) {
        const int markHeight = QFontMetrics(PixelFont(look.markFontPixels)).height() + 2;
        MakeRoomForMarks(frame, series.bars.Values(), series.marks, markHeight);
    }
    const QFontMetrics axis(PixelFont(AxisFontPixels));
    frame.plotLeft = frame.inner.left() + 3 + TickLabelWidth(frame.range, axis) + TickLength + 2;
    frame.plotRight = frame.inner.right() - 3 - frame.depth;
    frame.pitch = series.bars.empty() ? 0.0 : double(frame.Width()) / series.bars.size();
    if (series.marks != ValueMarks::None) {
        frame.markFont = MarkFont(series, frame.pitch, look.markFontPixels);
    }
    return frame;
}

}  // namespace

QFont PixelFont(int pixels, bool bold) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString ValueText(double value) {
    if (value == std::floor(value) && std::abs(value) < 1e15) {
        return QString::number(static_cast<long long>(value));
    }
    return QString::number(value, 'g', 6);
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A few labels are measured one by one, so short ones may stand closer than the longest; many
// are thinned by the longest.
std::vector<int> ShownLabels(const ChartBars& bars, double pitch, const QFontMetrics& metrics,
                             int rows) {
    const int count = static_cast<int>(bars.size());
    if (bars.size() <= MeasuredLabels) {
        if (LabelsFit(LabelWidths(bars, metrics), pitch, rows)) {
            std::vector<int> all(count);
            for (int i = 0; i < count; ++i) {
                all[i] = i;
            }
            return all;
        }
    }
    const int longest = metrics.horizontalAdvance(ToQString(bars.LongestLabel()));
    return ThinnedLabels(count, pitch, longest, rows);
}

int TitleWidth(const QRect& whole) {
    return whole.width() - 2 * BorderWidth - 4;
}

// A few labels that do not fit side by side move to two alternating rows.
Frame LayOut(const QRect& whole, const ChartSeries& series, const BarChartLook& look) {
    const int rows = std::max(1, look.labelRows);
    Frame frame = LayOut(whole, series, look, rows);
    if (rows > 1 || series.bars.size() > MeasuredLabels) {
        return frame;
    }
    const QFontMetrics metrics(PixelFont(look.labelFontPixels));
    const std::vector<int> widths = LabelWidths(series.bars, metrics);
    if (LabelsFit(widths, frame.pitch, 1)) {
        return frame;
    }
    Frame twoRows = LayOut(whole, series, look, 2);
    return LabelsFit(widths, twoRows.pitch, 2) ? twoRows : frame;
}

}  // namespace orbista::bar_chart

namespace orbista {

QFont ChartTitleFont() {
    return bar_chart::PixelFont(bar_chart::TitleFontPixels, true);
}

QStringList TitleLines(const QString& title, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(title) <= width) {
        return {title};
    }
    // Of the breaks whose two lines both fit, the one with the shorter longest line.
    qsizetype best = -1;
    int bestWidth = width + 1;
    for (qsizetype space = title.indexOf(' '); space >= 0; space = title.indexOf(' ', space + 1)) {
        const int longest = std::max(metrics.horizontalAdvance(title.left(space)),
                                     metrics.horizontalAdvance(title.mid(space + 1)));
        if (longest < bestWidth) {
            best = space;
            bestWidth = longest;
        }
    }
    if (best < 0) {
        return {metrics.elidedText(title, Qt::ElideRight, width)};
    }
    return {title.left(best), title.mid(best + 1)};
}

}  // namespace orbista

#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <string_view>
#include <vector>

#include "ui/bar_chart.h"

class QFontMetrics;

// What the bar chart's layout and its painting share; no other part of the window includes this.
namespace orbista::bar_chart {

constexpr int TickLength = 3;
constexpr int AxisFontPixels = 10;

QFont PixelFont(int pixels, bool bold = false);
// A value as the axis and the marks write it: whole values without a decimal point.
QString ValueText(double value);
QString ToQString(std::string_view text);

// Where everything of one paint goes.
struct Frame {
    QRect inner;
    QRect title;
    QStringList titleLines;
    int titleAscent = 0;
    int depth = 0;
    int plotLeft = 0;
    int plotTop = 0;
    int plotRight = 0;
    int plotBottom = 0;
    AxisRange range;
    double pitch = 0.0;
    int labelRows = 1;
    QFont markFont;

    int Y(double value) const { return ValueToPixel(value, range, plotTop, plotBottom); }
    int Width() const { return plotRight - plotLeft; }
    bool Usable() const { return plotRight - plotLeft >= 4 && plotBottom - plotTop >= 4; }
};

// The frame of a chart of `whole` size showing `series`.
Frame LayOut(const QRect& whole, const ChartSeries& series, const BarChartLook& look);
// How wide a title may be in a chart of `whole` size.
int TitleWidth(const QRect& whole);
// Which bars get a label, `pitch` apart over `rows` rows.
std::vector<int> ShownLabels(const ChartBars& bars, double pitch, const QFontMetrics& metrics,
                             int rows);

}  // namespace orbista::bar_chart

#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/chart_counts.h"

class QFontMetrics;

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

// The one font of every chart title.
QFont ChartTitleFont();
// A title as it is shown `width` pixels wide: whole, or broken into two lines at the space that
// keeps the longer line shortest, or cut short when no break lets both lines fit.
QStringList TitleLines(const QString& title, const QFontMetrics& metrics, int width);

// How a chart looks; the data gives only the bars.
struct BarChartLook {
    QColor panel{0x00, 0x00, 0x80};  // the border
    QColor backgroundStart{0x80, 0x80, 0xFF};
    std::optional<QColor> backgroundMiddle;
    QColor backgroundEnd{Qt::white};
    QColor barStart{0xB7, 0x5F, 0x26};
    QColor barMiddle{0x85, 0x71, 0xCE};
    int markFontPixels = 10;
    int labelFontPixels = 10;
    int labelRows = 1;  // 2: bottom labels alternate between two rows
};

// A small bar chart of our own: a title, a value axis and the bars, in the order appended, with
// slight depth. Bars only store; a change schedules one repaint. Past one bar per pixel column
// each column shows the span of its bars, so painting costs the width, not the bar count.
class BarChart : public QWidget {
    Q_OBJECT

  public:
    BarChart(const QString& objectName, const BarChartLook& look, QWidget* parent);

    void Clear();
    void Append(double value, std::string_view label, uint32_t colour);
    // Title, marks and bars at once.
    void SetSeries(ChartSeries series);
    // Shows `series` and hands back what was shown, so the caller can refill that storage next
    // time instead of allocating anew.
    void ExchangeSeries(ChartSeries& series);

    const ChartBars& Bars() const { return series_.bars; }
    QString Title() const { return QString::fromStdString(series_.title); }
    // The title's lines as they are painted.
    QStringList ShownTitle() const;
    ValueMarks Marks() const { return series_.marks; }
    const BarChartLook& Look() const { return look_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Changed();
    const std::vector<ColumnSpan>& Columns(int columns);

    BarChartLook look_;
    ChartSeries series_;
    bool repaintScheduled_ = false;
    // The aggregated columns of the last paint, valid while the bars and the width stay.
    std::vector<ColumnSpan> columns_;
    bool columnsValid_ = false;
};

}  // namespace orbista

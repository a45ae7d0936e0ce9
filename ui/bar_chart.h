#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/chart_counts.h"
#include "ui/bar_chart_scale.h"

class QFontMetrics;

namespace orbista {

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
// Its layout and its painting are in bar_chart_layout.cpp and bar_chart_painting.cpp.
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

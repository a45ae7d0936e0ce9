#include "ui/bar_chart.h"

#include <QFontMetrics>
#include <utility>

#include "ui/bar_chart_layout.h"

namespace orbista {

BarChart::BarChart(const QString& objectName, const BarChartLook& look, QWidget* parent)
    : QWidget(parent), look_(look) {
    setObjectName(objectName);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarChart::Clear() {
    series_.bars.clear();
    Changed();
}

void BarChart::Append(double value, std::string_view label, uint32_t colour) {
    series_.bars.Append(value, label, colour);
    Changed();
}

QStringList BarChart::ShownTitle() const {
    return TitleLines(Title(), QFontMetrics(ChartTitleFont()), bar_chart::TitleWidth(rect()));
}

void BarChart::SetSeries(ChartSeries series) {
    series_ = std::move(series);
    Changed();
}

void BarChart::ExchangeSeries(ChartSeries& series) {
    std::swap(series_, series);
    Changed();
}

void BarChart::Changed() {
    columnsValid_ = false;
    if (!repaintScheduled_) {
        repaintScheduled_ = true;
        update();
    }
}

const std::vector<ColumnSpan>& BarChart::Columns(int columns) {
    if (!columnsValid_ || static_cast<int>(columns_.size()) != columns) {
        columns_ = AggregateColumns(series_.bars.Values(), columns);
        columnsValid_ = true;
    }
    return columns_;
}

}  // namespace orbista

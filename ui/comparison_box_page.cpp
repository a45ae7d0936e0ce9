#include "ui/comparison_box_page.h"

#include <QBarCategoryAxis>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QValueAxis>
#include <algorithm>

namespace orbista {

namespace {

std::vector<double> SortedFinals(const std::vector<RunFigures>& runs) {
    std::vector<double> finals;
    for (const RunFigures& run : runs) {
        finals.push_back(run.finalTotalBalance);
    }
    std::sort(finals.begin(), finals.end());
    return finals;
}

}  // namespace

ComparisonBoxPage::ComparisonBoxPage(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
}

void ComparisonBoxPage::Show(const ShownComparison& shown) {
    auto* chart = new QChart;
    chart->setTitle(
        "Итоговый общий баланс игр: ящик — средняя половина игр, черта в нём — "
        "медиана, усы — от 5 % до 95 %");
    chart->legend()->hide();
    auto* series = new QBoxPlotSeries;
    QStringList names;
    double lowest = 0;
    double highest = 0;
    for (const SystemFigures& figures : shown.ranked) {
        if (!figures.Bets()) {
            continue;
        }
        const std::vector<double> finals =
            SortedFinals(shown.result->runs[shown.PlanIndex(figures.system)]);
        auto* set = new QBoxSet(ShortName(figures.system));
        set->setValue(QBoxSet::LowerExtreme, Percentile(finals, 5));
        set->setValue(QBoxSet::LowerQuartile, Percentile(finals, 25));
        set->setValue(QBoxSet::Median, Percentile(finals, 50));
        set->setValue(QBoxSet::UpperQuartile, Percentile(finals, 75));
        set->setValue(QBoxSet::UpperExtreme, Percentile(finals, 95));
        set->setBrush(SystemColour(figures.system).lighter(150));
        lowest = std::min(lowest, Percentile(finals, 5));
        highest = std::max(highest, Percentile(finals, 95));
        series->append(set);
        names << ShortName(figures.system);
    }
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    categories->setLabelsAngle(-45);
    categories->setTruncateLabels(false);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    auto* values = new QValueAxis;
    values->setTitleText("единиц");
    values->setLabelFormat("%.0f");
    values->setRange(lowest, std::max(highest, lowest + 1));
    values->applyNiceNumbers();
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    ShowChart(this, chart);
}

}  // namespace orbista

#include "ui/comparison_histogram_page.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace orbista {

namespace {

constexpr int MostBins = 40;

double RoundWidth(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(raw, 1.0))));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= raw) {
            return step * power;
        }
    }
    return 10 * power;
}

QLineSeries* Mark(const QString& name, double x, double height, const QColor& colour) {
    auto* line = new QLineSeries;
    line->setName(name);
    line->append(x, 0);
    line->append(x, height);
    line->setPen(QPen(colour, 2, Qt::DashLine));
    return line;
}

}  // namespace

HistogramBins BinsOf(const std::vector<double>& values, double lowest, double highest, int most) {
    HistogramBins bins;
    bins.width = RoundWidth((highest - lowest + 1) / most);
    bins.start = std::floor(lowest / bins.width) * bins.width;
    const auto count = static_cast<size_t>(std::floor((highest - bins.start) / bins.width)) + 1;
    bins.counts.assign(count, 0);
    for (const double value : values) {
        const auto bin = static_cast<size_t>(std::floor((value - bins.start) / bins.width));
        ++bins.counts[std::min(bin, count - 1)];
    }
    return bins;
}

ComparisonHistogramPage::ComparisonHistogramPage(QWidget* parent) : QWidget(parent) {
    system_ = new QComboBox;
    system_->setObjectName("HistogramSystem");
    system_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    view_ = new QChartView;
    view_->setRenderHint(QPainter::Antialiasing);
    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel("Система:"));
    choice->addWidget(system_);
    choice->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(view_, 1);
    connect(system_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && shown_) {
            Draw(static_cast<SelectionSystem>(system_->itemData(index).toInt()));
        }
    });
}

void ComparisonHistogramPage::Show(const ShownComparison& shown) {
    shown_ = shown;
    const QSignalBlocker quiet(system_);
    system_->clear();
    for (const SystemFigures& figures : shown.ranked) {
        if (figures.Bets()) {
            system_->addItem(Caption(figures.system), static_cast<int>(figures.system));
        }
    }
    if (system_->count() > 0) {
        Draw(static_cast<SelectionSystem>(system_->itemData(0).toInt()));
    } else {
        ShowChart(view_, new QChart);
    }
}

void ComparisonHistogramPage::Draw(SelectionSystem system) {
    const ShownComparison& shown = *shown_;
    const auto figures = std::find_if(shown.ranked.begin(), shown.ranked.end(),
                                      [&](const SystemFigures& f) { return f.system == system; });
    std::vector<double> finals;
    for (const RunFigures& run : shown.result->runs[shown.PlanIndex(system)]) {
        finals.push_back(run.finalTotalBalance);
    }
    const auto [least, most] = std::minmax_element(finals.begin(), finals.end());
    const double bankroll = static_cast<double>(shown.plan->bankroll);
    // The ruin zone is always in sight when there is a bankroll, to show how far it is.
    const double lowest = std::min(*least, bankroll > 0 ? -1.1 * bankroll : *least);
    const HistogramBins bins = BinsOf(finals, lowest, std::max(*most, lowest + 1), MostBins);

    auto* chart = new QChart;
    chart->setTitle("Итоговый общий баланс игр: " + Caption(system));
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    double tallest = 1;
    for (size_t b = 0; b < bins.counts.size(); ++b) {
        const double left = bins.start + static_cast<double>(b) * bins.width;
        const auto count = static_cast<double>(bins.counts[b]);
        upper->append(left, count);
        upper->append(left + bins.width, count);
        lower->append(left, 0);
        lower->append(left + bins.width, 0);
        tallest = std::max(tallest, count);
    }
    const double right = bins.start + static_cast<double>(bins.counts.size()) * bins.width;
    auto* histogram = new QAreaSeries(upper, lower);
    histogram->setName("Игр с таким итогом");
    QColor fill = SystemColour(system);
    fill.setAlpha(150);
    histogram->setBrush(fill);
    histogram->setPen(QPen(SystemColour(system).darker(130), 1));
    auto* balance = new QValueAxis;
    balance->setTitleText("итоговый общий баланс, единиц");
    balance->setLabelFormat("%.0f");
    balance->setRange(bins.start, right);
    balance->applyNiceNumbers();
    auto* games = new QValueAxis;
    games->setTitleText("игр");
    games->setLabelFormat("%.0f");
    games->setRange(0, tallest * 1.05);
    games->applyNiceNumbers();

    std::vector<QAbstractSeries*> series = {histogram};
    if (bankroll > 0) {
        auto* top = new QLineSeries;
        auto* bottom = new QLineSeries;
        // From the left edge of the plot, all the way up, to where the bankroll ends.
        top->append(balance->min(), games->max());
        top->append(-bankroll, games->max());
        bottom->append(balance->min(), 0);
        bottom->append(-bankroll, 0);
        auto* ruin = new QAreaSeries(top, bottom);
        ruin->setName("Банк кончился: итог ≤ −" + WindowNumber(bankroll, 0));
        ruin->setBrush(QColor(214, 39, 40, 45));
        ruin->setPen(Qt::NoPen);
        series.push_back(ruin);
    }
    series.push_back(Mark("Среднее: " + WindowNumber(figures->meanFinal, 1), figures->meanFinal,
                          tallest, Qt::black));
    series.push_back(Mark("Медиана: " + WindowNumber(figures->medianFinal, 1), figures->medianFinal,
                          tallest, QColor(214, 39, 40)));

    chart->addAxis(balance, Qt::AlignBottom);
    chart->addAxis(games, Qt::AlignLeft);
    for (QAbstractSeries* one : series) {
        chart->addSeries(one);
        one->attachAxis(balance);
        one->attachAxis(games);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    ShowChart(view_, chart);
}

}  // namespace orbista

#include "ui/comparison_bands_page.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QVBoxLayout>
#include <QValueAxis>

namespace orbista {

ComparisonBandsPage::ComparisonBandsPage(QWidget* parent) : QWidget(parent) {
    view_ = new QChartView;
    view_->setRenderHint(QPainter::Antialiasing);
    highlight_ = new QComboBox;
    highlight_->setObjectName("BandsHighlight");
    highlight_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel("Выделить:"));
    choice->addWidget(highlight_);
    choice->addWidget(new QLabel("Щелчок по системе в легенде скрывает её или показывает снова."));
    choice->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(view_, 1);
    connect(highlight_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QVariant system = highlight_->itemData(index);
        Highlight(system.isValid() ? std::optional(static_cast<SelectionSystem>(system.toInt()))
                                   : std::nullopt);
    });
}

void ComparisonBandsPage::Show(const ShownComparison& shown) {
    auto* chart = new QChart;
    chart->setTitle("Медиана общего баланса по ходу игры; полоса — от 5 % до 95 % игр");
    auto* spins = new QValueAxis;
    spins->setTitleText("спин");
    spins->setLabelFormat("%.0f");
    auto* balance = new QValueAxis;
    balance->setTitleText("единиц");
    balance->setLabelFormat("%.0f");
    chart->addAxis(spins, Qt::AlignBottom);
    chart->addAxis(balance, Qt::AlignLeft);
    const std::vector<int64_t>& points = shown.result->samplePoints;
    double lowest = 0;
    double highest = 0;
    drawn_.clear();
    highlighted_.reset();
    for (const SystemFigures& figures : shown.ranked) {
        if (!figures.Bets()) {
            continue;
        }
        const BalanceCurves curves = shown.result->bands[shown.PlanIndex(figures.system)].Curves();
        auto* lower = new QLineSeries;
        auto* upper = new QLineSeries;
        auto* median = new QLineSeries;
        lower->append(0, 0);
        upper->append(0, 0);
        median->append(0, 0);
        for (size_t j = 0; j < points.size() && j < curves.median.size(); ++j) {
            const double x = static_cast<double>(points[j]);
            lower->append(x, curves.p5[j]);
            upper->append(x, curves.p95[j]);
            median->append(x, curves.median[j]);
            lowest = std::min(lowest, curves.p5[j]);
            highest = std::max(highest, curves.p95[j]);
        }
        auto* band = new QAreaSeries(upper, lower);
        median->setName(ShortName(figures.system));
        for (QAbstractSeries* series :
             {static_cast<QAbstractSeries*>(band), static_cast<QAbstractSeries*>(median)}) {
            chart->addSeries(series);
            series->attachAxis(spins);
            series->attachAxis(balance);
        }
        drawn_[figures.system] = {median, band, nullptr};
    }
    chart->legend()->setAlignment(Qt::AlignRight);
    for (QLegendMarker* marker : chart->legend()->markers()) {
        const bool line = qobject_cast<QLineSeries*>(marker->series()) != nullptr;
        marker->setVisible(line);
        for (auto& [system, drawn] : drawn_) {
            if (drawn.median == marker->series()) {
                drawn.marker = marker;
                connect(marker, &QLegendMarker::clicked, this,
                        [this, which = system] { ToggleSystem(which); });
            }
        }
    }
    for (const auto& [system, drawn] : drawn_) {
        Paint(system, drawn, false);
    }
    spins->setRange(0, points.empty() ? 1.0 : static_cast<double>(points.back()));
    balance->setRange(lowest, std::max(highest, lowest + 1));
    balance->applyNiceNumbers();
    ShowChart(view_, chart);

    const QSignalBlocker quiet(highlight_);
    highlight_->clear();
    highlight_->addItem("никакую");
    for (const auto& figures : shown.ranked) {
        if (figures.Bets()) {
            highlight_->addItem(Caption(figures.system), static_cast<int>(figures.system));
        }
    }
}

void ComparisonBandsPage::ToggleSystem(SelectionSystem system) {
    const auto found = drawn_.find(system);
    if (found == drawn_.end()) {
        return;
    }
    const Drawn& drawn = found->second;
    const bool show = !drawn.median->isVisible();
    drawn.median->setVisible(show);
    drawn.band->setVisible(show);
    // A hidden series hides its legend entry too; the entry stays, greyed, to bring it back.
    drawn.marker->setVisible(true);
    QColor label = drawn.marker->labelBrush().color();
    label.setAlphaF(show ? 1.0 : 0.4);
    drawn.marker->setLabelBrush(label);
    QColor swatch = drawn.marker->brush().color();
    swatch.setAlphaF(show ? 1.0 : 0.3);
    drawn.marker->setBrush(swatch);
}

bool ComparisonBandsPage::SystemShown(SelectionSystem system) const {
    const auto found = drawn_.find(system);
    return found != drawn_.end() && found->second.median->isVisible();
}

void ComparisonBandsPage::Highlight(std::optional<SelectionSystem> system) {
    highlighted_ = system;
    for (const auto& [which, drawn] : drawn_) {
        Paint(which, drawn, system.has_value() && *system != which);
    }
}

void ComparisonBandsPage::Paint(SelectionSystem system, const Drawn& drawn, bool faded) {
    const QColor colour = SystemColour(system);
    const bool highlighted = highlighted_ == system;
    QColor line = colour;
    line.setAlpha(faded ? 60 : 255);
    static_cast<QLineSeries*>(drawn.median)->setPen(QPen(line, highlighted ? 3 : 2));
    auto* band = static_cast<QAreaSeries*>(drawn.band);
    QColor fill = colour;
    fill.setAlpha(faded ? 8 : highlighted ? 70 : 35);
    band->setBrush(fill);
    band->setPen(Qt::NoPen);
}

}  // namespace orbista

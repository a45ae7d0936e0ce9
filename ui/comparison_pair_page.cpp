#include "ui/comparison_pair_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "session/paired_comparison.h"

namespace orbista {

namespace {

QString PercentText(double share) {
    return WindowNumber(100 * share, 1) + " %";
}

}  // namespace

ComparisonPairPage::ComparisonPairPage(QWidget* parent) : QWidget(parent) {
    first_ = new QComboBox;
    second_ = new QComboBox;
    figures_ = new QLabel("Выберите две системы или выделите две строки таблицы.");
    figures_->setObjectName("PairFigures");
    figures_->setWordWrap(true);
    figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Система А:"), 0, 0);
    layout->addWidget(first_, 0, 1);
    layout->addWidget(new QLabel("Система Б:"), 1, 0);
    layout->addWidget(second_, 1, 1);
    layout->addWidget(figures_, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);
    for (QComboBox* list : {first_, second_}) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(list, &QComboBox::currentIndexChanged, this, [this] { Compare(); });
    }
}

void ComparisonPairPage::Show(const ShownComparison& shown) {
    shown_ = shown;
    for (QComboBox* list : {first_, second_}) {
        const QSignalBlocker quiet(list);
        list->clear();
        for (const SystemFigures& figures : shown.ranked) {
            list->addItem(Caption(figures.system), static_cast<int>(figures.system));
        }
    }
    second_->setCurrentIndex(second_->count() > 1 ? 1 : 0);
    Compare();
}

void ComparisonPairPage::Choose(SelectionSystem first, SelectionSystem second) {
    const QSignalBlocker quiet(first_);
    first_->setCurrentIndex(first_->findData(static_cast<int>(first)));
    second_->setCurrentIndex(second_->findData(static_cast<int>(second)));
    Compare();
}

void ComparisonPairPage::Compare() {
    if (!shown_ || first_->currentIndex() < 0 || second_->currentIndex() < 0) {
        return;
    }
    const auto a = static_cast<SelectionSystem>(first_->currentData().toInt());
    const auto b = static_cast<SelectionSystem>(second_->currentData().toInt());
    if (a == b) {
        figures_->setText("Выберите две разные системы.");
        return;
    }
    const PairFigures pair =
        ComparePair(*shown_->plan, *shown_->result, shown_->PlanIndex(a), shown_->PlanIndex(b));
    const QString nameA = "«" + Caption(a) + "»";
    const QString nameB = "«" + Caption(b) + "»";
    figures_->setText(
        QString("<p>Игр, сыгранных обеими системами на одних и тех же спинах: <b>%1</b>.</p>"
                "<p>Итог %2 минус итог %3 в среднем за игру, единиц: <b>%4</b>; с вероятностью "
                "95 % настоящая разница лежит от %5 до %6. Если ноль внутри этих пределов, "
                "на этом числе игр одну систему от другой не отличить.</p>"
                "<p>Игр, в которых итог %2 выше итога %3: <b>%7</b> (95 % интервал: %8–%9).</p>")
            .arg(pair.games)
            .arg(nameA, nameB, WindowNumber(pair.meanDifference, 1),
                 WindowNumber(pair.interval.low, 1), WindowNumber(pair.interval.high, 1),
                 PercentText(pair.firstAbove.value))
            .arg(WindowNumber(100 * pair.firstAbove.interval.low, 1),
                 PercentText(pair.firstAbove.interval.high)));
}

}  // namespace orbista

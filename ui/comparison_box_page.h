#pragma once

#include <QChartView>

#include "ui/comparison_look.h"

namespace orbista {

// "Итоговый баланс": the spread of the final total balance of every system that bets, as box
// plots in the order of the table. The box holds the middle half of the games; the whiskers reach
// the 5th and the 95th percentile, as the title says.
class ComparisonBoxPage : public QChartView {
    Q_OBJECT

  public:
    explicit ComparisonBoxPage(QWidget* parent = nullptr);

    void Show(const ShownComparison& shown);
};

}  // namespace orbista

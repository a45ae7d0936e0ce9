#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "ui/comparison_look.h"

class QChartView;
class QComboBox;

namespace orbista {

// "Распределение итогов": how many games of one system, chosen from the list, ended at each
// final total balance; the games that lost the bankroll lie in the shaded zone (at or below minus
// the bankroll), and the mean and the median are marked.
class ComparisonHistogramPage : public QWidget {
    Q_OBJECT

  public:
    explicit ComparisonHistogramPage(QWidget* parent = nullptr);

    void Show(const ShownComparison& shown);
    QComboBox* SystemChoice() const { return system_; }
    QChartView* View() const { return view_; }

  private:
    void Draw(SelectionSystem system);

    QComboBox* system_ = nullptr;
    QChartView* view_ = nullptr;
    std::optional<ShownComparison> shown_;
};

// The bins of a histogram of whole values: `count` bins of a round width (1, 2 or 5 times a
// power of ten) that cover lowest..highest, the first starting at a multiple of the width.
struct HistogramBins {
    double start = 0;
    double width = 1;
    std::vector<int64_t> counts;
};
HistogramBins BinsOf(const std::vector<double>& values, double lowest, double highest, int most);

}  // namespace orbista

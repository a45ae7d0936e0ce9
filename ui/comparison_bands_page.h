#pragma once

#include <QWidget>
#include <map>

#include "ui/comparison_look.h"

class QAbstractSeries;
class QChartView;
class QComboBox;
class QLegendMarker;

namespace orbista {

// "Баланс по ходу игры": the median total balance of every system over the spins, with the band
// in which 90 % of its games stood (5th to 95th percentile). A click on a system in the legend
// hides it or shows it again; "Выделить" brings one system forward and fades the others.
class ComparisonBandsPage : public QWidget {
    Q_OBJECT

  public:
    explicit ComparisonBandsPage(QWidget* parent = nullptr);

    void Show(const ShownComparison& shown);
    // What a click on the system's legend entry does.
    void ToggleSystem(SelectionSystem system);
    bool SystemShown(SelectionSystem system) const;
    // None: every system as bright as the others.
    void Highlight(std::optional<SelectionSystem> system);
    QChartView* View() const { return view_; }
    QComboBox* HighlightChoice() const { return highlight_; }

  private:
    // The series that draw one system: its median line and its band.
    struct Drawn {
        QAbstractSeries* median = nullptr;
        QAbstractSeries* band = nullptr;
        QLegendMarker* marker = nullptr;
    };

    void Paint(SelectionSystem system, const Drawn& drawn, bool faded);

    QChartView* view_ = nullptr;
    QComboBox* highlight_ = nullptr;
    std::map<SelectionSystem, Drawn> drawn_;
    std::optional<SelectionSystem> highlighted_;
};

}  // namespace orbista

#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "ui/comparison_look.h"

class QTableWidget;

namespace orbista {

// "Таблица": one row per system, best mean final balance first, a figure per column; every
// caption says in its tooltip what the figure means, and a line above says how to read them all.
// A click on a caption sorts by it, best first, a second click the other way; systems that bet
// nothing stay at the bottom whichever way.
class ComparisonTablePage : public QWidget {
    Q_OBJECT

  public:
    // Two rows chosen together: the systems to compare game by game.
    using PairChosen = std::function<void(SelectionSystem, SelectionSystem)>;
    // The rows sorted anew: the systems in their new order, for the plots that follow the table.
    using OrderChanged = std::function<void(const std::vector<SelectionSystem>&)>;

    explicit ComparisonTablePage(QWidget* parent = nullptr);

    void Show(const ShownComparison& shown);
    void OnPairChosen(PairChosen chosen) { pairChosen_ = std::move(chosen); }
    void OnOrderChanged(OrderChanged changed) { orderChanged_ = std::move(changed); }
    QTableWidget* Table() const { return table_; }

  private:
    void TellChosenPair();
    void TellOrder();

    QTableWidget* table_ = nullptr;
    PairChosen pairChosen_;
    OrderChanged orderChanged_;
};

}  // namespace orbista

#pragma once

#include <QWidget>
#include <functional>

#include "ui/comparison_look.h"

class QTableWidget;

namespace orbista {

// "Таблица": one row per system, best mean final balance first, a figure per column; every
// caption says in its tooltip what the figure means, and a line above says how to read them all.
// A click on a caption sorts by it; systems that bet nothing stay at the bottom whichever way.
class ComparisonTablePage : public QWidget {
    Q_OBJECT

  public:
    // Two rows chosen together: the systems to compare game by game.
    using PairChosen = std::function<void(SelectionSystem, SelectionSystem)>;

    explicit ComparisonTablePage(QWidget* parent = nullptr);

    void Show(const ShownComparison& shown);
    void OnPairChosen(PairChosen chosen) { pairChosen_ = std::move(chosen); }
    QTableWidget* Table() const { return table_; }

  private:
    void TellChosenPair();

    QTableWidget* table_ = nullptr;
    PairChosen pairChosen_;
};

}  // namespace orbista

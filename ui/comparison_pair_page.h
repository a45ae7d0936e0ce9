#pragma once

#include <QWidget>
#include <optional>

#include "ui/comparison_look.h"

class QComboBox;
class QLabel;

namespace orbista {

// "Пара": two systems on the same games. Both saw the same spins, so the difference of their
// final balances game by game says which is better far sooner than two separate means do. The
// systems are chosen from the two lists, or by selecting two rows of the table.
class ComparisonPairPage : public QWidget {
    Q_OBJECT

  public:
    explicit ComparisonPairPage(QWidget* parent = nullptr);

    void Show(const ShownComparison& shown);
    void Choose(SelectionSystem first, SelectionSystem second);
    QLabel* Figures() const { return figures_; }

  private:
    void Compare();

    QComboBox* first_ = nullptr;
    QComboBox* second_ = nullptr;
    QLabel* figures_ = nullptr;
    std::optional<ShownComparison> shown_;
};

}  // namespace orbista

#pragma once

#include <QTableWidget>

class QTableView;

namespace orbista {

// A table whose first column stays in view while the others scroll sideways under it, so every
// row can be told by its first cell however far right the player has looked. A view of that one
// column lies over the table's left edge, on the same model and selection.
class FrozenColumnTable : public QTableWidget {
    Q_OBJECT

  public:
    explicit FrozenColumnTable(QWidget* parent = nullptr);

    QTableView* FrozenColumn() const { return frozen_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override;

  private:
    // The overlay shows the first column only, as wide and as high as the table's own.
    void ShowOnlyFirstColumn();
    void PlaceFrozenColumn();

    QTableView* frozen_;
};

}  // namespace orbista

#pragma once

#include <QAbstractTableModel>
#include <QTableView>

namespace orbista {

struct GameState;

// Column 0 of the spin table: the header, then the newest spins of the game the table was last
// shown, newest first. The rows are derived from the game state when they are drawn, so showing a
// new spin costs nothing however many rows the table holds.
class SpinTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int RowCount = 1050;
    static constexpr int ColumnCount = 2;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The column from now on shows this game's spins; `first`..`last` are the rows to repaint.
    void Show(const GameState& state, int first, int last);
    // Only the header is left.
    void Clear(int first, int last);

    QString CellText(int row, int column) const;
    // Whether the cell is painted red: a shown spin of a red number.
    bool IsRedCell(int row, int column) const;
    static bool IsFixedCell(int row, int column) { return row == 0 || column == 0; }

  private:
    void RowsChanged(int first, int last);

    const GameState* shown_ = nullptr;
};

// StringGrid1: the spin table between the number buttons and the recommendation.
class SpinTable : public QTableView {
    Q_OBJECT

  public:
    static constexpr int ColumnWidth = 53;
    static constexpr int RowHeight = 15;

    explicit SpinTable(QWidget* parent);

    void ShowSpinColumn(const GameState& state);
    void ClearSpinColumn();

    SpinTableModel& Model() { return *model_; }
    const SpinTableModel& Model() const { return *model_; }

  private:
    // The rows on screen now: a new spin changes every shown row, but only these are repainted.
    std::pair<int, int> VisibleRows() const;

    SpinTableModel* model_;
};

}  // namespace orbista

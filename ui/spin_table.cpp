#include "ui/spin_table.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "model/game_state.h"
#include "model/main_window_view.h"
#include "ui/fonts.h"

namespace orbista {

namespace {

// The grey of the fixed cells (the active window border of the classic desktop).
const QColor FixedCellColour(0xB4, 0xB4, 0xB4);
constexpr int TextInset = 2;

// Paints a cell as the grid always has: fixed or normal background with the text inset from the
// top-left corner; a red spin fills the whole cell red and sits at the corner itself.
class SpinCellDelegate : public QStyledItemDelegate {
  public:
    SpinCellDelegate(const SpinTableModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int row = index.row();
        const int column = index.column();
        const QRect cell = option.rect;
        painter->save();
        painter->setFont(option.font);
        painter->setPen(Qt::black);
        QRect textRect = cell.adjusted(TextInset, TextInset, 0, 0);
        if (model_.IsRedCell(row, column)) {
            painter->fillRect(cell, Qt::red);
            textRect = cell;
        } else {
            painter->fillRect(
                cell, SpinTableModel::IsFixedCell(row, column) ? FixedCellColour : Qt::white);
        }
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                          model_.CellText(row, column));
        painter->restore();
    }

  private:
    const SpinTableModel& model_;
};

// Row 0 of the grid, kept in view at every scroll position: the table's own header, painted as the
// fixed cells of row 0 are.
class FrozenHeaderRow : public QHeaderView {
  public:
    FrozenHeaderRow(const SpinTableModel& model, QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent), model_(model) {}

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        painter->save();
        painter->fillRect(rect, FixedCellColour);
        painter->setPen(QColor(0x80, 0x80, 0x80));
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->setFont(font());
        painter->setPen(Qt::black);
        painter->drawText(rect.adjusted(TextInset, TextInset, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                          model_.CellText(0, section));
        painter->restore();
    }

  private:
    const SpinTableModel& model_;
};

}  // namespace

int SpinTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RowCount;
}

int SpinTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString SpinTableModel::CellText(int row, int column) const {
    if (column != 0) {
        return {};
    }
    if (row == 0) {
        return QString::fromUtf8(SpinColumnHeader.data(), SpinColumnHeader.size());
    }
    if (shown_ == nullptr) {
        return {};
    }
    return QString::fromStdString(SpinColumnText(*shown_, row));
}

bool SpinTableModel::IsRedCell(int row, int column) const {
    return column == 0 && shown_ != nullptr && row >= 1 &&
           row <= std::min<int64_t>(shown_->SpinCount, SpinColumnRows) &&
           IsRed(shown_->SpinHistory[row]);
}

QVariant SpinTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return CellText(row, column);
        case Qt::BackgroundRole:
            if (IsRedCell(row, column)) {
                return QColor(Qt::red);
            }
            return IsFixedCell(row, column) ? FixedCellColour : QColor(Qt::white);
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        default:
            return {};
    }
}

Qt::ItemFlags SpinTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return IsFixedCell(index.row(), index.column()) ? Qt::ItemIsEnabled
                                                    : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void SpinTableModel::RowsChanged(int first, int last) {
    first = std::clamp(first, 0, RowCount - 1);
    last = std::clamp(last, first, RowCount - 1);
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

void SpinTableModel::Show(const GameState& state, int first, int last) {
    shown_ = &state;
    RowsChanged(first, last);
}

void SpinTableModel::Clear(int first, int last) {
    shown_ = nullptr;
    RowsChanged(first, last);
}

SpinTable::SpinTable(QWidget* parent) : QTableView(parent), model_(new SpinTableModel(this)) {
    setObjectName("StringGrid1");
    setModel(model_);
    setItemDelegate(new SpinCellDelegate(*model_, this));
    setFont(WindowFont(12, true));
    // Row 0 stands in the header, where no scrolling takes it away; the grid's own row 0 is hidden.
    setHorizontalHeader(new FrozenHeaderRow(*model_, this));
    horizontalHeader()->setFont(font());
    horizontalHeader()->setFixedHeight(RowHeight);
    setRowHidden(0, true);
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The table is read, never typed into: a click on it or its scroll bar leaves the keyboard
    // with the number entry of the tab.
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setGeometry(152, 27, 75, 380);
}

std::pair<int, int> SpinTable::VisibleRows() const {
    const int first = std::max(rowAt(0), 0);
    const int last = rowAt(viewport()->height() - 1);
    return {first, last < 0 ? SpinTableModel::RowCount - 1 : last};
}

// The spin just entered, or the one a cancel brought back to the top, is always in view.
void SpinTable::ShowSpinColumn(const GameState& state) {
    scrollToTop();
    const auto [first, last] = VisibleRows();
    model_->Show(state, first, last);
}

void SpinTable::ClearSpinColumn() {
    scrollToTop();
    const auto [first, last] = VisibleRows();
    model_->Clear(first, last);
}

}  // namespace orbista

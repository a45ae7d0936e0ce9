#include "ui/frozen_column_table.h"

#include <QHeaderView>
#include <QScrollBar>

namespace orbista {

FrozenColumnTable::FrozenColumnTable(QWidget* parent)
    : QTableWidget(parent), frozen_(new QTableView(this)) {
    frozen_->setObjectName("FrozenColumn");
    frozen_->setModel(model());
    frozen_->setSelectionModel(selectionModel());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setFrameShape(QFrame::NoFrame);
    viewport()->stackUnder(frozen_);
    // Whole pixels sideways, so no column lands half hidden under the overlay.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    connect(model(), &QAbstractItemModel::columnsInserted, this,
            &FrozenColumnTable::ShowOnlyFirstColumn);
    connect(model(), &QAbstractItemModel::modelReset, this,
            &FrozenColumnTable::ShowOnlyFirstColumn);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (column == 0) {
                    frozen_->setColumnWidth(0, width);
                    PlaceFrozenColumn();
                }
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int height) { frozen_->setRowHeight(row, height); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    frozen_->horizontalHeader()->setSortIndicatorShown(true);
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, frozen_->horizontalHeader(),
            &QHeaderView::setSortIndicator);
    // A click on the overlay's heading sorts the table as a click on the hidden one would.
    connect(frozen_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        const bool again = horizontalHeader()->sortIndicatorSection() == column;
        const Qt::SortOrder order =
            again && horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder
                ? Qt::DescendingOrder
                : Qt::AscendingOrder;
        if (isSortingEnabled()) {
            sortByColumn(column, order);
        }
    });
    ShowOnlyFirstColumn();
}

void FrozenColumnTable::ShowOnlyFirstColumn() {
    for (int column = 0; column < model()->columnCount(); ++column) {
        frozen_->setColumnHidden(column, column != 0);
    }
    frozen_->setColumnWidth(0, columnWidth(0));
    PlaceFrozenColumn();
}

void FrozenColumnTable::PlaceFrozenColumn() {
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), columnWidth(0),
                         viewport()->height() + horizontalHeader()->height());
    frozen_->setVisible(model()->columnCount() > 0);
}

void FrozenColumnTable::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    PlaceFrozenColumn();
}

void FrozenColumnTable::updateGeometries() {
    QTableWidget::updateGeometries();
    PlaceFrozenColumn();
}

// A cell the keyboard moves to is scrolled clear of the overlay, not under it.
void FrozenColumnTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() > 0) {
        QTableWidget::scrollTo(index, hint);
    }
    const QRect cell = visualRect(index);
    if (index.column() > 0 && cell.left() < columnWidth(0)) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + cell.left() -
                                        columnWidth(0));
    }
}

}  // namespace orbista

#include "ui/comparison_table_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/frozen_column_table.h"

namespace orbista {

namespace {

constexpr int SystemRole = Qt::UserRole + 1;
constexpr int BetsRole = Qt::UserRole + 2;

// A cell that sorts by its figure rather than its text, and that keeps a system without bets
// (or without the figure) below every other row, in either order of the column.
class FigureItem : public QTableWidgetItem {
  public:
    FigureItem(const QString& text, std::optional<double> value, bool bets)
        : QTableWidgetItem(text) {
        if (value) {
            setData(Qt::UserRole, *value);
        }
        setData(BetsRole, bets && value.has_value());
    }

    bool operator<(const QTableWidgetItem& other) const override {
        const bool mine = data(BetsRole).toBool();
        const bool theirs = other.data(BetsRole).toBool();
        if (mine != theirs) {
            // A descending sort asks whether the other row is below this one.
            const bool descending =
                tableWidget() != nullptr &&
                tableWidget()->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
            return descending ? theirs : mine;
        }
        const QVariant a = data(Qt::UserRole);
        const QVariant b = other.data(Qt::UserRole);
        if (a.isValid() && b.isValid()) {
            return a.toDouble() < b.toDouble();
        }
        return text() < other.text();
    }
};

}  // namespace

ComparisonTablePage::ComparisonTablePage(QWidget* parent) : QWidget(parent) {
    auto* reading = new QLabel(
        "Любая система в среднем теряет 2,70 % поставленного; системы различаются риском и "
        "разбросом.");
    reading->setObjectName("ComparisonReading");
    reading->setWordWrap(true);
    table_ = new FrozenColumnTable;
    table_->setObjectName("ComparisonTable");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(reading);
    layout->addWidget(table_, 1);
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            &ComparisonTablePage::TellChosenPair);
    // A sort moves the rows and then says so by this signal.
    connect(table_->model(), &QAbstractItemModel::layoutChanged, this,
            &ComparisonTablePage::TellOrder);
}

void ComparisonTablePage::Show(const ShownComparison& shown) {
    const auto columns = ComparisonColumns();
    table_->setSortingEnabled(false);
    table_->clear();
    table_->setColumnCount(static_cast<int>(columns.size()) + 1);
    auto* systemHeader = new QTableWidgetItem("Система");
    systemHeader->setToolTip(
        "Система ставок. Строки идут по среднему итогу, лучшие сверху; "
        "щелчок по заголовку столбца упорядочивает по нему. Две выбранные "
        "строки сравниваются на вкладке «Пара».");
    table_->setHorizontalHeaderItem(0, systemHeader);
    for (size_t c = 0; c < columns.size(); ++c) {
        auto* header = new QTableWidgetItem(QText(columns[c].caption));
        header->setToolTip(QText(columns[c].tooltip));
        // The first click on a caption puts the best first, as the simulator's --sort does.
        header->setData(Qt::InitialSortOrderRole, columns[c].better == Better::Higher
                                                      ? Qt::DescendingOrder
                                                      : Qt::AscendingOrder);
        table_->setHorizontalHeaderItem(static_cast<int>(c) + 1, header);
    }
    table_->setRowCount(static_cast<int>(shown.ranked.size()));
    for (int row = 0; row < static_cast<int>(shown.ranked.size()); ++row) {
        const SystemFigures& figures = shown.ranked[static_cast<size_t>(row)];
        auto* name = new FigureItem(Caption(figures.system), std::nullopt, figures.Bets());
        name->setData(BetsRole, figures.Bets());
        name->setData(SystemRole, static_cast<int>(figures.system));
        table_->setItem(row, 0, name);
        for (size_t c = 0; c < columns.size(); ++c) {
            const Cell cell = columns[c].cell(figures);
            auto* item = new FigureItem(WindowText(cell), cell.value, figures.Bets());
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, static_cast<int>(c) + 1, item);
        }
    }
    // The rows stay in the order they were given until a caption is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
    table_->setSortingEnabled(true);
    table_->resizeColumnsToContents();
}

void ComparisonTablePage::TellOrder() {
    std::vector<SelectionSystem> order;
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (const QTableWidgetItem* name = table_->item(row, 0)) {
            order.push_back(static_cast<SelectionSystem>(name->data(SystemRole).toInt()));
        }
    }
    if (orderChanged_ && !order.empty()) {
        orderChanged_(order);
    }
}

void ComparisonTablePage::TellChosenPair() {
    std::vector<SelectionSystem> chosen;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        chosen.push_back(
            static_cast<SelectionSystem>(table_->item(index.row(), 0)->data(SystemRole).toInt()));
    }
    if (chosen.size() == 2 && pairChosen_) {
        pairChosen_(chosen[0], chosen[1]);
    }
}

}  // namespace orbista

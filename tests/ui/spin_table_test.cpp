#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>

#include "tests/ui/window_fixture.h"
#include "ui/spin_table.h"

namespace orbista {
namespace {

class SpinTableTest : public WindowTest {
  protected:
    QString Row(int row) const { return window->SpinColumn()->Model().CellText(row, 0); }

    // The colour in the middle of a cell's right half, clear of its text.
    QColor PaintedColour(int row) const {
        SpinTable* table = window->SpinColumn();
        table->scrollToTop();
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        const QImage image = table->viewport()->grab().toImage();
        return image.pixelColor(cell.right() - 3, cell.center().y());
    }
};

TEST_F(SpinTableTest, ShowsTheSpinsNewestFirstWithRedCellsForRedNumbers) {
    for (const int number : {8, 32, 0}) {
        ClickNumber(number);
    }
    EXPECT_EQ(Row(0), "Выпало");
    EXPECT_EQ(Row(1), "    0");
    EXPECT_EQ(Row(2), "    32");
    EXPECT_EQ(Row(3), "    8");
    EXPECT_EQ(Row(4), "");
    EXPECT_EQ(window->SpinColumn()->Model().CellText(1, 1), "");

    EXPECT_EQ(PaintedColour(2), QColor(Qt::red));
    EXPECT_NE(PaintedColour(1), QColor(Qt::red));
    EXPECT_NE(PaintedColour(3), QColor(Qt::red));
    EXPECT_NE(PaintedColour(0), QColor(Qt::red));

    Click(CancelButton());
    EXPECT_EQ(Row(1), "    32");
    EXPECT_EQ(Row(2), "    8");
    EXPECT_EQ(Row(3), "");
    EXPECT_EQ(PaintedColour(1), QColor(Qt::red));
    EXPECT_NE(PaintedColour(2), QColor(Qt::red));

    Click(CancelButton());
    Click(CancelButton());
    Click(CancelButton());
    EXPECT_EQ(Row(0), "Выпало");
    EXPECT_EQ(Row(1), "");
}

TEST_F(SpinTableTest, ShowsTheNewestThousandSpinsOfALongGame) {
    // No stop rule may end this game half-way.
    window->SetFlag(Setting::StopOnWin, false);
    window->SetFlag(Setting::WinMessage, false);
    window->SetActiveSystem(SelectionSystem::StatisticsOnly);
    for (int i = 1; i <= 1005; ++i) {
        window->GameEngine().EnterNumber(i % 37);
    }
    ASSERT_EQ(state->SpinCount, 1005);
    EXPECT_EQ(Row(1), QString("    %1").arg(1005 % 37));
    EXPECT_EQ(Row(1000), QString("    %1").arg(6 % 37));
    EXPECT_EQ(Row(1001), "");
    EXPECT_EQ(Row(1002), "");
    EXPECT_FALSE(window->SpinColumn()->Model().IsRedCell(1001, 0));

    window->GameEngine().NewGame();
    EXPECT_EQ(Row(0), "Выпало");
    EXPECT_EQ(Row(1), "");
    EXPECT_EQ(Row(1000), "");
}

TEST_F(SpinTableTest, TheHeaderRowStaysInViewAtEveryScrollPosition) {
    window->SetActiveSystem(SelectionSystem::StatisticsOnly);
    for (int i = 1; i <= 400; ++i) {
        window->GameEngine().EnterNumber(i % 37);
    }
    SpinTable* table = window->SpinColumn();
    const auto topRow = [table] {
        const QRect strip(0, 0, table->viewport()->width() + table->frameWidth(),
                          table->frameWidth() + SpinTable::RowHeight);
        return table->grab(strip).toImage();
    };
    table->scrollToTop();
    const QImage header = topRow();
    for (const int row : {150, 399, 1049}) {
        table->scrollTo(table->model()->index(row, 0), QAbstractItemView::PositionAtTop);
        ASSERT_GT(table->verticalScrollBar()->value(), 0);
        EXPECT_EQ(topRow(), header) << "scrolled to row " << row;
    }
}

TEST_F(SpinTableTest, ANewSpinRepaintsOnlyTheRowsOnScreen) {
    QSignalSpy changes(&window->SpinColumn()->Model(), &QAbstractItemModel::dataChanged);
    ClickNumber(12);
    ASSERT_FALSE(changes.isEmpty());
    for (const QList<QVariant>& change : changes) {
        const auto first = change[0].value<QModelIndex>();
        const auto last = change[1].value<QModelIndex>();
        EXPECT_LE(last.row() - first.row(), 380 / SpinTable::RowHeight);
    }
}

}  // namespace
}  // namespace orbista

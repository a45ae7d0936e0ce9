#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>

#include "ui/comparison_bands_page.h"
#include "ui/comparison_box_page.h"
#include "ui/comparison_histogram_page.h"
#include "ui/comparison_pair_page.h"
#include "ui/comparison_window.h"
#include "window_fixture.h"

namespace orbista {
namespace {

class ComparisonWindowTest : public WindowTest {
  protected:
    ComparisonWindow& OpenComparison(int games, int spins) {
        window->ShowComparisonWindow();
        ComparisonWindow& comparison = *window->Comparison();
        for (const SystemInfo& info : SystemsTable()) {
            comparison.SystemBox(info.system)->setChecked(false);
        }
        comparison.SystemBox(SelectionSystem::Peer)->setChecked(true);
        comparison.SystemBox(SelectionSystem::Gizmo)->setChecked(true);
        comparison.GamesField()->setValue(games);
        comparison.SpinsField()->setValue(spins);
        return comparison;
    }
};

TEST_F(ComparisonWindowTest, MenuItemsFollowTheirNeighbours) {
    const QList<QAction*> playback = Menu("Игра из файла")->actions();
    const auto emulate = std::find(playback.begin(), playback.end(), MenuItem("Эмуляция игры"));
    ASSERT_NE(emulate, playback.end());
    EXPECT_TRUE(std::any_of(emulate, playback.end(),
                            [](QAction* a) { return a->text() == "Сравнение систем…"; }));
    EXPECT_TRUE(Menu("Файл")->actions().contains(MenuItem("Сохранить игру в CSV…")));
}

TEST_F(ComparisonWindowTest, ABadFieldIsToldAndNothingStarts) {
    ComparisonWindow& comparison = OpenComparison(2, 50);
    Field(Setting::MaxStake)->setText("2o");
    comparison.Start();
    EXPECT_FALSE(comparison.Running());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("2o")) << qPrintable(messages[0]);
}

TEST_F(ComparisonWindowTest, ARunFillsTheTableAndSavesItsCsvWithoutTouchingTheGame) {
    ClickNumber(17);
    ComparisonWindow& comparison = OpenComparison(3, 400);
    comparison.SystemBox(SelectionSystem::StatisticsOnly)->setChecked(true);
    EXPECT_EQ(comparison.BankrollField()->value(), 5000);  // ten loss limits of 500
    comparison.Start();
    comparison.WaitForResults();
    EXPECT_TRUE(messages.empty());
    QTableWidget* table = comparison.Table();
    ASSERT_EQ(table->rowCount(), 3);
    for (int column = 0; column < table->columnCount(); ++column) {
        EXPECT_FALSE(table->horizontalHeaderItem(column)->toolTip().isEmpty()) << column;
    }
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), "Средний\nитог");
    EXPECT_EQ(table->horizontalHeaderItem(25)->text(), "Честное\nколесо");
    EXPECT_EQ(table->item(0, 25)->text(), "−2,70 %");
    EXPECT_EQ(table->item(0, 1)->text(), "3");
    EXPECT_EQ(table->item(0, 2)->text(), "1200");
    EXPECT_GE(table->item(0, 3)->data(Qt::UserRole).toDouble(),
              table->item(1, 3)->data(Qt::UserRole).toDouble());
    // Statistics only stays below the systems that bet, with no figure, whichever the order.
    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        table->sortByColumn(3, order);
        EXPECT_EQ(table->item(2, 3)->text(), "—");
        EXPECT_LE(
            table->item(order == Qt::AscendingOrder ? 0 : 1, 3)->data(Qt::UserRole).toDouble(),
            table->item(order == Qt::AscendingOrder ? 1 : 0, 3)->data(Qt::UserRole).toDouble());
    }
    // A click on a caption puts the best first: the lowest risk of ruin, the highest mean.
    QHeaderView* captions = table->horizontalHeader();
    ASSERT_EQ(table->horizontalHeaderItem(10)->text(), "Разорение");
    for (const int column : {10, 3}) {
        table->scrollToItem(table->item(0, column));
        const QPoint middle(
            captions->sectionViewportPosition(column) + captions->sectionSize(column) / 2,
            captions->height() / 2);
        QTest::mouseClick(captions->viewport(), Qt::LeftButton, {}, middle);
        EXPECT_EQ(captions->sortIndicatorSection(), column);
        EXPECT_EQ(captions->sortIndicatorOrder(),
                  column == 3 ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    // The box plot follows the table's order, worst mean first here, and leaves out what bets
    // nothing.
    table->sortByColumn(3, Qt::AscendingOrder);
    const QList<QBoxSet*> boxes =
        static_cast<QBoxPlotSeries*>(comparison.BoxPage()->chart()->series()[0])->boxSets();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0]->label(), table->item(0, 0)->text().contains("PEER") ? "PEER" : "Хуйнюшка");

    // Scrolled right to the last column, the system names stand where they stood.
    comparison.resize(500, comparison.height());
    const QRect names(
        0, 0, table->frameWidth() + table->columnWidth(0),
        table->frameWidth() + table->horizontalHeader()->height() + table->viewport()->height());
    const QImage atStart = table->grab(names).toImage();
    QScrollBar* sideways = table->horizontalScrollBar();
    sideways->setValue(sideways->maximum());
    ASSERT_GT(sideways->value(), table->columnWidth(0));
    EXPECT_EQ(table->grab(names).toImage(), atStart);

    const QString csv = QString::fromStdString((folder.Path() / "runs.csv").string());
    comparison.SetSavePathChooser([&](QWidget*) { return csv; });
    comparison.SaveCsv();
    const std::string text = folder.Read("runs.csv");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 3 * 3);
    EXPECT_TRUE(
        text.starts_with("# Сравнение систем в окне: настройки главного окна, банк: 5000, "
                         "начальное число: 1, игр: 3, спинов в игре: 400\n"))
        << text;
    EXPECT_EQ(state->SpinCount, 1);
}

TEST_F(ComparisonWindowTest, TheLegendHidesASystemAndTwoRowsMakeAPair) {
    ComparisonWindow& comparison = OpenComparison(4, 300);
    comparison.BankrollField()->setValue(200);
    comparison.Start();
    comparison.WaitForResults();
    ASSERT_NE(comparison.Result(), nullptr);

    ComparisonBandsPage& bands = *comparison.BandsPage();
    QLegendMarker* peer = nullptr;
    for (QLegendMarker* marker : bands.View()->chart()->legend()->markers()) {
        peer = marker->label() == "PEER" ? marker : peer;
    }
    ASSERT_NE(peer, nullptr);
    emit peer->clicked();
    EXPECT_FALSE(bands.SystemShown(SelectionSystem::Peer));
    EXPECT_TRUE(peer->isVisible());  // greyed, to be clicked again
    emit peer->clicked();
    EXPECT_TRUE(bands.SystemShown(SelectionSystem::Peer));

    // The histogram lists the systems in the table's order; the ruin zone is in the legend.
    QComboBox* systems = comparison.HistogramPage()->SystemChoice();
    ASSERT_EQ(systems->count(), 2);
    EXPECT_EQ(systems->itemText(0), comparison.Table()->item(0, 0)->text());
    systems->setCurrentIndex(1);
    bool ruinZone = false;
    for (QLegendMarker* marker : comparison.HistogramPage()->View()->chart()->legend()->markers()) {
        ruinZone = ruinZone || marker->label() == "Банк кончился: итог ≤ −200";
    }
    EXPECT_TRUE(ruinZone);

    comparison.Table()->selectAll();
    EXPECT_TRUE(comparison.PairPage()->Figures()->text().contains(
        "Игр, сыгранных обеими системами на одних и тех же спинах: <b>4</b>"))
        << qPrintable(comparison.PairPage()->Figures()->text());
}

// Round bins over the whole range: width 10 for 53 values' spread in at most 10 bins.
TEST(HistogramBinsTest, RoundWidthsFromAMultipleOfTheWidth) {
    const HistogramBins bins = BinsOf({-7, 0, 3, 12, 45}, -7, 45, 10);
    EXPECT_EQ(bins.start, -10);
    EXPECT_EQ(bins.width, 10);
    EXPECT_EQ(bins.counts, (std::vector<int64_t>{1, 2, 1, 0, 0, 1}));
}

TEST_F(ComparisonWindowTest, AGameLengthCutsThePermanenceIntoGamesAndSaysWhatWasDropped) {
    std::string permanence = "Spin\n7,";
    for (int i = 0; i < 250; ++i) {
        permanence += std::to_string(i % 37) + ",";
    }
    folder.Write("perm.csv", permanence);
    ComparisonWindow& comparison = OpenComparison(1, 1);
    comparison.SetSpinFiles({folder.Path() / "perm.csv"});
    comparison.GameLengthField()->setValue(100);
    comparison.Start();
    comparison.WaitForResults();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(comparison.FilesLabel()->text(),
              "Выбрано файлов: 1; спинов: 251, игр: 2, отброшено спинов: 51");
    EXPECT_EQ(comparison.Table()->item(0, 1)->text(), "2");
}

TEST_F(ComparisonWindowTest, ClosingTheWindowStopsARunAtOnce) {
    ComparisonWindow& comparison = OpenComparison(1000, 100000);
    comparison.Start();
    ASSERT_TRUE(comparison.Running());
    const auto started = std::chrono::steady_clock::now();
    comparison.close();
    EXPECT_FALSE(comparison.Running());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    ASSERT_NE(comparison.Result(), nullptr);
    EXPECT_TRUE(comparison.Result()->stopped);
}

TEST_F(ComparisonWindowTest, TheGameSavesAsCsvOldestSpinFirstUnderANameEndingInCsv) {
    ClickNumber(8);
    ClickNumber(32);
    const QString csv = QString::fromStdString((folder.Path() / "game").string());
    window->SetCsvPathChooser([&](QWidget*) { return csv; });
    MenuItem("Сохранить игру в CSV…")->trigger();
    const std::string text = folder.Read("game.csv");
    EXPECT_TRUE(
        text.starts_with("Спин,Выпало,Стояло на поле,Результат спина,Баланс в этой игре\n"
                         "1,8,0,0,0\n2,32,"))
        << text;
}

TEST_F(ComparisonWindowTest, TheDataFolderOpensInTheFileManagerOrSaysWhyNot) {
    QString opened;
    window->SetFolderOpener([&opened](const QString& folder) {
        opened = folder;
        return true;
    });
    MenuItem("Открыть папку с данными")->trigger();
    EXPECT_EQ(opened.toStdString(), folder.Path().string());
    EXPECT_TRUE(messages.empty());

    window->SetFolderOpener([](const QString&) { return false; });
    MenuItem("Открыть папку с данными")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toStdString(), "Не удалось открыть папку " + folder.Path().string() +
                                             ": нет программы для просмотра папок.");
}

}  // namespace
}  // namespace orbista

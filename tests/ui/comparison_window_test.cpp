#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>

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

    QAction* MenuItem(const char* menu, const QString& caption) const {
        for (QAction* action : window->menuBar()->findChild<QMenu*>(menu)->actions()) {
            if (action->text() == caption) {
                return action;
            }
        }
        ADD_FAILURE() << qPrintable(caption);
        return nullptr;
    }
};

TEST_F(ComparisonWindowTest, MenuItemsFollowTheirNeighbours) {
    const QList<QAction*> playback = window->menuBar()->findChild<QMenu*>("N4")->actions();
    const auto emulate = std::find_if(playback.begin(), playback.end(),
                                      [](QAction* a) { return a->objectName() == "N19"; });
    ASSERT_NE(emulate, playback.end());
    EXPECT_TRUE(std::any_of(emulate, playback.end(),
                            [](QAction* a) { return a->text() == "Сравнение систем…"; }));
    EXPECT_NE(MenuItem("N1", "Сохранить игру в CSV…"), nullptr);
}

TEST_F(ComparisonWindowTest, ABadFieldIsToldAndNothingStarts) {
    ComparisonWindow& comparison = OpenComparison(2, 50);
    Control<QLineEdit>("Memo4")->setText("2o");
    comparison.Start();
    EXPECT_FALSE(comparison.Running());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("2o")) << qPrintable(messages[0]);
}

TEST_F(ComparisonWindowTest, ARunFillsTheTableAndSavesItsCsvWithoutTouchingTheGame) {
    ClickNumber(17);
    ComparisonWindow& comparison = OpenComparison(3, 400);
    comparison.Start();
    comparison.WaitForResults();
    EXPECT_TRUE(messages.empty());
    QTableWidget* table = comparison.Table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), "Медиана\nитога");
    EXPECT_EQ(table->horizontalHeaderItem(6)->text(), "Честное\nколесо");
    EXPECT_EQ(table->item(0, 6)->text(), "-2.70 %");
    EXPECT_EQ(table->item(0, 1)->text(), "3");
    EXPECT_EQ(table->item(0, 2)->text(), "1200");
    table->sortItems(3, Qt::AscendingOrder);
    EXPECT_LE(table->item(0, 3)->data(Qt::UserRole).toDouble(),
              table->item(1, 3)->data(Qt::UserRole).toDouble());

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
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 2 * 3);
    EXPECT_EQ(state->SpinCount, 1);
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
    ASSERT_TRUE(comparison.Result().has_value());
    EXPECT_TRUE(comparison.Result()->stopped);
}

TEST_F(ComparisonWindowTest, TheGameSavesAsCsvOldestSpinFirstUnderANameEndingInCsv) {
    ClickNumber(8);
    ClickNumber(32);
    const QString csv = QString::fromStdString((folder.Path() / "game").string());
    window->SetCsvPathChooser([&](QWidget*) { return csv; });
    MenuItem("N1", "Сохранить игру в CSV…")->trigger();
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
    MenuItem("N1", "Открыть папку с данными")->trigger();
    EXPECT_EQ(opened.toStdString(), folder.Path().string());
    EXPECT_TRUE(messages.empty());

    window->SetFolderOpener([](const QString&) { return false; });
    MenuItem("N1", "Открыть папку с данными")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toStdString(), "Не удалось открыть папку " + folder.Path().string() +
                                             ": нет программы для просмотра папок.");
}

}  // namespace
}  // namespace orbista

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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

TEST_F(ComparisonWindowTest, TheGameSavesAsCsvOldestSpinFirst) {
    ClickNumber(8);
    ClickNumber(32);
    const QString csv = QString::fromStdString((folder.Path() / "game.csv").string());
    window->SetCsvPathChooser([&](QWidget*) { return csv; });
    MenuItem("N1", "Сохранить игру в CSV…")->trigger();
    const std::string text = folder.Read("game.csv");
    EXPECT_TRUE(text.starts_with("spin,number,game_balance,stake\n1,8,")) << text;
    EXPECT_NE(text.find("\n2,32,"), std::string::npos) << text;
}

}  // namespace
}  // namespace orbista

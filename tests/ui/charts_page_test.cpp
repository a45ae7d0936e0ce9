#include "ui/charts_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <memory>

#include "engine/headless_view.h"
#include "tests/test_folder.h"
#include "tests/ui/charts_page_fixture.h"
#include "ui/bar_chart.h"
#include "ui/wheel_test_dialog.h"

namespace orbista {
namespace {

class ChartsPageTest : public ::testing::Test {
  protected:
    ChartsPageTest() : state(std::make_unique<GameState>()) {
        page = std::make_unique<ChartsPage>(*state, settings, view, nullptr);
        settings.Attach(page.get());
    }

    void Play(std::initializer_list<int32_t> oldestFirst) {
        for (const int32_t number : oldestFirst) {
            ShiftHistoryUp(*state);
            ++state->SpinCount;
            state->SpinHistory[1] = number;
            state->BalanceHistory[1] = number * 10;
        }
    }

    // The tab's own settings, found by the names the settings table gives them.
    template <typename Widget>
    Widget* Named(std::string_view name) const {
        return page->findChild<Widget*>(
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    QLineEdit* SpinWindowField() const {
        return Named<QLineEdit>(InfoOf(Setting::ChartSpinWindow).control);
    }
    QCheckBox* WheelOrderBox() const {
        return Named<QCheckBox>(InfoOf(Setting::ChartWheelOrder).control);
    }
    const ChartBars& Bars(Chart chart) const { return page->Chart(chart)->Bars(); }

    std::unique_ptr<GameState> state;
    ChartsPageSettings settings;
    HeadlessView view;
    std::unique_ptr<ChartsPage> page;
};

TEST_F(ChartsPageTest, SubTabsAndChartsStandWhereThePlayerExpectsThem) {
    QTabWidget* tabs = page->PageControl2();
    EXPECT_EQ(tabs->objectName(), "PageControl2");
    EXPECT_EQ(tabs->geometry(), QRect(-4, 0, 394, 556));
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), "Режим отображения");
    EXPECT_EQ(tabs->tabText(1), "Графики 1");
    EXPECT_EQ(tabs->tabText(2), "Графики 2");
    EXPECT_EQ(tabs->tabText(3), "Баланс");
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(tabs->widget(3)->objectName(), "TabSheet8");

    EXPECT_EQ(page->Chart(Chart::Numbers)->geometry(), QRect(0, 3, 388, 185));
    EXPECT_EQ(page->Chart(Chart::Halves)->geometry(), QRect(258, 343, 130, 179));
    EXPECT_EQ(page->Chart(Chart::Lines)->geometry(), QRect(0, 155, 385, 174));
    EXPECT_EQ(page->Chart(Chart::Balance)->geometry(), QRect(-1, 4, 384, 325));
    EXPECT_EQ(page->Chart(Chart::Balance)->parentWidget(), tabs->widget(3));
    EXPECT_EQ(page->Chart(Chart::SixLines)->parentWidget(), tabs->widget(2));
    EXPECT_EQ(page->Chart(Chart::Colours)->Title(), "Красное/черное");
    EXPECT_EQ(page->Chart(Chart::SixLines)->ShownTitle(),
              (QStringList{"Частота выпадения", "сикслайнов"}));
    for (const ChartInfo& info : ChartsTable) {
        const BarChart* chart = page->Chart(info.chart);
        EXPECT_EQ(chart->ShownTitle().join(' '), chart->Title()) << "cut short";
    }

    // "Перестроить" lies over Chart::Numbers's corner, so a click there reaches the button.
    auto* rebuild = page->findChild<QPushButton*>("Button12");
    ASSERT_NE(rebuild, nullptr);
    EXPECT_EQ(tabs->widget(1)->childAt(10, 10), rebuild);
    EXPECT_EQ(SpinWindowField()->geometry(), QRect(224, 152, 57, 25));
    EXPECT_EQ(SpinWindowField()->text(), "0");
    EXPECT_FALSE(WheelOrderBox()->isChecked());
}

TEST_F(ChartsPageTest, RebuildRefillsEveryChartFromTheSettingsOnThePage) {
    Play({1, 2, 3, 0, 36});
    page->RebuildCharts();
    ASSERT_EQ(Bars(Chart::Numbers).size(), 37u);
    EXPECT_EQ(Bars(Chart::Numbers)[0].label, "0");
    EXPECT_EQ(Bars(Chart::Numbers)[36].value, 1);
    EXPECT_EQ(Bars(Chart::Dozens)[0].value, 3);
    EXPECT_EQ(Bars(Chart::Balance).size(), 5u);
    EXPECT_EQ(Bars(Chart::Balance).back().value, 360);
    EXPECT_EQ(Bars(Chart::Lines).size(), 11u);

    WheelOrderBox()->setChecked(true);
    SpinWindowField()->setText("2");
    page->RebuildCharts();
    EXPECT_EQ(Bars(Chart::Numbers)[0].label, "5");
    EXPECT_EQ(Bars(Chart::Numbers)[18].label, "0");
    EXPECT_EQ(Bars(Chart::Numbers)[18].value, 1);
    EXPECT_EQ(Bars(Chart::Dozens)[0].value, 0);
    EXPECT_EQ(Bars(Chart::Balance).size(), 2u);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ChartsPageTest, ABadWindowFieldIsReportedAndEveryChartKeepsItsBars) {
    Play({7, 8, 9});
    page->RebuildCharts();
    Play({10});
    SpinWindowField()->setText("1 000");
    page->RebuildCharts();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind("error:", 0), 0u);
    EXPECT_NE(view.messages[0].find("За сколько спинов выводить статистику"), std::string::npos);
    EXPECT_EQ(Bars(Chart::Balance).size(), 3u);
    EXPECT_EQ(Bars(Chart::Numbers)[10].value, 0);

    SpinWindowField()->setText("0");
    page->RebuildCharts();
    EXPECT_EQ(Bars(Chart::Balance).size(), 4u);
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(ChartsPageTest, SubTabChangeAndRebuildButtonAskForARebuild) {
    QSignalSpy requests(page.get(), &ChartsPage::RebuildRequested);
    page->PageControl2()->setCurrentIndex(3);
    EXPECT_EQ(requests.count(), 1);
    page->PageControl2()->setCurrentIndex(1);
    page->findChild<QPushButton*>("Button12")->click();
    EXPECT_EQ(requests.count(), 3);
}

TEST_F(ChartsPageTest, ArrowsStepTheWindowWithinItsBounds) {
    auto* arrows = Named<QWidget>(InfoOf(Setting::ChartSpinWindow).stepper);
    ASSERT_NE(arrows, nullptr);
    const QList<QToolButton*> buttons = arrows->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* up = buttons[0]->arrowType() == Qt::UpArrow ? buttons[0] : buttons[1];
    QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
    down->click();
    EXPECT_EQ(SpinWindowField()->text(), "0");
    up->click();
    up->click();
    EXPECT_EQ(SpinWindowField()->text(), "2");
    SpinWindowField()->setText("10000");
    up->click();
    EXPECT_EQ(SpinWindowField()->text(), "10000");
}

}  // namespace
}  // namespace orbista

namespace orbista {
namespace {

TEST_F(ChartsPageTest, WheelTestTakesTheCountedSpinsOrTheChosenPermanencesInTheChartsOrder) {
    Play({1, 2, 3, 0, 36});
    SpinWindowField()->setText("2");
    WheelOrderBox()->setChecked(true);
    page->findChild<QPushButton*>("WheelTestButton")->click();
    WheelTestDialog* dialog = page->WheelTest();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Source()->text(), "Спины текущей игры; спинов: 2");
    const ChartBars& bars = dialog->DeviationChart()->Bars();
    ASSERT_EQ(bars.size(), 37u);
    EXPECT_EQ(bars[0].label, "5");
    // Zero came once where 2/37 was expected: (1 − 2/37) / √(2/37).
    EXPECT_NEAR(bars[18].value, 4.0687, 1e-4);

    TestFolder folder;
    folder.Write("b.txt", "Номер\n0,0\n");
    folder.Write("a.txt", "5;5;5\n");
    dialog->SetOpenPathsChooser([&folder](QWidget*) {
        return QStringList{QString::fromStdString((folder.Path() / "b.txt").string()),
                           QString::fromStdString((folder.Path() / "a.txt").string())};
    });
    dialog->OpenPermanence();
    EXPECT_EQ(dialog->Source()->text(), "Файлов: 2; спинов: 5");
    EXPECT_EQ(dialog->Result()->repeats, 3);  // 5 5 5 0 0: files by name

    folder.Write("a.txt", "5;x");
    dialog->OpenPermanence();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("строка 1: «x»"), std::string::npos);
    EXPECT_EQ(dialog->Result()->spins, 5);
}

}  // namespace
}  // namespace orbista

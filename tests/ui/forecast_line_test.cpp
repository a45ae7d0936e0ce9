#include <QAction>
#include <QLabel>
#include <algorithm>
#include <filesystem>

#include "storage/window_choices.h"
#include "tests/ui/window_fixture.h"
#include "ui/forecast_line.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

class ForecastLineTest : public WindowTest {
  protected:
    ForecastLine* Line() const { return window->Forecaster(); }
    bool WaitForForecast() const {
        return QTest::qWaitFor([this] { return Line()->Settled(); }, 20000);
    }
    QAction* Item() const { return window->findChild<QAction*>("ForecastItem"); }

    // The displays and the mirror after every click of a fixed game, and its autosave.
    std::vector<QString> PlayAndClose() {
        std::vector<QString> trace;
        for (int spin = 0; spin < 40; ++spin) {
            ClickNumber(spin * 17 % 37);
            if (spin % 8 == 0) {
                EXPECT_TRUE(WaitForForecast());  // let forecasts come in between some spins
            }
            QString line;
            for (const Display display :
                 {Display::StakeLevel, Display::GameBalance, Display::TotalBalance,
                  Display::TableStake, Display::GameBalanceMin, Display::GameBalanceMax}) {
                line += Text(display) + " ";
            }
            for (int n = 0; n < NumberCount; ++n) {
                line += MirrorButton(n)->text();
            }
            trace.push_back(line);
        }
        window->close();
        // Every game the stops ended and the one the close ended, whatever their files' names.
        std::vector<QString> saved;
        for (const auto& entry : fs::directory_iterator(folder.Path() / "Autosave")) {
            saved.push_back(QString::fromStdString(folder.Read(entry.path())));
        }
        std::sort(saved.begin(), saved.end());
        fs::remove_all(folder.Path() / "Autosave");
        trace.insert(trace.end(), saved.begin(), saved.end());
        return trace;
    }
};

TEST_F(ForecastLineTest, EverySpinBringsANewForecastOfTheGameAsItStands) {
    ASSERT_TRUE(WaitForForecast());
    EXPECT_EQ(Line()->text(), "Прогноз: выигрыш 26 % · проигрыш 74 %\nв среднем −51 ед. за игру");

    ClickNumber(17);
    EXPECT_FALSE(Line()->Settled());  // the click did not wait for it
    ASSERT_TRUE(WaitForForecast());
    const Forecast& forecast = *Line()->Shown();
    EXPECT_EQ(forecast.winStop.count + forecast.lossStop.count + forecast.open.count, 2000);
    EXPECT_TRUE(Line()->Details().contains("Если дальше не угадывать"));

    window->SetActiveSystem(SelectionSystem::StatisticsOnly);
    ClickNumber(5);
    EXPECT_EQ(Line()->text(), "Прогноз: нет —\nсистема не делает ставок");
    EXPECT_FALSE(Line()->Shown());
}

TEST_F(ForecastLineTest, TheGameIsTheSameWithTheForecastOnOrOff) {
    const std::vector<QString> withForecast = PlayAndClose();

    folder.Write(WindowChoicesFileName, "forecast=0\n");
    window.reset();
    state = std::make_unique<GameState>();
    OpenWindow();
    ASSERT_FALSE(Line()->IsOn());
    EXPECT_EQ(PlayAndClose(), withForecast);
}

TEST_F(ForecastLineTest, TheMenuItemSwitchesTheLineOffForThisAndTheNextStart) {
    ASSERT_TRUE(Item()->isChecked());
    Item()->trigger();
    EXPECT_FALSE(Line()->isVisible());
    EXPECT_EQ(folder.Read(WindowChoicesFileName), "forecast=0\n");

    window->close();
    OpenWindow();
    EXPECT_FALSE(Item()->isChecked());
    EXPECT_FALSE(Line()->isVisible());
    ClickNumber(3);
    EXPECT_FALSE(Line()->Shown());

    Item()->trigger();
    EXPECT_TRUE(Line()->isVisible());
    EXPECT_TRUE(WaitForForecast());
    EXPECT_EQ(folder.Read(WindowChoicesFileName), "forecast=1\n");
}

}  // namespace
}  // namespace orbista

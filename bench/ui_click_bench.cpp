// Time of one click on a number button of the real window, short game against long game. The
// click runs the whole spin cycle and repaints what changed; with 100000 spins of history it must
// still fit well within one frame (16.7 ms). Each is timed with the forecast line off and on: a
// click only hands the forecast a picture of the game and never waits for it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "engine/engine.h"
#include "model/game_state.h"
#include "model/random.h"
#include "times_reporter.h"
#include "ui/fonts.h"
#include "ui/main_window.h"

namespace orbista {
namespace {

// A press and a release of the left mouse button in the middle of the button, as the player's
// click arrives.
void Click(QPushButton* button) {
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &release);
}

// A game of `spins` spins as the history would hold it, without playing them one by one.
void FillHistory(GameState& state, RandomGenerator& random, int32_t spins) {
    for (int32_t i = 1; i <= std::min(spins, KeptSpins); ++i) {
        const int32_t number = random.Random(NumberCount);
        state.SpinHistory[i] = number;
        state.CorrectedNumbers[i] = random.Random(NumberCount);
        state.SixLineHistory[i] = SixLineOf(number);
        state.CorrectedSixLines[i] = random.Random(6) + 1;
    }
    state.SpinCount = spins;
}

void BM_NumberButtonClick(benchmark::State& bench) {
    const auto spins = static_cast<int32_t>(bench.range(0));
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / "orbista-ui-bench";
    std::filesystem::create_directories(scratch);

    auto state = std::make_unique<GameState>();
    RandomGenerator random;
    random.Seed(1);
    WindowSetup setup;
    setup.programFolder = scratch;
    setup.present = [](QWidget*, const QString&) {};
    const auto window = MainWindow::Create(*state, random, setup);
    window->SetForecastOn(bench.range(1) != 0);
    window->CheckFiles().SetFolder(scratch);
    // The game must keep its length: no stop rule may restart it.
    window->SetFlag(Setting::StopOnWin, false);
    window->SetFlag(Setting::WinMessage, false);
    window->SetFlag(Setting::NoLossMessage, true);
    window->SetFlag(Setting::ResetProgressionOnLoss, true);
    window->show();
    QApplication::processEvents();
    FillHistory(*state, random, spins);
    window->ShowSpinColumn(*state);
    QApplication::processEvents();

    auto* sheet = window->PageControl1()->widget(0);
    std::array<QPushButton*, 4> buttons = {
        sheet->findChild<QPushButton*>("BitBtn17"), sheet->findChild<QPushButton*>("BitBtn32"),
        sheet->findChild<QPushButton*>("BitBtn73"), sheet->findChild<QPushButton*>("BitBtn5")};
    size_t next = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        state->SpinCount = spins;  // the game length stays what is measured
        bench.ResumeTiming();
        Click(buttons[next++ % buttons.size()]);
        QApplication::processEvents();  // the repaint belongs to the click
    }
    bench.counters["spins_in_game"] = static_cast<double>(spins);
    std::filesystem::remove_all(scratch);
}
BENCHMARK(BM_NumberButtonClick)
    ->ArgNames({"spins", "forecast"})
    ->ArgsProduct({{100, 100000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    orbista::LoadApplicationFonts();
    return orbista::RunBenchmarks(argc, argv, [](const orbista::TimesReporter& reporter) {
        for (const char* forecast : {"0", "1"}) {
            const std::string on = std::string("/forecast:") + forecast;
            const auto shortGame = reporter.Of("BM_NumberButtonClick/spins:100" + on);
            const auto longGame = reporter.Of("BM_NumberButtonClick/spins:100000" + on);
            if (shortGame && longGame) {
                std::printf(
                    "click, forecast %s: %.1f us at 100 spins, %.1f us at 100000 spins, ratio "
                    "%.2f\n",
                    forecast, shortGame->realSeconds * 1e6, longGame->realSeconds * 1e6,
                    longGame->realSeconds / shortGame->realSeconds);
            }
        }
    });
}

// Pace of an emulation in the real window, offscreen, at a pause of 0 with 10000 spins already in
// the game. After each cycle the worker rests 5 ms, so at most 200 spins a second can be played;
// the cycle, the hand-over and the window's repaint must cost far less than that rest for the
// playback to come near it. A second run without the rest shows what a spin costs on its own.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "engine/engine.h"
#include "model/game_state.h"
#include "model/random.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/pause_dialog.h"
#include "ui/playback_commands.h"

namespace orbista {
namespace {

constexpr int32_t SpinsInGame = 10'000;
constexpr int32_t PlayedSpins = 2'000;

// A game of `spins` spins as the history would hold it, without playing them one by one.
void FillHistory(GameState& state, RandomGenerator& random, int32_t spins) {
    for (int32_t i = 1; i <= spins; ++i) {
        const int32_t number = random.Random(NumberCount);
        state.SpinHistory[i] = number;
        state.CorrectedNumbers[i] = random.Random(NumberCount);
        state.SixLineHistory[i] = SixLineOf(number);
        state.CorrectedSixLines[i] = random.Random(6) + 1;
    }
    state.SpinCount = spins;
}

struct Pace {
    double spinsPerSecond = 0;
    double millisecondsPerSpin = 0;
};

// One emulation of PlayedSpins spins through the menu, the event loop running as in the program.
// With `forecast`, the forecast line follows the game, starting a forecast at every spin.
Pace Emulate(std::chrono::milliseconds rest, const std::filesystem::path& folder, bool forecast) {
    auto state = std::make_unique<GameState>();
    RandomGenerator random;
    random.Seed(1);
    WindowSetup setup;
    setup.programFolder = folder;
    setup.present = [](QWidget*, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    const auto window = MainWindow::Create(*state, random, setup);
    window->SetForecastOn(forecast);
    window->CheckFiles().SetFolder(folder);
    // The game must keep going: no stop rule may restart it or wait for a message.
    window->SetFlag(Setting::StopOnWin, false);
    window->SetFlag(Setting::WinMessage, false);
    window->SetFlag(Setting::NoLossMessage, true);
    window->SetFlag(Setting::ResetProgressionOnLoss, true);
    window->PauseDialogWindow()->findChild<QLineEdit*>("Memo2")->setText(
        QString::number(PlayedSpins));
    window->Playbacks().SetMinimumRest(rest);
    window->show();
    FillHistory(*state, random, SpinsInGame);
    window->ShowSpinColumn(*state);
    QApplication::processEvents();

    auto* emulate = window->findChild<QAction*>("N19");
    QEventLoop loop;
    QObject::connect(emulate, &QAction::changed, &loop, [&] {
        if (emulate->isEnabled()) {
            loop.quit();
        }
    });
    QTimer::singleShot(0, [&] { window->PauseDialogWindow()->close(); });
    QElapsedTimer clock;
    clock.start();
    emulate->trigger();
    loop.exec();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const int32_t played = state->SpinCount - SpinsInGame;
    if (played != PlayedSpins) {
        std::fprintf(stderr, "played %d spins instead of %d\n", played, PlayedSpins);
    }
    return {played / seconds, seconds * 1e3 / played};
}

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    orbista::LoadApplicationFonts();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "orbista-ui-playback-bench";
    std::filesystem::create_directories(folder);

    using std::chrono::milliseconds;
    const orbista::Pace withRest = orbista::Emulate(milliseconds(5), folder, false);
    const orbista::Pace withoutRest = orbista::Emulate(milliseconds(0), folder, false);
    const orbista::Pace forecasting = orbista::Emulate(milliseconds(0), folder, true);
    std::filesystem::remove_all(folder);

    std::printf("playback at pause 0, %d spins in the game, %d played\n", orbista::SpinsInGame,
                orbista::PlayedSpins);
    std::printf("  with the 5 ms rest: %.0f spins/s (the rest alone allows 200), %.2f ms a spin\n",
                withRest.spinsPerSecond, withRest.millisecondsPerSpin);
    std::printf("  without the rest:   %.0f spins/s, %.3f ms a spin (cycle, hand-over, repaint)\n",
                withoutRest.spinsPerSecond, withoutRest.millisecondsPerSpin);
    std::printf("  the same with the forecast line on: %.0f spins/s, %.3f ms a spin\n",
                forecasting.spinsPerSecond, forecasting.millisecondsPerSpin);
    return 0;
}

// Renders the real window offscreen into PNG files, one per tab, chart sub-tab, menu and dialog,
// so the layout can be looked at on a machine without a display.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "model/game_state.h"
#include "model/random.h"
#include "ui/about_dialog.h"
#include "ui/charts_page.h"
#include "ui/comparison_window.h"
#include "ui/fonts.h"
#include "ui/forecast_line.h"
#include "ui/main_window.h"
#include "ui/pause_dialog.h"
#include "ui/wheel_test_dialog.h"

namespace {

// A short game, so the spin table, the recommendation and the balances show something.
constexpr int SampleSpins[] = {8, 32, 0, 17, 36, 5, 23, 14, 1, 30, 11, 19};

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    widget.ensurePolished();
    const QString path = folder.filePath(name + ".png");
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The comparison window before a run, while it runs, and its three result pages after.
bool SaveComparisonWindow(orbista::MainWindow& window, const QDir& folder) {
    window.ShowComparisonWindow();
    orbista::ComparisonWindow& comparison = *window.Comparison();
    comparison.GamesField()->setValue(200);
    comparison.SpinsField()->setValue(3000);
    bool saved = Save(comparison, folder, "comparison-before");
    comparison.Start();
    while (comparison.Running() && comparison.Progress()->value() < 400) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    saved &= Save(comparison, folder, "comparison-during");
    comparison.WaitForResults();
    for (int page = 0; page < comparison.ResultPages()->count(); ++page) {
        comparison.ResultPages()->setCurrentIndex(page);
        saved &= Save(comparison, folder, QString("comparison-after%1").arg(page + 1));
    }
    comparison.close();
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    orbista::LoadApplicationFonts();

    auto state = std::make_unique<orbista::GameState>();
    orbista::RandomGenerator random;
    random.Seed(1);
    // The pictures show the defaults: the window reads and writes no settings file but a
    // temporary one, and the systems' check files of the sample game are of no use either.
    const QTemporaryDir scratch;
    orbista::WindowSetup setup;
    setup.programFolder = scratch.path().toStdString();
    setup.present = [](QWidget*, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    const auto window = orbista::MainWindow::Create(*state, random, setup);
    window->CheckFiles().SetFolder(scratch.path().toStdString());
    window->show();
    // Active, as on a desktop, so the keyboard entry shows that it has the keyboard.
    QApplication::setActiveWindow(window.get());
    for (const int number : SampleSpins) {
        window->GameEngine().EnterNumber(number);
    }
    // The forecast line shows the forecast of the game as the pictures leave it.
    orbista::ForecastLine* forecast = window->Forecaster();
    forecast->Refresh(*state, *window, *window);
    while (!forecast->Settled()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    bool saved = true;
    QTabWidget* pages = window->PageControl1();
    for (int tab = 0; tab < pages->count(); ++tab) {
        pages->setCurrentIndex(tab);
        saved &= Save(*window, folder, QString("main-tab%1").arg(tab + 1));
    }
    QTabWidget* charts = window->Charts()->PageControl2();
    pages->setCurrentWidget(pages->findChild<QWidget*>("TabSheet4"));
    for (int tab = 0; tab < charts->count(); ++tab) {
        charts->setCurrentIndex(tab);
        saved &= Save(*window, folder, QString("charts-tab%1").arg(tab + 1));
    }
    pages->setCurrentIndex(0);

    int menuIndex = 0;
    for (QAction* action : window->menuBar()->actions()) {
        if (QMenu* menu = action->menu()) {
            menu->adjustSize();
            saved &= Save(*menu, folder, QString("menu%1").arg(++menuIndex));
        }
    }

    window->PauseDialogWindow()->show();
    saved &= Save(*window->PauseDialogWindow(), folder, "pause-dialog");
    window->PauseDialogWindow()->hide();
    window->AboutDialogWindow()->show();
    saved &= Save(*window->AboutDialogWindow(), folder, "about-dialog");
    window->AboutDialogWindow()->hide();

    // The wheel test of a dozen spins says only that they are too few: it is shown on 3700.
    window->Charts()->OpenWheelTest();
    orbista::WheelTestDialog& wheelTest = *window->Charts()->WheelTest();
    std::vector<uint8_t> spins(3700);
    for (uint8_t& spin : spins) {
        spin = static_cast<uint8_t>(random.Random(orbista::NumberCount));
    }
    wheelTest.ShowSpins(std::move(spins), "Случайные спины");
    saved &= Save(wheelTest, folder, "wheel-test");
    wheelTest.close();

    saved &= SaveComparisonWindow(*window, folder);
    return saved ? 0 : 1;
}

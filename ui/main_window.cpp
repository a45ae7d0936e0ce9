#include "ui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "engine/engine.h"
#include "session/start_and_close.h"
#include "storage/window_choices.h"
#include "ui/about_dialog.h"
#include "ui/charts_page.h"
#include "ui/fonts.h"
#include "ui/forecast_line.h"
#include "ui/keyboard_entry.h"
#include "ui/pause_dialog.h"
#include "ui/playback_commands.h"
#include "ui/window_layout.h"

namespace orbista {

namespace {

constexpr QPoint FirstPosition(430, 149);
constexpr QSize ClientSize(392, 583);

QString ChooseCsvPath(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, "Сохранить игру в CSV", QString(),
                                        "CSV (*.csv);;All Files (*)");
}

bool OpenInFileManager(const QString& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString ChooseSavePath(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, "Сохранить спины", QString(),
                                        "Text File (*.txt);;All Files (*)");
}

}  // namespace

std::filesystem::path ExecutableFolder() {
    return std::filesystem::path(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

MainWindow::MainWindow(GameState& state, RandomGenerator& random, const WindowSetup& setup)
    : state_(state),
      random_(random),
      settingsFile_(setup.programFolder),
      present_(setup.present),
      chooseSavePath_(ChooseSavePath),
      chooseCsvPath_(ChooseCsvPath),
      openFolder_(OpenInFileManager) {
    setObjectName("Form1");
    setWindowTitle("ORBISTA - 8");
    setFont(WindowFont(15));
    BuildMenu();
    BuildTabs();
    FitMenuBar(ClientSize.width());
    setFixedSize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height());
    move(FirstPosition);

    session_ = std::make_unique<Session>(GameParts{state_, *this, *this, random_},
                                         CheckFileWrites::Replaced);
    session_->autosaves.SetFolder(setup.programFolder / AutosaveFolderName);
    // The application may quit, as when the session ends, without closing its windows.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::ShutDown);
}

MainWindow::~MainWindow() {
    // The worker must be gone before the engine and the controls its cycles use.
    playbacks_->Stop();
}

std::unique_ptr<MainWindow> MainWindow::Create(GameState& state, RandomGenerator& random,
                                               const WindowSetup& setup) {
    auto window = std::make_unique<MainWindow>(state, random, setup);
    auto* pauseDialog = new PauseDialog(window.get(), *window);
    auto* aboutDialog = new AboutDialog(window.get());
    window->AttachDialogs(pauseDialog, aboutDialog);
    // Every control the settings model knows exists by now, the dialogs' fields included.
    window->CheckEverySettingHasItsControl();
    window->StartUp();
    return window;
}

void MainWindow::StartUp() {
    StartProgram(session_->engine, *this, settingsFile_, *this);
    RunCommand([this] {
        forecastItem_->setChecked(ReadWindowChoices(settingsFile_.Path().parent_path()).forecast);
    });
    forecastLine_->SetOn(forecastItem_->isChecked());
    RefreshForecast();
}

void MainWindow::ShutDown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    playbacks_->Stop();
    CloseProgram(session_->engine, *this, settingsFile_, *this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    ShutDown();
    QMainWindow::closeEvent(event);
}

void MainWindow::AttachDialogs(PauseDialog* pauseDialog, AboutDialog* aboutDialog) {
    pauseDialog_ = pauseDialog;
    aboutDialog_ = aboutDialog;
    pauseDialog_->SetMessagePresenter(present_);
    ConnectSettingControls(pauseDialog_->Controls());
}

void MainWindow::SetMessagePresenter(MessagePresenter presenter) {
    present_ = std::move(presenter);
    if (pauseDialog_ != nullptr) {
        pauseDialog_->SetMessagePresenter(present_);
    }
}

void MainWindow::BuildTabs() {
    auto* client = new QWidget(this);
    client->setFixedSize(ClientSize);
    setCentralWidget(client);

    pages_ = new QTabWidget(client);
    pages_->setObjectName("PageControl1");
    pages_->setGeometry(0, 0, 395, 585);
    pages_->setFont(WindowFont(13));

    const auto addSheet = [this](const char* name, const char* caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(name);
        pages_->addTab(sheet, caption);
        return sheet;
    };
    QWidget* bets = addSheet("TabSheet1", "Окно ставок");
    const BetsTab betsTab = BuildBetsTab(bets);
    spinTable_ = betsTab.spins;
    spinCountLabel_ = betsTab.spinCount;
    displays_ = betsTab.displays;
    mirrorButtons_ = betsTab.mirrors;
    for (int n = 0; n < NumberCount; ++n) {
        connect(betsTab.numbers[n], &QPushButton::clicked, this, [this, n] { EnterNumber(n); });
    }
    connect(betsTab.cancel, &QPushButton::clicked, this, [this] { CancelSpin(); });
    SettingControls controls = BuildSettingsTab(addSheet("TabSheet2", "Настройки"), *this);
    const MethodsTab methods = BuildMethodsTab(addSheet("TabSheet3", "Методики"), *this);
    controls.Take(methods.settings);
    radioButtons_ = methods.systems;
    QWidget* chartsSheet = addSheet("TabSheet4", "Графики");
    chartsPage_ = new ChartsPage(state_, *this, *this, chartsSheet);
    auto* chartsLayout = new QVBoxLayout(chartsSheet);
    chartsLayout->setContentsMargins(0, 0, 0, 0);
    chartsLayout->addWidget(chartsPage_);
    pages_->setCurrentIndex(0);
    controls.Take(chartsPage_->Controls());
    ConnectSettingControls(controls);
    ConnectSystems();

    keyboardEntry_ = new KeyboardEntry(
        bets, [this](int number) { EnterNumber(number); }, [this] { CancelSpin(); });
    forecastLine_ = new ForecastLine(bets);

    connect(pages_, &QTabWidget::currentChanged, this, [this] {
        RunCommand([this] { RebuildCharts(); });
        RefreshForecast();  // the settings may have changed on another tab
    });
    connect(chartsPage_, &ChartsPage::RebuildRequested, this,
            [this] { RunCommand([this] { RebuildCharts(); }); });
}

void MainWindow::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ReportError(error.what());
    }
}

void MainWindow::RunGameCommand(const std::function<void()>& command) {
    gameRecord_.BeforeCycle(state_);
    RunCommand(command);
    gameRecord_.AfterCycle(state_);
    RefreshForecast();
}

void MainWindow::EnterNumber(int number) {
    RunGameCommand([this, number] { session_->engine.EnterNumber(number); });
}

void MainWindow::CancelSpin() {
    RunGameCommand([this] { session_->engine.CancelSpin(); });
}

void MainWindow::RefreshForecast() {
    forecastLine_->Refresh(state_, *this, *this);
}

}  // namespace orbista

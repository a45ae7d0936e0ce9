#include "ui/main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <cassert>
#include <stdexcept>

#include "engine/engine.h"
#include "model/decimal.h"
#include "model/errors.h"
#include "session/start_and_close.h"
#include "storage/game_csv.h"
#include "storage/spin_file.h"
#include "storage/text_file.h"
#include "storage/window_choices.h"
#include "ui/about_dialog.h"
#include "ui/charts_page.h"
#include "ui/comparison_window.h"
#include "ui/fonts.h"
#include "ui/forecast_line.h"
#include "ui/help_file.h"
#include "ui/keyboard_entry.h"
#include "ui/pause_dialog.h"
#include "ui/playback_commands.h"
#include "ui/spin_table.h"
#include "ui/up_down.h"
#include "ui/window_layout.h"

namespace orbista {

namespace {

constexpr QPoint FirstPosition(430, 149);
constexpr QSize ClientSize(392, 583);
constexpr const char* AutosaveFolderName = "Autosave";
constexpr int MenuPixels = 13;
constexpr int SmallestMenuPixels = 9;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

int SettingIndex(Setting setting) {
    return static_cast<int>(setting);
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
    FitMenuBar();
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

void MainWindow::BuildMenu() {
    QMenuBar* bar = menuBar();
    const auto addItem = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    const auto addMenu = [bar](const char* name, const QString& caption) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };

    QMenu* file = addMenu("N1", "Файл");
    QAction* save = addItem(file, "N2", "Сохранить спины");
    save->setShortcut(QKeySequence("Ctrl+S"));
    connect(save, &QAction::triggered, this, &MainWindow::SaveSpinsAs);
    connect(file->addAction("Сохранить игру в CSV…"), &QAction::triggered, this,
            &MainWindow::SaveGameCsvAs);
    connect(file->addAction("Открыть папку с данными"), &QAction::triggered, this,
            &MainWindow::OpenDataFolder);
    connect(addItem(file, "N7", "Новая игра"), &QAction::triggered, this,
            [this] { RunGameCommand([this] { session_->engine.NewGame(); }); });
    connect(addItem(file, "N5", "Выход"), &QAction::triggered, this, &QWidget::close);

    QMenu* options = addMenu("N3", "Настройки");
    // The one setting shown by a menu item rather than by a control of a tab.
    const SettingInfo& stayOnTop = InfoOf(Setting::StayOnTop);
    stayOnTop_ = options->addAction(FromUtf8(stayOnTop.caption));
    stayOnTop_->setObjectName(FromUtf8(stayOnTop.control));
    stayOnTop_->setCheckable(true);
    connect(stayOnTop_, &QAction::triggered, this, &MainWindow::SetStayOnTop);
    forecastItem_ = options->addAction("Прогноз игры");
    forecastItem_->setObjectName("ForecastItem");
    forecastItem_->setCheckable(true);
    forecastItem_->setChecked(true);
    connect(forecastItem_, &QAction::triggered, this, &MainWindow::SetForecastOn);

    BuildPlaybackMenu(addMenu("N4", "&Игра из файла"));
    BuildPresetMenu(addMenu("N10", "Системы от автора"));

    QMenu* info = addMenu("N8", "INFO");
    connect(addItem(info, "N9", "Описание программы"), &QAction::triggered, this,
            &MainWindow::OpenHelpFile);
    connect(addItem(info, "N12", "INFO"), &QAction::triggered, this, [this] { ShowAboutDialog(); });
}

void MainWindow::BuildPlaybackMenu(QMenu* menu) {
    QAction* playFromFile = menu->addAction("&Игра из файла");
    playFromFile->setObjectName("N18");
    playFromFile->setShortcut(QKeySequence("Ctrl+O"));
    QAction* emulateGame = menu->addAction("Эмуляция игры");
    emulateGame->setObjectName("N19");
    QAction* stopGame = menu->addAction("Остановить игру");
    stopGame->setObjectName("StopGame");
    connect(menu->addAction("Сравнение систем…"), &QAction::triggered, this,
            &MainWindow::ShowComparisonWindow);
    playbacks_ =
        std::make_unique<PlaybackCommands>(*this, *playFromFile, *emulateGame, *stopGame, random_,
                                           [this](int32_t number) { EnterNumber(number); });
}

void MainWindow::BuildPresetMenu(QMenu* menu) {
    for (const Preset& preset : Presets()) {
        QAction* item = menu->addAction(FromUtf8(preset.caption));
        item->setObjectName(FromUtf8(preset.menuItem));
        connect(item, &QAction::triggered, this, [this, &preset] { ApplyPresetFromMenu(preset); });
    }
}

void MainWindow::ApplyPresetFromMenu(const Preset& preset) {
    RunCommand([this, &preset] { ApplyPreset(preset, *this, settingsFile_); });
}

void MainWindow::FitMenuBar() {
    // Every menu must be in sight: when the typeface is too wide for one row, the bar would hide
    // the last menus behind an extension arrow, so its font gives way instead.
    QMenuBar* bar = menuBar();
    bar->resize(ClientSize.width(), bar->sizeHint().height());
    QFont font = WindowFont(MenuPixels);
    const QList<QAction*> menus = bar->actions();
    const auto fits = [&] {
        const QRect last = bar->actionGeometry(menus.back());
        return !last.isEmpty() && last.right() < ClientSize.width();
    };
    bar->setFont(font);
    while (!fits() && font.pixelSize() > SmallestMenuPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        bar->setFont(font);
    }
}

void MainWindow::ConnectSettingControls(const SettingControls& controls) {
    for (const SettingInfo& info : SettingsTable()) {
        const Setting setting = info.setting;
        if (QLineEdit* field = controls.fields[SettingIndex(setting)]) {
            fields_[SettingIndex(setting)] = field;
            NoteFieldText(setting, field->text().toStdString());
            connect(field, &QLineEdit::textChanged, this, [this, setting](const QString& text) {
                NoteFieldText(setting, text.toStdString());
            });
        }
        if (QCheckBox* box = controls.checkBoxes[SettingIndex(setting)]) {
            checkBoxes_[SettingIndex(setting)] = box;
            box->setChecked(info.defaultValue != 0);
            if (info.seriesChoice) {
                connect(box, &QAbstractButton::clicked, this, [this, box, setting](bool checked) {
                    // The click has already switched the box; the rule wants to see the change.
                    box->setChecked(!checked);
                    SetSeriesChoice(*this, setting, checked);
                });
            }
        }
    }
}

void MainWindow::ConnectSystems() {
    systemGroup_ = new QButtonGroup(this);
    for (QRadioButton* radio : radioButtons_) {
        systemGroup_->addButton(radio);
    }
    SetActiveSystem(DefaultSystem);
}

void MainWindow::CheckEverySettingHasItsControl() const {
    for (const SettingInfo& info : SettingsTable()) {
        // The menu item "Поверх окон" shows StayOnTop.
        const bool shown =
            info.setting == Setting::StayOnTop ||
            (info.kind == SettingKind::Number ? fields_[SettingIndex(info.setting)] != nullptr
                                              : checkBoxes_[SettingIndex(info.setting)] != nullptr);
        if (!shown) {
            throw std::logic_error("the window has no control for " + std::string(info.field));
        }
    }
    for (const QRadioButton* radio : radioButtons_) {
        if (radio == nullptr) {
            throw std::logic_error("the window has no radio button for every system");
        }
    }
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

void MainWindow::SetForecastOn(bool on) {
    forecastItem_->setChecked(on);
    forecastLine_->SetOn(on);
    RefreshForecast();
    RunCommand([this, on] {
        WriteWindowChoices(settingsFile_.Path().parent_path(), WindowChoices{.forecast = on});
    });
}

void MainWindow::SaveSpinsAs() {
    const QString path = chooseSavePath_(this);
    if (path.isEmpty()) {
        return;
    }
    RunCommand([this, &path] {
        SaveSpins(state_, std::filesystem::path(QFile::encodeName(path).toStdString()));
    });
}

void MainWindow::SaveGameCsvAs() {
    const QString path = chooseCsvPath_(this);
    if (!path.isEmpty()) {
        RunCommand([this, &path] {
            ReplaceFile(WithCsvExtension(QFile::encodeName(path).toStdString()), gameRecord_.Csv());
        });
    }
}

void MainWindow::OpenDataFolder() {
    const std::filesystem::path folder = settingsFile_.Path().parent_path();
    // Before the first game is saved the folder may not be there yet.
    std::error_code shownAnyway;
    std::filesystem::create_directories(folder, shownAnyway);
    const QString path = QFile::decodeName(QByteArray::fromStdString(folder.string()));
    if (!openFolder_(path)) {
        Tell(QString("Не удалось открыть папку %1: нет программы для просмотра папок.").arg(path));
    }
}

void MainWindow::ShowComparisonWindow() {
    if (comparisonWindow_ == nullptr) {
        comparisonWindow_ = new ComparisonWindow(
            *this, [this](QWidget* parent, const QString& text) { present_(parent, text); },
            settingsFile_.Path().parent_path() / AutosaveFolderName, this);
    }
    comparisonWindow_->show();
    comparisonWindow_->raise();
    comparisonWindow_->activateWindow();
}

void MainWindow::OpenHelpFile() {
    orbista::OpenHelpFile(ExecutableFolder(), this, present_,
                          [this](const QString& path) { return helpViewer_.Show(path); });
}

void MainWindow::SetStayOnTop() {
    stayOnTop_->setChecked(true);
    MakeTopmost();
}

void MainWindow::MakeTopmost() {
    if (!stayOnTop_->isChecked() || windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        return;
    }
    // Changing the flag hides the window; it comes back where it was, without taking the focus.
    const bool visible = isVisible();
    const QPoint at = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    move(at);
    if (visible) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        MakeTopmost();
    }
}

// ---- MainWindowView

QLineEdit& MainWindow::DisplayField(Display display) const {
    return *displays_[IndexOf(display)];
}

void MainWindow::ShowSpinCount(int64_t count) {
    spinCountLabel_->setText(QString::number(count));
}

void MainWindow::ShowStakeLevel(std::string_view text) {
    DisplayField(Display::StakeLevel).setText(FromUtf8(text));
}

void MainWindow::ShowTableStake(std::string_view text) {
    DisplayField(Display::TableStake).setText(FromUtf8(text));
}

void MainWindow::ShowTotalBalance(int32_t value) {
    DisplayField(Display::TotalBalance).setText(QString::number(value));
}

void MainWindow::ShowGameBalance(int32_t value) {
    DisplayField(Display::GameBalance).setText(QString::number(value));
}

void MainWindow::ShowGameBalanceMin(int32_t value) {
    DisplayField(Display::GameBalanceMin).setText(QString::number(value));
}

void MainWindow::ShowGameBalanceMax(int32_t value) {
    DisplayField(Display::GameBalanceMax).setText(QString::number(value));
}

int32_t MainWindow::ReadBalance(Display display) {
    return ReadFieldNumber(DisplayField(display).text().toStdString(), ControlOf(display),
                           CaptionOf(display));
}

int32_t MainWindow::ReadTotalBalance() {
    return ReadBalance(Display::TotalBalance);
}
int32_t MainWindow::ReadGameBalance() {
    return ReadBalance(Display::GameBalance);
}
int32_t MainWindow::ReadGameBalanceMin() {
    return ReadBalance(Display::GameBalanceMin);
}
int32_t MainWindow::ReadGameBalanceMax() {
    return ReadBalance(Display::GameBalanceMax);
}

void MainWindow::ClearRecommendedNumbers() {
    for (QPushButton* mirror : mirrorButtons_) {
        mirror->setText(QString());
    }
}

void MainWindow::ShowRecommendedNumbers(const StakeArray& stakes) {
    for (int n = 0; n < NumberCount; ++n) {
        if (stakes[n] > 0) {
            mirrorButtons_[n]->setText(QString::number(n));
        }
    }
}

void MainWindow::ShowSpinColumn(const GameState& state) {
    spinTable_->ShowSpinColumn(state);
}

void MainWindow::ClearSpinColumn() {
    spinTable_->ClearSpinColumn();
}

void MainWindow::RebuildCharts() {
    chartsPage_->RebuildCharts();
}

void MainWindow::ShowMessageBox(std::string_view text) {
    // The win and loss messages: a quiet playback counts its games instead, and reports them at
    // its end.
    if (playbacks_ != nullptr && playbacks_->Quiet()) {
        return;
    }
    present_(this, FromUtf8(text));
}

void MainWindow::Tell(const QString& text) {
    present_(this, text);
}

void MainWindow::ShowPlaybackProgress(const QString& progress) {
    keyboardEntry_->ShowProgress(progress);
}

void MainWindow::ReportError(std::string_view text) {
    present_(this, FromUtf8(text));
}

void MainWindow::ShowPauseDialog() {
    pauseDialog_->ShowModal();
}

void MainWindow::ShowAboutDialog() {
    aboutDialog_->ShowModal();
}

// ---- SettingsModel

// Every setting has its control from the start (CheckEverySettingHasItsControl).
QLineEdit& MainWindow::NumericField(Setting setting) const {
    QLineEdit* field = fields_[SettingIndex(setting)];
    assert(field != nullptr);
    return *field;
}

QAbstractButton& MainWindow::CheckBox(Setting setting) const {
    QAbstractButton* box = checkBoxes_[SettingIndex(setting)];
    assert(box != nullptr);
    return *box;
}

std::string MainWindow::Text(Setting setting) const {
    return NumericField(setting).text().toStdString();
}

void MainWindow::SetText(Setting setting, std::string_view text) {
    NumericField(setting).setText(FromUtf8(text));
}

bool MainWindow::Flag(Setting setting) const {
    if (setting == Setting::StayOnTop) {
        return stayOnTop_->isChecked();
    }
    return CheckBox(setting).isChecked();
}

void MainWindow::SetFlag(Setting setting, bool on) {
    if (setting == Setting::StayOnTop) {
        // Once on, the window stays on top for the rest of the run.
        if (on) {
            SetStayOnTop();
        }
        return;
    }
    CheckBox(setting).setChecked(on);
}

SelectionSystem MainWindow::ActiveSystem() const {
    int index = 0;
    for (const SystemInfo& info : SystemsTable()) {
        if (radioButtons_[index++]->isChecked()) {
            return info.system;
        }
    }
    return SelectionSystem::None;
}

void MainWindow::SetActiveSystem(SelectionSystem system) {
    int index = 0;
    for (const SystemInfo& info : SystemsTable()) {
        if (info.system == system) {
            radioButtons_[index]->setChecked(true);
            return;
        }
        ++index;
    }
    // No system: an exclusive group never lets its last button go, so lift that for a moment.
    systemGroup_->setExclusive(false);
    for (QRadioButton* radio : radioButtons_) {
        radio->setChecked(false);
    }
    systemGroup_->setExclusive(true);
}

}  // namespace orbista

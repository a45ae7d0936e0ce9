#include "ui/main_window.h"

#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QShowEvent>

#include "engine/engine.h"
#include "storage/game_csv.h"
#include "storage/spin_file.h"
#include "storage/text_file.h"
#include "storage/window_choices.h"
#include "ui/comparison_window.h"
#include "ui/fonts.h"
#include "ui/forecast_line.h"
#include "ui/help_file.h"
#include "ui/playback_commands.h"
// The menu bar and the commands of its items.
namespace orbista {

namespace {

constexpr int MenuPixels = 13;
constexpr int SmallestMenuPixels = 9;

}  // namespace

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
    stayOnTop_ = options->addAction(QText(stayOnTop.caption));
    stayOnTop_->setObjectName(QText(stayOnTop.control));
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
        QAction* item = menu->addAction(QText(preset.caption));
        item->setObjectName(QText(preset.menuItem));
        connect(item, &QAction::triggered, this, [this, &preset] { ApplyPresetFromMenu(preset); });
    }
}

void MainWindow::ApplyPresetFromMenu(const Preset& preset) {
    RunCommand([this, &preset] { ApplyPreset(preset, *this, settingsFile_); });
}

void MainWindow::FitMenuBar(int width) {
    // Every menu must be in sight: when the typeface is too wide for one row, the bar would hide
    // the last menus behind an extension arrow, so its font gives way instead.
    QMenuBar* bar = menuBar();
    bar->resize(width, bar->sizeHint().height());
    QFont font = WindowFont(MenuPixels);
    const QList<QAction*> menus = bar->actions();
    const auto fits = [&] {
        const QRect last = bar->actionGeometry(menus.back());
        return !last.isEmpty() && last.right() < width;
    };
    bar->setFont(font);
    while (!fits() && font.pixelSize() > SmallestMenuPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        bar->setFont(font);
    }
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

}  // namespace orbista

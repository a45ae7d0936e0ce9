#pragma once

#include <QMainWindow>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

#include "model/main_window_view.h"
#include "model/settings_model.h"
#include "session/game_record.h"
#include "session/presets.h"
#include "session/session.h"
#include "storage/settings_file.h"
#include "ui/help_file.h"
#include "ui/message_box.h"
#include "ui/setting_controls.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace orbista {

class AboutDialog;
class ChartsPage;
class ComparisonWindow;
class ForecastLine;
class KeyboardEntry;
class PauseDialog;
class PlaybackCommands;
class RandomGenerator;
class SpinTable;

// The folder of the running executable.
std::filesystem::path ExecutableFolder();

// Where the window keeps its files, and how it shows its messages from the very first one (the
// settings file may have something to say before the window is shown).
struct WindowSetup {
    // save8.dat and the Autosave folder.
    std::filesystem::path programFolder = ExecutableFolder();
    MessagePresenter present = ShowModalMessageBox;
};

// Form1, the program's window: the number buttons, the recommendation, the balances, the settings
// and the charts. It shows what the engine tells it (MainWindowView) and is the settings model on
// its own controls: every read takes what the control shows at that moment.
// Built and wired in main_window.cpp; its menu, its view and its settings have a file each
// (main_window_menu.cpp, main_window_view.cpp, main_window_settings.cpp).
class MainWindow : public QMainWindow, public MainWindowView, public SettingsModel {
    Q_OBJECT

  public:
    // Opens the save dialog of "Сохранить спины"; an empty result means the player cancelled.
    using SavePathChooser = std::function<QString(QWidget* parent)>;
    // Shows a folder in the desktop's file manager; false when nothing could show it.
    using FolderOpener = std::function<bool(const QString& folder)>;

    // Only the controls; Create makes the window the program runs.
    MainWindow(GameState& state, RandomGenerator& random, const WindowSetup& setup);
    ~MainWindow() override;

    // The window, then the pause dialog and the about box, in the order the program creates
    // them; then the start-up values and the stored settings. The dialogs live as long as the
    // window.
    static std::unique_ptr<MainWindow> Create(GameState& state, RandomGenerator& random,
                                              const WindowSetup& setup = {});
    // The dialogs the window shows; their fields join the settings model.
    void AttachDialogs(PauseDialog* pauseDialog, AboutDialog* aboutDialog);

    Engine& GameEngine() { return session_->engine; }
    // Where the systems' check files go (the current directory unless set).
    CheckFileFolder& CheckFiles() { return session_->CheckFiles(); }
    PauseDialog* PauseDialogWindow() const { return pauseDialog_; }
    AboutDialog* AboutDialogWindow() const { return aboutDialog_; }
    ChartsPage* Charts() const { return chartsPage_; }
    SpinTable* SpinColumn() const { return spinTable_; }
    QTabWidget* PageControl1() const { return pages_; }
    PlaybackCommands& Playbacks() { return *playbacks_; }

    // Every message of the window and of the pause dialog goes through this.
    void SetMessagePresenter(MessagePresenter presenter);
    // A message to the player that is neither the engine's nor an error.
    void Tell(const QString& text);
    // "Спин N из M" in the line of the keyboard entry while a playback runs; empty when none does.
    void ShowPlaybackProgress(const QString& progress);
    void SetSavePathChooser(SavePathChooser chooser) { chooseSavePath_ = std::move(chooser); }
    void SetCsvPathChooser(SavePathChooser chooser) { chooseCsvPath_ = std::move(chooser); }
    void SetFolderOpener(FolderOpener opener) { openFolder_ = std::move(opener); }

    // MainWindowView
    void ShowSpinCount(int64_t count) override;
    using MainWindowView::ShowStakeLevel;
    using MainWindowView::ShowTableStake;
    void ShowStakeLevel(std::string_view text) override;
    void ShowTableStake(std::string_view text) override;
    void ShowTotalBalance(int32_t value) override;
    void ShowGameBalance(int32_t value) override;
    void ShowGameBalanceMin(int32_t value) override;
    void ShowGameBalanceMax(int32_t value) override;
    int32_t ReadTotalBalance() override;
    int32_t ReadGameBalance() override;
    int32_t ReadGameBalanceMin() override;
    int32_t ReadGameBalanceMax() override;
    void ClearRecommendedNumbers() override;
    void ShowRecommendedNumbers(const StakeArray& stakes) override;
    void ShowSpinColumn(const GameState& state) override;
    void ClearSpinColumn() override;
    void RebuildCharts() override;
    void ShowMessageBox(std::string_view text) override;
    void ReportError(std::string_view text) override;
    void ShowPauseDialog() override;
    void ShowAboutDialog() override;

    // SettingsModel
    std::string Text(Setting setting) const override;
    void SetText(Setting setting, std::string_view text) override;
    bool Flag(Setting setting) const override;
    void SetFlag(Setting setting, bool on) override;
    SelectionSystem ActiveSystem() const override;
    void SetActiveSystem(SelectionSystem system) override;

    // "Поверх окон": checks the item for good and keeps the window above the others.
    void SetStayOnTop();
    // "Сохранить спины": the save dialog, then the spins of this game into the chosen file.
    void SaveSpinsAs();
    // "Сохранить игру в CSV…": the spins of this game with their balance and stake.
    void SaveGameCsvAs();
    // "Открыть папку с данными": the folder of save8.dat and Autosave in the file manager.
    void OpenDataFolder();
    // "Сравнение систем…": the comparison window, made at the first call, then shown again.
    void ShowComparisonWindow();
    ComparisonWindow* Comparison() const { return comparisonWindow_; }
    ForecastLine* Forecaster() const { return forecastLine_; }
    // "Прогноз игры" in "Настройки": the forecast line on or off, kept for the next start.
    void SetForecastOn(bool on);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void StartUp();
    // The steps of the window's close, once, whatever ends the program: the close box, "Выход",
    // or the application quitting with the session.
    void ShutDown();
    void BuildTabs();
    void BuildMenu();
    void BuildPresetMenu(QMenu* menu);
    void BuildPlaybackMenu(QMenu* menu);
    void ApplyPresetFromMenu(const Preset& preset);
    // Every menu in sight on a bar `width` pixels wide.
    void FitMenuBar(int width);
    // Takes the controls of the settings that `controls` holds, with their defaults shown.
    void ConnectSettingControls(const SettingControls& controls);
    void ConnectSystems();
    // A setting without its control is a fault of the program, found before the window runs.
    void CheckEverySettingHasItsControl() const;
    void EnterNumber(int number);
    void CancelSpin();
    void OpenHelpFile();
    // A new forecast of the game as it stands, after anything that may have changed it.
    void RefreshForecast();
    void MakeTopmost();
    // Runs a command of the player; an error it raises is shown, never let through the event
    // loop.
    void RunCommand(const std::function<void()>& command);
    // A command that may enter, cancel or end spins: the record of the game and the forecast
    // follow it.
    void RunGameCommand(const std::function<void()>& command);

    QLineEdit& NumericField(Setting setting) const;
    QAbstractButton& CheckBox(Setting setting) const;
    QLineEdit& DisplayField(Display display) const;
    int32_t ReadBalance(Display display);

    // Under the program folder: the games saved as they are played.
    static constexpr const char* AutosaveFolderName = "Autosave";

    GameState& state_;
    RandomGenerator& random_;
    // Made once the controls it shows the game in exist.
    std::unique_ptr<Session> session_;
    SettingsFile settingsFile_;
    std::unique_ptr<PlaybackCommands> playbacks_;
    bool shutDown_ = false;
    QTabWidget* pages_ = nullptr;
    SpinTable* spinTable_ = nullptr;
    KeyboardEntry* keyboardEntry_ = nullptr;
    GameRecord gameRecord_;
    HelpViewer helpViewer_;
    ChartsPage* chartsPage_ = nullptr;
    QLabel* spinCountLabel_ = nullptr;
    std::array<QLineEdit*, DisplayCount> displays_{};  // by Display; the spin count is a label
    std::array<QPushButton*, NumberCount> mirrorButtons_{};
    std::array<QLineEdit*, SettingCount> fields_{};
    std::array<QAbstractButton*, SettingCount> checkBoxes_{};
    std::array<QRadioButton*, SystemCount> radioButtons_{};  // in the order of SystemsTable()
    QButtonGroup* systemGroup_ = nullptr;
    QAction* stayOnTop_ = nullptr;
    PauseDialog* pauseDialog_ = nullptr;
    AboutDialog* aboutDialog_ = nullptr;
    MessagePresenter present_ = ShowModalMessageBox;
    SavePathChooser chooseSavePath_;
    SavePathChooser chooseCsvPath_;
    FolderOpener openFolder_;
    ComparisonWindow* comparisonWindow_ = nullptr;
    ForecastLine* forecastLine_ = nullptr;
    QAction* forecastItem_ = nullptr;
};

}  // namespace orbista

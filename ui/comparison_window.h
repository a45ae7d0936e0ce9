#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

#include "model/settings_model.h"
#include "session/comparison.h"
#include "ui/message_box.h"

class QChartView;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace orbista {

// "Сравнение систем": the chosen systems over the same games, with the settings the main window
// shows when "Начать" is pressed. A window of its own, never modal: the comparison runs on worker
// threads with games of its own, so the game in progress is never touched.
class ComparisonWindow : public QWidget {
    Q_OBJECT

  public:
    // Opens the save dialog of "Сохранить CSV…"; an empty result means the player cancelled.
    using SavePathChooser = std::function<QString(QWidget* parent)>;

    // `settings` must outlive the window; `spinFolder` is where the spin files are looked for
    // first (the Autosave folder).
    ComparisonWindow(const SettingsModel& settings, MessagePresenter present,
                     std::filesystem::path spinFolder, QWidget* parent = nullptr);
    ~ComparisonWindow() override;

    // "Начать": takes the settings as they stand and starts; a field that holds no integer is
    // told as everywhere else, and nothing starts.
    void Start();
    // "Остановить": the games finished so far are shown.
    void Stop();
    bool Running() const { return running_.valid(); }
    // Waits for a running comparison to end and shows it (for the tests and the pictures).
    void WaitForResults();

    // The spins come from these files, one game each, instead of random games.
    void SetSpinFiles(std::vector<std::filesystem::path> files);
    void SetSavePathChooser(SavePathChooser chooser) { chooseSavePath_ = std::move(chooser); }
    // "Сохранить CSV…": one row per system and game.
    void SaveCsv();

    QCheckBox* SystemBox(SelectionSystem system) const;
    QSpinBox* GamesField() const { return games_; }
    QSpinBox* SpinsField() const { return spins_; }
    QSpinBox* SeedField() const { return seed_; }
    QSpinBox* GameLengthField() const { return gameLength_; }
    QLabel* FilesLabel() const { return filesLabel_; }
    QTableWidget* Table() const { return table_; }
    QTabWidget* ResultPages() const { return results_; }
    QProgressBar* Progress() const { return progressBar_; }
    QLabel* TimeLeft() const { return timeLeft_; }
    const std::optional<ComparisonResult>& Result() const { return result_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* BuildSystemsBox();
    QWidget* BuildSpinsBox();
    void StartComparison();
    ComparisonPlan PlanFromFields() const;
    void ShowProgress();
    void Finish();
    void ShowResults();
    void FillTable();
    void DrawFinalBalances();
    void DrawBalanceCurves();
    void UpdateButtons();
    // Runs a command of the player; an error it raises is shown, never let through.
    void RunCommand(const std::function<void()>& command);

    const SettingsModel& settings_;
    MessagePresenter present_;
    std::filesystem::path spinFolder_;
    SavePathChooser chooseSavePath_;
    std::vector<std::pair<SelectionSystem, QCheckBox*>> systemBoxes_;
    QSpinBox* games_ = nullptr;
    QSpinBox* spins_ = nullptr;
    QSpinBox* seed_ = nullptr;
    QRadioButton* randomSpins_ = nullptr;
    QRadioButton* fileSpins_ = nullptr;
    QSpinBox* gameLength_ = nullptr;
    QLabel* filesLabel_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* save_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QTabWidget* results_ = nullptr;
    QTableWidget* table_ = nullptr;
    QChartView* finalView_ = nullptr;
    QChartView* curvesView_ = nullptr;
    QTimer* timer_ = nullptr;

    std::vector<std::filesystem::path> spinFiles_;
    std::unique_ptr<Comparison> comparison_;
    std::unique_ptr<ComparisonProgress> progress_;
    std::future<ComparisonResult> running_;
    std::chrono::steady_clock::time_point started_;
    std::optional<ComparisonResult> result_;
};

}  // namespace orbista

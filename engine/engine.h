#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/check_file.h"
#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/random.h"
#include "model/settings_model.h"
#include "storage/autosave.h"
#include "model/check_file.h"
#include "model/main_window_view.h"
#include "model/settings_model.h"
#include "storage/text_file.h"

namespace orbista {

// Running totals of one run of the program, for the simulator's summary.
struct EngineCounters {
    int64_t spins = 0;
    int64_t cancels = 0;
    int64_t newGames = 0;
    int64_t winStops = 0;
    int64_t lossStops = 0;
    int64_t unitsStaked = 0;  // units deducted at settled spins
    int64_t unitsWon = 0;     // units paid out on winning spins
    int64_t spinsWithBets = 0;
    int32_t highestStakeLevel = 0;  // of the bets settled, not of a recommendation a stop took off
    int64_t mostUnitsOnTable = 0;
};

// The spin engine: the cycle that enters (or cancels) a spin, settles it, lets the active system
// recommend the next bets and shows the result; and the two resets of the game. It works on the
// one GameState, reads the settings through the settings model at the moment of use and reaches
// the window only through MainWindowView. Everything runs on the window's thread.
class Engine : public CheckFileSink {
  public:
    Engine(GameState& state, SettingsModel& settings, MainWindowView& view,
           RandomGenerator& random);

    // Where AutosaveSpins writes (the window's "Autosave" folder); none: no autosave is written.
    void SetAutosaveFolder(std::optional<std::filesystem::path> folder);
    // The current directory of the check files.
    void SetCheckFileFolder(std::filesystem::path folder);
    // Off: the systems write no check file (for batch runs; the window always writes them).
    void SetCheckFilesWritten(bool written);
    // The pause after the win message is closed (100 ms in the window).
    void SetPauseAfterWinMessage(std::chrono::milliseconds pause);
    // The local time that names the autosave files (the system's clock unless set).
    void SetLocalClock(LocalClock clock);
    // Where the autosaves and the check files are written (the operating system's files unless
    // set); it must outlive the engine.
    void SetFileSystem(FileSystem& fileSystem);

    // The start-up values of the game state and of the displays.
    void StartUp();

    // A number button: CurrentNumber := number, then ProcessSpin.
    void EnterNumber(int32_t number);
    // The whole cycle for CurrentNumber (or, while UndoRequested, the cancel). A spin is entered
    // whole or not at all: when a balance or a setting the cycle needs holds no integer, or the
    // number is no roulette number, the error is reported and nothing changes.
    void ProcessSpin();
    // The cancel button: the newest spin is taken back and the recommendation recomputed.
    void CancelSpin();

    // "Новая игра": all balances back to 0.
    void NewGame();
    // A stop rule ended the game: the next begins at once; the total balance runs on.
    void RestartGame();
    // Saves the finished game's spins when it has two or more; throws FileError.
    void AutosaveSpins();

    GameState& State() { return state_; }
    const EngineCounters& Counters() const { return counters_; }

    // A system's check file, written into the check-file folder. A failure is told to the player
    // once per run and never stops the spin.
    void WriteCheckFile(std::string_view fileName, std::string_view content) override;
    bool WritesCheckFiles() const override { return checkFilesWritten_; }

  private:
    // Before the cycle changes anything: every field it may read holds an integer, or a
    // ConversionError is thrown.
    void CheckCycleFields() const;
    void CheckSettingsOfCycle() const;
    void EnterSpinIntoHistory();
    void TakeBackNewestSpin();
    // Money before the new recommendation; returns the game balance the cycle goes on with.
    int64_t SettleSpin(bool cancel);
    void CountSettledBets(int64_t placed);
    void SettleNumber();
    void PayWin(int64_t& gameBalance);
    void RefreshWorkingSeries();
    void TakeSettingsCopies();
    void RecommendNextSpin();
    // Money after the new recommendation: the win pause, counting, displays and the loss stop.
    void AccountForRecommendation(int64_t gameBalance);
    void StopOnLoss();
    void ClearRecommendation();
    void ShowRecommendation();
    // What NewGame and RestartGame share: the save, the history and the recommendation.
    void EndGame(int32_t clearedSpins);
    void AutosaveReportingFailure();

    GameState& state_;
    SettingsModel& settings_;
    MainWindowView& view_;
    RandomGenerator& random_;
    std::optional<std::filesystem::path> autosaveFolder_;
    bool checkFilesWritten_ = true;
    FileSystem* fileSystem_;
    std::unique_ptr<ReplacedFolder> checkFiles_;
    std::chrono::milliseconds pauseAfterWinMessage_{100};
    bool checkFileFailureReported_ = false;
    LocalClock clock_ = LocalNow;
    EngineCounters counters_;
};

}  // namespace orbista

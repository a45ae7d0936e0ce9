#pragma once

#include <chrono>
#include <cstdint>

#include "engine/corrected_series.h"
#include "model/autosave_sink.h"
#include "model/check_file.h"
#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/random.h"
#include "model/settings_model.h"

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
// the window only through MainWindowView. The systems' check files go to `checkFiles`, the
// finished games to `autosaves`. Everything runs on the window's thread.
//
// The Engine owns none of its collaborators: `state`, `settings`, `view`, `random`, `checkFiles`
// and `autosaves` must all outlive it.
class Engine {
  public:
    Engine(GameState& state, SettingsModel& settings, MainWindowView& view, RandomGenerator& random,
           CheckFileSink& checkFiles, AutosaveSink& autosaves);

    // The pause after the win message is closed (100 ms in the window).
    void SetPauseAfterWinMessage(std::chrono::milliseconds pause);

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
    // Hands the finished game's spins to the autosave when it has two or more; throws FileError.
    void AutosaveSpins();

    GameState& State() { return state_; }
    const EngineCounters& Counters() const { return counters_; }

  private:
    // The numeric settings that every cycle reads, whatever is switched on, as its check found
    // them: nothing the cycle runs can change a setting, so each is read once a cycle.
    struct CycleSettings {
        int32_t maxStake = 0;
        int32_t maxLoss = 0;
        int32_t progressionSteepness = 0;
        int32_t normalisationCoefficient = 0;
        int32_t minCoveredCount = 0;
        int32_t maxProcessedCount = 0;
        int32_t winBonusPerTenSpins = 0;
    };

    // The cycle itself; a PlayerError stops it where it is raised.
    void RunCycle(bool cancel);
    // Before the cycle changes anything: every field it may read holds an integer, or a
    // ConversionError is thrown.
    CycleSettings CheckCycleFields() const;
    CycleSettings CheckSettingsOfCycle() const;
    void EnterSpinIntoHistory();
    void TakeBackNewestSpin();
    // Money before the new recommendation; returns the game balance the cycle goes on with.
    int64_t SettleSpin(bool cancel);
    void CountSettledBets(int64_t placed);
    void SettleNumber();
    void PayWin(int64_t& gameBalance);
    void RefreshWorkingSeries();
    void TakeSettingsCopies(const CycleSettings& cycle);
    void RecommendNextSpin();
    // Money after the new recommendation: the win pause, counting, displays and the loss stop.
    void AccountForRecommendation(int64_t gameBalance, const CycleSettings& cycle);
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
    CheckFileSink& checkFiles_;
    AutosaveSink& autosaves_;
    std::chrono::milliseconds pauseAfterWinMessage_{100};
    EngineCounters counters_;
    SeriesCorrector corrector_;
};

}  // namespace orbista

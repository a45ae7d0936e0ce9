#include "engine/engine.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <thread>

#include "engine/corrected_series.h"
#include "model/errors.h"
#include "model/settings_table.h"
#include "systems/selection.h"

namespace orbista {

namespace {

constexpr std::string_view WinMessageText = "Вы выиграли ;) !!!!";
constexpr std::string_view LossMessageText = "Вы проиграли (-:";

constexpr int WorkingSeriesRefreshed = 100;
// A new game clears no more than the sector window can look back on; the rest of a longer game
// lies beyond the end marker that every new spin moves up.
constexpr int32_t SpinsClearedByNewGame = 1000;

// A numeric setting held to its stepper's bounds, as SettingsModel::ClampedNumber gives it.
int32_t ClampedToSetting(Setting setting, int32_t value) {
    const SettingInfo& info = InfoOf(setting);
    return std::clamp(value, info.minimum, info.maximum);
}

// Amounts are worked out wide; a field or a history entry holds them as far as 32 bits reach, so
// a huge typed balance cannot wrap around into a loss.
int32_t Saturated(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

bool IsRouletteNumber(int32_t number) {
    return number >= 0 && number < NumberCount;
}

// The numbers 0..36 that carry a bet and the units bet on them; the spare entries and anything
// not above 0 are no bet.
struct TableBets {
    int32_t numbers = 0;
    int64_t units = 0;
};

// Which numbers carry a bet changes at random from spin to spin, so the count takes no branch
// per number: a mispredicted branch costs more than the additions.
TableBets BetsOnTheTable(const StakeArray& stakes) {
    TableBets bets;
    for (int n = 0; n < NumberCount; ++n) {
        const int32_t stake = std::max(stakes[n], 0);
        bets.numbers += static_cast<int32_t>(stake > 0);
        bets.units += stake;
    }
    return bets;
}

// Raises a flag of the game state for one scope and lowers it however the scope ends, an
// exception included: the playback worker waits while SpinInProgress is up, and a cancel request
// must not outlive its cycle.
template <typename Flag>
class RaisedFlag {
  public:
    explicit RaisedFlag(Flag& flag) : flag_(flag) { flag_ = 1; }
    ~RaisedFlag() { flag_ = 0; }
    RaisedFlag(const RaisedFlag&) = delete;
    RaisedFlag& operator=(const RaisedFlag&) = delete;

  private:
    Flag& flag_;
};

}  // namespace

Engine::Engine(GameState& state, SettingsModel& settings, MainWindowView& view,
               RandomGenerator& random, CheckFileSink& checkFiles, AutosaveSink& autosaves)
    : state_(state),
      settings_(settings),
      view_(view),
      random_(random),
      checkFiles_(checkFiles),
      autosaves_(autosaves) {}

void Engine::SetPauseAfterWinMessage(std::chrono::milliseconds pause) {
    pauseAfterWinMessage_ = pause;
}

void Engine::StartUp() {
    state_.WinBonus = 0.0;
    view_.ShowSpinCount(0);
    state_.Deficit = 0;
    state_.SelectedCount = 0;
    random_.Randomize();
    view_.ClearRecommendedNumbers();
    state_.SpinCount = 0;
    view_.ClearSpinColumn();
    view_.ShowStakeLevel("");
    view_.ShowGameBalance(0);
    view_.ShowTotalBalance(0);
    view_.ShowTableStake(0);
    view_.ShowGameBalanceMin(0);
    view_.ShowGameBalanceMax(0);
    state_.UndoRequested = 0;
}

void Engine::EnterNumber(int32_t number) {
    state_.CurrentNumber = number;
    ProcessSpin();
}

void Engine::CancelSpin() {
    RaisedFlag undo(state_.UndoRequested);
    ProcessSpin();
}

void Engine::ProcessSpin() {
    RaisedFlag inProgress(state_.SpinInProgress);
    try {
        RunCycle(state_.UndoRequested != 0);
    } catch (const PlayerError& error) {
        view_.ReportError(error.what());
    }
}

void Engine::RunCycle(bool cancel) {
    if (!cancel && !IsRouletteNumber(state_.CurrentNumber)) {
        throw PlayerError("Число " + std::to_string(state_.CurrentNumber) +
                          " не является номером рулетки (0–36).");
    }
    const CycleSettings cycleSettings = CheckCycleFields();
    // The fields were checked above; what could still fail here is a field read that the check
    // does not know of. The player is told, and the cycle stops where it failed.
    if (cancel) {
        TakeBackNewestSpin();
    } else {
        EnterSpinIntoHistory();
    }
    view_.ShowSpinColumn(state_);
    const int64_t gameBalance = SettleSpin(cancel);
    ClearRecommendation();
    RefreshWorkingSeries();
    TakeSettingsCopies(cycleSettings);
    RecommendNextSpin();
    AccountForRecommendation(gameBalance, cycleSettings);
    ShowRecommendation();
}

Engine::CycleSettings Engine::CheckCycleFields() const {
    view_.ReadTotalBalance();
    view_.ReadGameBalance();
    view_.ReadGameBalanceMin();
    view_.ReadGameBalanceMax();
    return CheckSettingsOfCycle();
}

Engine::CycleSettings Engine::CheckSettingsOfCycle() const {
    CycleSettings cycle;
    cycle.maxStake = settings_.Number(Setting::MaxStake);
    cycle.maxLoss = settings_.Number(Setting::MaxLoss);
    cycle.progressionSteepness = settings_.Number(Setting::ProgressionSteepness);
    cycle.normalisationCoefficient = settings_.Number(Setting::NormalisationCoefficient);
    cycle.minCoveredCount = settings_.Number(Setting::MinCoveredCount);
    cycle.maxProcessedCount = settings_.Number(Setting::MaxProcessedCount);
    cycle.winBonusPerTenSpins = settings_.Number(Setting::WinBonusPerTenSpins);
    if (settings_.Flag(Setting::StopOnWin) || settings_.Flag(Setting::WinMessage)) {
        settings_.Number(Setting::WinTarget);
    }
    if (settings_.Flag(Setting::PauseAfterWin)) {
        settings_.Number(Setting::PauseAfterWinSpins);
    }
    if (settings_.Flag(Setting::SkipFirstSpins)) {
        settings_.Number(Setting::SkippedSpinCount);
    }
    if (const SystemInfo* system = InfoOf(settings_.ActiveSystem())) {
        for (const Setting setting : system->reads) {
            settings_.Number(setting);
        }
    }
    return cycle;
}

void Engine::EnterSpinIntoHistory() {
    ++state_.SpinCount;
    ++counters_.spins;
    view_.ShowSpinCount(state_.SpinCount);
    ShiftHistoryUp(state_);
    state_.SpinHistory[1] = state_.CurrentNumber;
    // A zero keeps the six-line the shift brought in.
    if (state_.CurrentNumber > 0) {
        state_.SixLineHistory[1] = SixLineOf(state_.CurrentNumber);
    }
    corrector_.Correct(state_, random_);
}

void Engine::TakeBackNewestSpin() {
    --state_.SpinCount;
    ++counters_.cancels;
    ShiftHistoryDown(state_);
    if (state_.SpinCount < 1) {
        state_.SpinCount = 0;
    }
    view_.ShowSpinCount(state_.SpinCount);
}

int64_t Engine::SettleSpin(bool cancel) {
    const int64_t placed = BetsOnTheTable(state_.Stakes).units;
    // After a cancel index 0 holds the cancelled spin and index 1 the spin before it, so their
    // difference gives back what the cancelled spin did to the game balance.
    const bool restore = cancel && state_.SpinCount > 0;
    const int64_t restored =
        restore ? int64_t{state_.BalanceHistory[1]} - state_.BalanceHistory[0] : 0;

    int64_t total = view_.ReadTotalBalance();
    if (!cancel) {
        total -= placed;
        CountSettledBets(placed);
    } else if (restore) {
        // The stakes of the cancelled recommendation and of the one this cycle makes again come
        // off; a win taken back does not give its payout back to the deficit, and the deficit
        // never falls below 0, or the progression would bet nothing.
        const int64_t deficit =
            int64_t{state_.Deficit} - state_.StakeHistory[0] - state_.StakeHistory[1];
        state_.Deficit = Saturated(std::max<int64_t>(deficit, 0));
        total += restored;
    }
    view_.ShowTotalBalance(Saturated(total));

    int64_t gameBalance = view_.ReadGameBalance();
    gameBalance += cancel ? restored : -placed;
    view_.ShowGameBalance(Saturated(gameBalance));

    if (view_.ReadGameBalanceMin() > gameBalance) {
        view_.ShowGameBalanceMin(Saturated(gameBalance));
    }

    if (state_.SpinsSinceHit < INT32_MAX) {
        ++state_.SpinsSinceHit;
    }

    if (!cancel) {
        SettleNumber();
        if (state_.LastWinStake > 0) {
            PayWin(gameBalance);
        }
    }
    state_.BalanceHistory[1] = Saturated(gameBalance);
    if (view_.ReadGameBalanceMax() < gameBalance) {
        view_.ShowGameBalanceMax(Saturated(gameBalance));
    }
    return gameBalance;
}

void Engine::CountSettledBets(int64_t placed) {
    counters_.unitsStaked += placed;
    if (placed > 0) {
        ++counters_.spinsWithBets;
        counters_.highestStakeLevel = std::max(counters_.highestStakeLevel, state_.StakeLevel);
        counters_.mostUnitsOnTable = std::max(counters_.mostUnitsOnTable, placed);
    }
}

void Engine::SettleNumber() {
    state_.LastWinStake = 0;
    const int32_t number = state_.SpinHistory[1];
    // A hit of the recommendation, even one the win pause took off the table.
    if (state_.PreviousStakes[number] >= 1) {
        state_.SpinsSinceHit = 0;
    }
    const int32_t stake = state_.Stakes[number];
    if (stake >= 1) {
        const int64_t deficit = int64_t{state_.Deficit} - 36 * int64_t{stake};
        if (deficit < 0) {
            state_.Deficit = 0;
            state_.WinBonus = 0.0;
        } else {
            state_.Deficit = Saturated(deficit);
        }
        state_.LastWinStake = stake;
    }
}

void Engine::PayWin(int64_t& gameBalance) {
    const int64_t payout = 36 * int64_t{state_.LastWinStake};
    counters_.unitsWon += payout;
    view_.ShowTotalBalance(Saturated(view_.ReadTotalBalance() + payout));
    gameBalance = view_.ReadGameBalance() + payout;
    view_.ShowGameBalance(Saturated(gameBalance));

    if (settings_.Flag(Setting::StopOnWin) && gameBalance >= settings_.Number(Setting::WinTarget)) {
        ++counters_.winStops;
        RestartGame();
    }
    if (settings_.Flag(Setting::WinMessage) &&
        gameBalance >= settings_.Number(Setting::WinTarget)) {
        view_.ShowMessageBox(WinMessageText);
        if (pauseAfterWinMessage_.count() > 0) {
            std::this_thread::sleep_for(pauseAfterWinMessage_);
        }
        random_.Randomize();
    }
}

void Engine::RefreshWorkingSeries() {
    if (settings_.Flag(Setting::UseCorrectedSeries)) {
        state_.WorkingSeries.CopyEntries(state_.CorrectedNumbers, 1, WorkingSeriesRefreshed);
        state_.SixLineHistory.CopyEntries(state_.CorrectedSixLines, 1, WorkingSeriesRefreshed);
    }
    if (settings_.Flag(Setting::UseDrawnSeries)) {
        state_.WorkingSeries.CopyEntries(state_.SpinHistory, 1, WorkingSeriesRefreshed);
    }
}

void Engine::TakeSettingsCopies(const CycleSettings& cycle) {
    state_.MinCoveredCount = ClampedToSetting(Setting::MinCoveredCount, cycle.minCoveredCount);
    state_.MaxProcessedCount =
        ClampedToSetting(Setting::MaxProcessedCount, cycle.maxProcessedCount);
    state_.ProgressionSteepness =
        ClampedToSetting(Setting::ProgressionSteepness, cycle.progressionSteepness);
    state_.NormalisationCoefficient =
        ClampedToSetting(Setting::NormalisationCoefficient, cycle.normalisationCoefficient);
}

void Engine::RecommendNextSpin() {
    SelectionContext context{state_, settings_, random_, checkFiles_};
    RunSelectionSystem(context);
}

void Engine::AccountForRecommendation(int64_t gameBalance, const CycleSettings& cycle) {
    std::copy_n(state_.Stakes.begin(), NumberCount, state_.PreviousStakes.begin());

    // The recommendation survives in PreviousStakes, so a hit during the pause restarts it.
    if (settings_.Flag(Setting::PauseAfterWin) &&
        settings_.Number(Setting::PauseAfterWinSpins) >= state_.SpinsSinceHit) {
        std::fill_n(state_.Stakes.begin(), NumberCount, 0);
    }

    const auto [count, sum] = BetsOnTheTable(state_.Stakes);
    state_.Deficit = Saturated(int64_t{state_.Deficit} + sum);
    view_.ShowStakeLevel("");
    view_.ShowTableStake("");
    if (count == 0) {
        return;
    }
    // A negative bonus typed into the field would let the progression bet nothing at all.
    state_.WinBonus +=
        ClampedToSetting(Setting::WinBonusPerTenSpins, cycle.winBonusPerTenSpins) / 10.0;
    // Halves go to the even level; the table shows level times count, not the sum.
    const double average = static_cast<double>(sum) / count;
    state_.StakeLevel = Saturated(static_cast<int64_t>(std::nearbyint(average)));
    view_.ShowStakeLevel(state_.StakeLevel);
    view_.ShowTableStake(int64_t{state_.StakeLevel} * count);
    state_.StakeHistory[1] = Saturated(sum);

    if (state_.StakeLevel > cycle.maxStake || sum - gameBalance > cycle.maxLoss) {
        StopOnLoss();
    }
}

void Engine::StopOnLoss() {
    ++counters_.lossStops;
    if (!settings_.Flag(Setting::NoLossMessage)) {
        view_.ShowMessageBox(LossMessageText);
    }
    state_.StakeLevel = 1;
    state_.Deficit = 0;
    if (!settings_.Flag(Setting::ResetProgressionOnLoss)) {
        random_.Randomize();
        RestartGame();
        return;
    }
    // Same game, flat again: one unit on every recommended number.
    int32_t count = 0;
    for (int n = 0; n < NumberCount; ++n) {
        if (state_.Stakes[n] > 0) {
            state_.Stakes[n] = 1;
            ++count;
            ++state_.Deficit;
        }
    }
    view_.ShowStakeLevel("1");
    view_.ShowTableStake(state_.StakeLevel * count);
    view_.ShowGameBalance(0);
}

void Engine::ClearRecommendation() {
    state_.Stakes.fill(0);
    view_.ClearRecommendedNumbers();
}

void Engine::ShowRecommendation() {
    view_.ShowRecommendedNumbers(state_.Stakes);
}

void Engine::NewGame() {
    ++counters_.newGames;
    EndGame(SpinsClearedByNewGame);
    view_.ShowGameBalance(0);
    view_.ShowTotalBalance(0);
    view_.ShowTableStake(0);
    view_.ShowGameBalanceMin(0);
    view_.ShowGameBalanceMax(0);
    state_.SelectionDepth = 0;
    view_.ShowSpinCount(0);
}

void Engine::RestartGame() {
    EndGame(HistoryShiftLimit);
    view_.ShowGameBalance(0);
    state_.SelectionDepth = 0;
}

void Engine::EndGame(int32_t clearedSpins) {
    state_.WinBonus = 0.0;
    AutosaveReportingFailure();
    const auto last =
        static_cast<int32_t>(std::clamp<int64_t>(state_.SpinCount, 0, clearedSpins) + 1);
    state_.SpinHistory.ClearEntries(0, last);
    state_.CorrectedNumbers.ClearEntries(0, last);
    state_.SpinCount = 0;
    view_.ClearSpinColumn();
    view_.ShowStakeLevel("");
    state_.UndoRequested = 0;
    ClearRecommendation();
    state_.Deficit = 0;
    state_.SelectedCount = 0;
}

void Engine::AutosaveSpins() {
    if (state_.SpinCount <= 1) {
        return;
    }
    autosaves_.SaveFinishedGame(state_);
}

// The game goes on to its new start even when its spins could not be saved.
void Engine::AutosaveReportingFailure() {
    try {
        AutosaveSpins();
    } catch (const FileError& error) {
        view_.ReportError(error.what());
    }
}

}  // namespace orbista

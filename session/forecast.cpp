#include "session/forecast.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <limits>

#include "model/errors.h"
#include "session/comparison.h"

namespace orbista {

namespace {

std::array<const History*, 7> Histories(const GameState& state) {
    return {&state.SpinHistory,       &state.CorrectedNumbers, &state.SixLineHistory,
            &state.CorrectedSixLines, &state.BalanceHistory,   &state.StakeHistory,
            &state.WorkingSeries};
}

std::array<History*, 7> Histories(GameState& state) {
    return {&state.SpinHistory,       &state.CorrectedNumbers, &state.SixLineHistory,
            &state.CorrectedSixLines, &state.BalanceHistory,   &state.StakeHistory,
            &state.WorkingSeries};
}

// The generator of continuation `index`: streams far apart for neighbouring indices, the same
// for the same seed and index whatever else runs.
uint64_t StreamSeed(uint64_t seed, uint64_t index) {
    uint64_t z = seed + 0x9E3779B97F4A7C15ULL * (index + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr uint64_t LadderStream = std::numeric_limits<uint64_t>::max();

constexpr double Confidence = 0.95;

// How often one ending came, with the Wilson interval of that share.
Share ShareOf(int64_t count, int64_t total) {
    return ShareWithInterval(count, total, Confidence);
}

// A running mean and spread (Welford's), so that long runs of large amounts lose no precision.
class RunningMean {
  public:
    void Add(double x) {
        ++count_;
        const double delta = x - mean_;
        mean_ += delta / static_cast<double>(count_);
        squares_ += delta * (x - mean_);
    }

    Mean Summary() const {
        Mean mean;
        mean.value = mean_;
        if (count_ < 2) {
            const double infinity = std::numeric_limits<double>::infinity();
            mean.interval = {-infinity, infinity};
            return mean;
        }
        const double n = static_cast<double>(count_);
        const boost::math::students_t student(n - 1);
        const double t = boost::math::quantile(student, 0.5 + Confidence / 2);
        const double half = t * std::sqrt(squares_ / (n - 1) / n);
        mean.interval = {mean_ - half, mean_ + half};
        return mean;
    }

  private:
    int64_t count_ = 0;
    double mean_ = 0;
    double squares_ = 0;
};

enum class Ending { WinStop, LossStop, Open };

struct Continuation {
    Ending ending = Ending::Open;
    int64_t spins = 0;
    int64_t totalChange = 0;
    int64_t unitsStaked = 0;
};

// The game the continuations are played on, one after the other: before each it is made the
// pictured game again. Making a game of its own for every continuation would cost more than
// playing it.
class ContinuationGame {
  public:
    explicit ContinuationGame(const GamePicture& picture) : picture_(picture), run_(0) {}

    void Restart(uint64_t seed) {
        PlacePicture(picture_, run_);
        run_.random.Seed(seed);
        startCounters_ = run_.engine.Counters();
    }

    // One spin of `number`; PlayerError when the cycle reported one.
    void Spin(int32_t number) {
        run_.engine.EnterNumber(number);
        if (run_.view.messages.empty()) {
            return;
        }
        for (const std::string& message : run_.view.messages) {
            if (message.starts_with(HeadlessView::ErrorPrefix)) {
                throw PlayerError(message.substr(HeadlessView::ErrorPrefix.size()));
            }
        }
        run_.view.ClearMessages();
    }

    int32_t RandomNumber() { return run_.random.Random(NumberCount); }
    int32_t Random(int32_t n) { return run_.random.Random(n); }

    bool WinStopped() const { return run_.engine.Counters().winStops > startCounters_.winStops; }
    bool LossStopped() const { return run_.engine.Counters().lossStops > startCounters_.lossStops; }
    int64_t UnitsStaked() const {
        return run_.engine.Counters().unitsStaked - startCounters_.unitsStaked;
    }
    int64_t TotalChange() { return int64_t{run_.view.ReadTotalBalance()} - picture_.totalBalance; }
    int32_t GameBalance() { return run_.view.ReadGameBalance(); }
    const GameState& State() const { return *run_.state; }

  private:
    const GamePicture& picture_;
    HeadlessRun run_;
    EngineCounters startCounters_;
};

Continuation PlayContinuation(ContinuationGame& game, int32_t horizon) {
    Continuation continuation;
    while (continuation.spins < horizon) {
        game.Spin(game.RandomNumber());
        ++continuation.spins;
        if (game.WinStopped()) {
            continuation.ending = Ending::WinStop;
            break;
        }
        if (game.LossStopped()) {
            continuation.ending = Ending::LossStop;
            break;
        }
    }
    continuation.totalChange = game.TotalChange();
    continuation.unitsStaked = game.UnitsStaked();
    return continuation;
}

// A number the recommendation does not cover, nor the one a win pause keeps aside (that one would
// count as a hit and start the pause again); none when every number is covered.
std::optional<int32_t> MissingNumber(ContinuationGame& game) {
    const GameState& state = game.State();
    std::vector<int32_t> misses;
    for (const bool avoidPaused : {true, false}) {
        for (int32_t n = 0; n < NumberCount; ++n) {
            if (state.Stakes[n] <= 0 && (!avoidPaused || state.PreviousStakes[n] <= 0)) {
                misses.push_back(n);
            }
        }
        if (!misses.empty()) {
            return misses[game.Random(static_cast<int32_t>(misses.size()))];
        }
    }
    return std::nullopt;
}

// Misses one after the other from the pictured game, the numbers drawn among those not bet on.
LadderEnd ClimbLadder(ContinuationGame& game, uint64_t seed, int32_t rows,
                      std::vector<LadderStep>& ladder) {
    game.Restart(StreamSeed(seed, LadderStream));
    int64_t lost = 0;
    while (static_cast<int32_t>(ladder.size()) < rows) {
        const GameState& state = game.State();
        LadderStep step;
        for (int n = 0; n < NumberCount; ++n) {
            if (state.Stakes[n] > 0) {
                ++step.numbers;
                step.onTable += state.Stakes[n];
            }
        }
        step.stakePerNumber = step.numbers > 0 ? state.StakeLevel : 0;
        lost += step.onTable;
        step.lost = lost;
        step.gameBalance = int64_t{game.GameBalance()} - step.onTable;
        ladder.push_back(step);

        const std::optional<int32_t> miss = MissingNumber(game);
        if (!miss) {
            return LadderEnd::EveryNumberBet;
        }
        try {
            game.Spin(*miss);
        } catch (const PlayerError&) {
            return LadderEnd::Error;
        }
        if (game.LossStopped()) {
            return LadderEnd::LossStop;
        }
    }
    return LadderEnd::RowLimit;
}

// What the continuations played so far come to.
class Tally {
  public:
    void Add(const Continuation& continuation) {
        ++count_;
        switch (continuation.ending) {
            case Ending::WinStop:
                ++winStops_;
                break;
            case Ending::LossStop:
                ++lossStops_;
                break;
            case Ending::Open:
                break;
        }
        if (continuation.ending != Ending::Open) {
            endedAfter_.push_back(continuation.spins);
        }
        change_.Add(static_cast<double>(continuation.totalChange));
        staked_.Add(static_cast<double>(continuation.unitsStaked));
    }

    int64_t Count() const { return count_; }

    void Summarise(Forecast& forecast) {
        forecast.continuations = count_;
        forecast.winStop = ShareOf(winStops_, count_);
        forecast.lossStop = ShareOf(lossStops_, count_);
        forecast.open = ShareOf(count_ - winStops_ - lossStops_, count_);
        forecast.totalChange = change_.Summary();
        forecast.unitsStaked = staked_.Summary();
        forecast.medianSpinsToEnd = MedianSpinsToEnd();
    }

  private:
    // The lower median over every continuation, an open one counting as longer than any that
    // ended.
    std::optional<int64_t> MedianSpinsToEnd() {
        const auto rank = static_cast<size_t>((count_ + 1) / 2);
        if (count_ == 0 || endedAfter_.size() < rank) {
            return std::nullopt;
        }
        const auto middle = endedAfter_.begin() + static_cast<std::ptrdiff_t>(rank - 1);
        std::nth_element(endedAfter_.begin(), middle, endedAfter_.end());
        return *middle;
    }

    int64_t count_ = 0;
    int64_t winStops_ = 0;
    int64_t lossStops_ = 0;
    std::vector<int64_t> endedAfter_;
    RunningMean change_;
    RunningMean staked_;
};

}  // namespace

GamePicture TakePicture(const GameState& state, const SettingsModel& settings,
                        MainWindowView& view) {
    GamePicture picture;
    TakePicture(state, settings, view, picture);
    return picture;
}

void TakePicture(const GameState& state, const SettingsModel& settings, MainWindowView& view,
                 GamePicture& picture) {
    picture.totalBalance = view.ReadTotalBalance();
    picture.gameBalance = view.ReadGameBalance();
    picture.gameBalanceMin = view.ReadGameBalanceMin();
    picture.gameBalanceMax = view.ReadGameBalanceMax();
    CopyGame(state, *picture.state);
    for (const SettingInfo& info : SettingsTable()) {
        if (info.kind == SettingKind::Number) {
            picture.settings.SetText(info.setting, settings.Text(info.setting));
        } else {
            picture.settings.SetFlag(info.setting, settings.Flag(info.setting));
        }
    }
    picture.settings.SetActiveSystem(settings.ActiveSystem());
}

void CopyGame(const GameState& from, GameState& to) {
    const auto sources = Histories(from);
    const auto targets = Histories(to);
    for (size_t i = 0; i < sources.size(); ++i) {
        targets[i]->ClearEntries(0, targets[i]->WrittenEnd());
        targets[i]->CopyEntries(*sources[i], 0, sources[i]->WrittenEnd());
    }
    to.Stakes = from.Stakes;
    to.PreviousStakes = from.PreviousStakes;
    to.SpinCount = from.SpinCount;
    to.CurrentNumber = from.CurrentNumber;
    to.UndoRequested = from.UndoRequested;
    to.SpinInProgress = from.SpinInProgress.load();
    to.StakeLevel = from.StakeLevel;
    to.Deficit = from.Deficit;
    to.WinBonus = from.WinBonus;
    to.SpinsSinceHit = from.SpinsSinceHit;
    to.LastWinStake = from.LastWinStake;
    to.SelectionDepth = from.SelectionDepth;
    to.SelectedCount = from.SelectedCount;
    to.MinCoveredCount = from.MinCoveredCount;
    to.MaxProcessedCount = from.MaxProcessedCount;
    to.ProgressionSteepness = from.ProgressionSteepness;
    to.NormalisationCoefficient = from.NormalisationCoefficient;
    to.WaitingSpins = from.WaitingSpins;
    to.GizmoMark = from.GizmoMark;
    to.GizmoPreviousMark = from.GizmoPreviousMark;
}

void PlacePicture(const GamePicture& picture, HeadlessRun& run) {
    CopyGame(*picture.state, *run.state);
    run.settings = picture.settings;
    run.view.ShowTotalBalance(picture.totalBalance);
    run.view.ShowGameBalance(picture.gameBalance);
    run.view.ShowGameBalanceMin(picture.gameBalanceMin);
    run.view.ShowGameBalanceMax(picture.gameBalanceMax);
    run.view.ClearMessages();
}

bool HasForecast(SelectionSystem system) {
    const std::vector<SelectionSystem> betting = BettingSystems();
    return std::find(betting.begin(), betting.end(), system) != betting.end();
}

Forecast RunForecast(const GamePicture& picture, const ForecastOptions& options,
                     std::stop_token stop, const ForecastProgress& progress) {
    Forecast forecast;
    forecast.planned = options.continuations;
    forecast.horizon = options.horizon;
    ContinuationGame game(picture);
    forecast.ladderEnd = ClimbLadder(game, options.seed, options.ladderRows, forecast.ladder);

    Tally tally;
    for (int64_t i = 0; i < options.continuations && !stop.stop_requested(); ++i) {
        game.Restart(StreamSeed(options.seed, static_cast<uint64_t>(i)));
        tally.Add(PlayContinuation(game, options.horizon));
        const bool last = tally.Count() == options.continuations;
        if (progress && !last && tally.Count() % std::max<int64_t>(options.reportEvery, 1) == 0) {
            tally.Summarise(forecast);
            progress(forecast);
        }
    }
    tally.Summarise(forecast);
    return forecast;
}

}  // namespace orbista

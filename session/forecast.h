#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/settings_model.h"
#include "session/headless_run.h"
#include "session/intervals.h"

namespace orbista {

// The game in progress as a forecast plays on from it: what the game has written since it began
// (the written part of each per-spin array, never the empty rest), the progression's counters,
// the four balances and a copy of the settings. Taken on the thread that plays the game, between
// two spins, and then read by the forecast on a thread of its own; the game is never touched
// again.
//
// Replaying the spins through the cycle would not rebuild this game: the corrected series draws
// random values at every spin, a cancel leaves its traces in the progression, and the balances
// and the settings may have been typed since. So the spins are entered together with everything
// the cycle made of them.
struct GamePicture {
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    MemorySettings settings;
    int32_t totalBalance = 0;
    int32_t gameBalance = 0;
    int32_t gameBalanceMin = 0;
    int32_t gameBalanceMax = 0;
};

// The picture of a game, taken into `picture`, whose own game is replaced: a picture used again
// costs a copy of what the game has written and no new memory. ConversionError when a balance
// field holds no integer.
void TakePicture(const GameState& state, const SettingsModel& settings, MainWindowView& view,
                 GamePicture& picture);
GamePicture TakePicture(const GameState& state, const SettingsModel& settings,
                        MainWindowView& view);

// Makes `to` the game `from` is: entries, counters and recommendation. What `to` held before is
// gone, so a game that played one continuation is fresh again for the next.
void CopyGame(const GameState& from, GameState& to);

// Makes `run` the pictured game: its state, settings and balances; its generator is left alone.
void PlacePicture(const GamePicture& picture, HeadlessRun& run);

// Systems that bet nothing (statistics only, the player's own system, none chosen) have nothing
// to forecast.
bool HasForecast(SelectionSystem system);

struct ForecastOptions {
    int64_t continuations = 2000;
    int32_t horizon = 5000;  // spins after which a continuation still open is counted as open
    uint64_t seed = 1;
    // A partial forecast is reported after every this many continuations.
    int64_t reportEvery = 100;
    // The ladder stops after this many rows even when no stop has ended it.
    int32_t ladderRows = 1000;
};

// A mean over the continuations with the Student interval of the mean.
struct Mean {
    double value = 0;
    Interval interval;
};

// One row of the ladder: the bets that stand on the k-th further spin after k - 1 misses, and
// where the game stands when that spin misses too.
struct LadderStep {
    int32_t stakePerNumber = 0;  // as "Ставка" shows it; 0 when nothing is bet
    int32_t numbers = 0;         // numbers covered
    int64_t onTable = 0;         // units bet on this spin
    int64_t lost = 0;            // units lost by the k missed spins together
    int64_t gameBalance = 0;     // the game's balance after the k-th miss
};

// Why the ladder has no further row.
enum class LadderEnd {
    LossStop,        // the next recommendation would pass the maximum stake or the loss limit
    EveryNumberBet,  // no number can miss
    RowLimit,        // still going after ForecastOptions::ladderRows rows
    Error,           // the cycle could not run (a field holds no integer)
};

struct Forecast {
    int64_t continuations = 0;  // played so far
    int64_t planned = 0;
    int32_t horizon = 0;
    Share winStop;
    Share lossStop;
    Share open;  // neither stop within the horizon
    // The change of the total balance from now to the end of the continuation.
    Mean totalChange;
    // The units staked from now to the end of the continuation: on a fair wheel the change above
    // comes to -1/37 of it.
    Mean unitsStaked;
    // The fewest spins within which half the continuations ended; none when fewer than half ended
    // within the horizon.
    std::optional<int64_t> medianSpinsToEnd;
    std::vector<LadderStep> ladder;
    LadderEnd ladderEnd = LadderEnd::RowLimit;

    bool Complete() const { return continuations == planned; }
};

// Told of each partial forecast, on the forecast's thread.
using ForecastProgress = std::function<void(const Forecast& partial)>;

// Plays options.continuations continuations of the pictured game, each with random spins of a
// generator of its own seeded from (seed, its index), through the engine with the pictured
// settings, until the game's win stop or loss stop or the horizon; so the same picture and seed
// give the same forecast. A loss stop that only resets the progression ends a continuation too:
// it is where the progression lost. The ladder comes first, then the continuations.
//
// A stop request ends the forecast after the continuation in play: the result holds the
// continuations played. A PlayerError when the cycle cannot run on the picture (a setting that
// holds no integer): the message the player would see at the next spin. Expects HasForecast of
// the pictured system.
Forecast RunForecast(const GamePicture& picture, const ForecastOptions& options,
                     std::stop_token stop = {}, const ForecastProgress& progress = {});

}  // namespace orbista

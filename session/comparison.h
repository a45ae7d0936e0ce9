#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/settings_model.h"
#include "model/settings_table.h"
#include "session/balance_summary.h"
#include "storage/settings_file.h"

namespace orbista {

class ZeroedBlocks;

// The total balance of a run is kept at no more than this many evenly spaced spins, so that a
// comparison's memory grows with its runs and never with their length.
inline constexpr int32_t BalanceSamplesPerRun = 1000;
// Beyond these a comparison is a typing mistake rather than a question.
inline constexpr int64_t MostComparisonRuns = 100'000;
inline constexpr int64_t MostComparisonSpinsPerRun = 10'000'000;
// What a comparison may ask of the machine as a whole: the spins of every system together (about
// a day on two cores), and the memory its results take.
inline constexpr int64_t MostComparisonSpins = 100'000'000'000;
inline constexpr int64_t MostComparisonResultBytes = int64_t{2} << 30;
// Without a bankroll given, a player brings ten loss limits: enough to reach the loss limit ten
// games in a row.
inline constexpr int64_t BankrollPerLossLimit = 10;

// The bankroll a player brings with these settings when none is given (0: no bankroll, when the
// loss limit is 0).
int64_t DefaultBankroll(const SettingsModel& settings);

// Which part of the runs one process plays, so that a comparison can be spread over several
// processes or machines: runs index, index + count, index + 2 count, ... (1-based), each with the
// seed it has in the whole comparison.
struct Shard {
    int64_t index = 1;
    int64_t count = 1;

    bool Whole() const { return count == 1; }
};

// What a comparison plays: every listed system over the same runs. Run i of every system sees
// the same spins, drawn from a generator of their own seeded from (seed, i), read from the i-th
// spin file, or cut as the i-th game from the spin files joined.
struct ComparisonPlan {
    std::vector<SelectionSystem> systems;
    // The rows of a settings file, applied as at start-up; none: the defaults. The system is then
    // set per run.
    std::optional<StoredSettings> settings;
    bool sectorsOnTable = false;
    uint64_t seed = 1;
    int64_t runs = 0;  // random spins: `runs` runs of `spinsPerRun`
    int64_t spinsPerRun = 0;
    std::vector<std::filesystem::path> spinFiles;  // or one run per file, in this order
    // Above 0: the spin files are joined in their order and cut into consecutive games of this
    // many spins, and a shorter remainder is dropped.
    int64_t gameLength = 0;
    // What the player brings: a run is ruined at the first spin whose total balance is at or
    // below -bankroll, and stops there. 0: no bankroll, every run plays to its end.
    int64_t bankroll = 0;
    Shard shard;
    int jobs = 1;

    bool PlaysSpinFiles() const { return !spinFiles.empty(); }
};

// The systems that place bets, in the order of the "Методики" tab's dispatch.
std::vector<SelectionSystem> BettingSystems();

// Every ".txt" file of a folder (such as Autosave), sorted by name. FileError when the folder
// cannot be listed.
std::vector<std::filesystem::path> SpinFilesOfFolder(const std::filesystem::path& folder);

// What one run of one system came to. Kept for every run of a comparison, so it is small: a
// comparison of 100,000 runs of 13 systems holds 1.3 million of them.
struct RunFigures {
    int32_t spins = 0;  // played: fewer than planned when the run was ruined
    int32_t finalTotalBalance = 0;
    int32_t lowestTotalBalance = 0;  // 0 when the run never went below its start
    int32_t spinOfRuin = 0;          // the spin at which the bankroll was gone; 0: never
    int32_t winStops = 0;
    int32_t lossStops = 0;
    int32_t spinsWithBets = 0;
    int32_t highestStakeLevel = 0;
    // The largest fall of the total balance from its running peak, the start counting as one.
    int64_t maxDrawdown = 0;
    int64_t unitsStaked = 0;
    int64_t unitsWon = 0;
    int64_t mostUnitsOnTable = 0;
    // Sums over the spins of the net result x (the change of the total balance) and the stake b:
    // the standard error of the return per unit staked needs x², b² and x·b besides the totals.
    double netSquares = 0;
    double stakeSquares = 0;
    double netTimesStake = 0;

    bool Ruined() const { return spinOfRuin != 0; }
    int64_t DepthBelowStart() const { return -int64_t{lowestTotalBalance}; }
};

// The first error the engine reported to the player in one run; the run went on, as the window
// goes on after the message box.
struct RunError {
    size_t system = 0;  // in the plan's order
    int64_t game = 0;   // 1-based
    std::string text;
};

struct ComparisonResult {
    // The spin (1-based) after which the bands are sampled, ascending.
    std::vector<int64_t> samplePoints;
    // The games (1-based) played, ascending: every game, or those of the plan's shard. After a
    // stop, only the games every system finished.
    std::vector<int64_t> games;
    // runs[s][i]: game games[i] of plan.systems[s].
    std::vector<std::vector<RunFigures>> runs;
    // bands[s]: the total balance of plan.systems[s]'s runs at every sample point.
    std::vector<BalanceBands> bands;
    std::vector<RunError> errors;  // by system, then game
    bool stopped = false;
};
// Shared between a running comparison and whoever watches it; the counters may be read from any
// thread.
class ComparisonProgress {
  public:
    int64_t SpinsDone() const { return spinsDone_.load(std::memory_order_relaxed); }
    // Runs of single systems finished.
    int64_t RunsDone() const { return runsDone_.load(std::memory_order_relaxed); }
    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
    bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
    void AddSpins(int64_t spins) { spinsDone_.fetch_add(spins, std::memory_order_relaxed); }
    void AddRun() { runsDone_.fetch_add(1, std::memory_order_relaxed); }

  private:
    std::atomic<int64_t> spinsDone_{0};
    std::atomic<int64_t> runsDone_{0};
    std::atomic<bool> stop_{false};
};

// How spin files joined were cut into games.
struct GameCut {
    int64_t spins = 0;  // in the files
    int64_t games = 0;
    int64_t dropped = 0;  // the remainder shorter than a game
};

// A comparison checked and ready: its spin files were read once, so a damaged, missing or empty
// one is reported (FileError) before anything runs, and so are files too short for one game of
// the length asked for, or cut into more games than a comparison plays (PlayerError).
class Comparison {
  public:
    explicit Comparison(ComparisonPlan plan);

    const ComparisonPlan& Plan() const { return plan_; }
    // With a game length: what the files came to.
    const GameCut& Cut() const { return cut_; }
    // The games of the whole comparison, and those this plan's shard plays (1-based, ascending).
    int64_t GameCount() const;
    std::vector<int64_t> GamesToPlay() const;
    // Runs of single systems that this plan plays: what the progress counts up to.
    int64_t TotalRuns() const;
    // Spins of every system together, as planned (a ruined run is counted whole).
    int64_t TotalSpins() const;
    // The memory the results take: a record per run, and the bands, which do not grow with them.
    int64_t ResultBytes() const;
    // The spin files longer than LoadedSpinCapacity, of which only the first spins are played.
    const std::vector<std::filesystem::path>& CutSpinFiles() const { return cutSpinFiles_; }

    // Plays every (system, run) on `plan.jobs` worker threads and returns when all are done or a
    // stop was requested. The result is the same whatever the number of jobs. Throws what a run
    // threw (FileError for a spin file that could not be read again).
    ComparisonResult Run(ComparisonProgress& progress) const;

  private:
    // Game `game` (1-based) of `system`; its balance at every sample point goes to `samples`.
    // Its game's arrays come from blocks, which the runs of one thread share one after another.
    RunFigures PlayRun(SelectionSystem system, int64_t game, const std::vector<int64_t>& points,
                       std::vector<int32_t>& samples, RunError& error, ComparisonProgress& progress,
                       ZeroedBlocks& blocks) const;
    int64_t SpinsOfGame(int64_t game) const;

    bool CutsGames() const { return plan_.PlaysSpinFiles() && plan_.gameLength > 0; }
    int64_t LongestRun() const;

    ComparisonPlan plan_;
    std::vector<int64_t> fileSpinCounts_;
    std::vector<std::filesystem::path> cutSpinFiles_;
    // With a game length: the files joined, held once for every run.
    std::vector<uint8_t> joinedSpins_;
    GameCut cut_;
};

}  // namespace orbista

#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/settings_table.h"
#include "storage/settings_file.h"

namespace orbista {

// The total balance of a run is kept at no more than this many evenly spaced spins, so that a
// comparison's memory grows with its runs and never with their length.
inline constexpr int32_t BalanceSamplesPerRun = 1000;
// Beyond these a comparison is a typing mistake rather than a question.
inline constexpr int64_t MostComparisonRuns = 100'000;
inline constexpr int64_t MostComparisonSpinsPerRun = 10'000'000;

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
    int jobs = 1;

    bool PlaysSpinFiles() const { return !spinFiles.empty(); }
};

// The systems that place bets, in the order of the "Методики" tab's dispatch.
std::vector<SelectionSystem> BettingSystems();

// Every ".txt" file of a folder (such as Autosave), sorted by name. FileError when the folder
// cannot be listed.
std::vector<std::filesystem::path> SpinFilesOfFolder(const std::filesystem::path& folder);

// What one run of one system came to.
struct RunFigures {
    int64_t spins = 0;
    int64_t finalTotalBalance = 0;
    int64_t lowestTotalBalance = 0;  // 0 when the run never went below its start
    int64_t winStops = 0;
    int64_t lossStops = 0;
    int64_t spinsWithBets = 0;
    int64_t unitsStaked = 0;
    int64_t unitsWon = 0;
    int32_t highestStakeLevel = 0;
    int64_t mostUnitsOnTable = 0;
    // Sums over the spins of the net result x (the change of the total balance) and the stake b:
    // the standard error of the return per unit staked needs x², b² and x·b besides the totals.
    double netSquares = 0;
    double stakeSquares = 0;
    double netTimesStake = 0;
    // The total balance after each spin of ComparisonResult::samplePoints; a run that ended
    // earlier holds its final balance.
    std::vector<int32_t> balanceSamples;
    // The first error the engine reported to the player, if any; the run went on, as the window
    // goes on after the message box.
    std::string firstError;
};

struct ComparisonResult {
    // The spin (1-based) after which each sample is taken, ascending.
    std::vector<int64_t> samplePoints;
    // runs[s][i]: run i of plan.systems[s]. After a stop, only the runs every system finished.
    std::vector<std::vector<RunFigures>> runs;
    bool stopped = false;
};

// Shared between a running comparison and whoever watches it; the counters may be read from any
// thread.
class ComparisonProgress {
  public:
    int64_t SpinsDone() const { return spinsDone_.load(std::memory_order_relaxed); }
    void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
    bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
    void AddSpins(int64_t spins) { spinsDone_.fetch_add(spins, std::memory_order_relaxed); }

  private:
    std::atomic<int64_t> spinsDone_{0};
    std::atomic<bool> stop_{false};
};

// How spin files joined were cut into games.
struct GameCut {
    int64_t spins = 0;  // in the files
    int64_t games = 0;
    int64_t dropped = 0;  // the remainder shorter than a game
};

// A comparison checked and ready: its spin files were read once, so a damaged or missing one is
// reported (FileError) before anything runs, and so are files too short for one game of the
// length asked for, or cut into more games than a comparison plays (PlayerError).
class Comparison {
  public:
    explicit Comparison(ComparisonPlan plan);

    const ComparisonPlan& Plan() const { return plan_; }
    // With a game length: what the files came to.
    const GameCut& Cut() const { return cut_; }
    int64_t RunCount() const;
    // Spins of every system together: what the progress counts up to.
    int64_t TotalSpins() const;

    // Plays every (system, run) on `plan.jobs` worker threads and returns when all are done or a
    // stop was requested. The result is the same whatever the number of jobs. Throws what a run
    // threw (FileError for a spin file that could not be read again).
    ComparisonResult Run(ComparisonProgress& progress) const;

  private:
    RunFigures PlayRun(SelectionSystem system, int64_t run, const std::vector<int64_t>& points,
                       ComparisonProgress& progress) const;

    bool CutsGames() const { return plan_.PlaysSpinFiles() && plan_.gameLength > 0; }

    ComparisonPlan plan_;
    std::vector<int64_t> fileSpinCounts_;
    // With a game length: the files joined, held once for every run.
    std::vector<uint8_t> joinedSpins_;
    GameCut cut_;
};

// One row per (system, run), systems in the plan's order: every figure of RunFigures but the
// samples, plain decimal, with a header row.
std::string ComparisonCsv(const ComparisonPlan& plan, const ComparisonResult& result);

// Whether a file could be written there, without writing it: its folder exists and is writable,
// and the path is no folder itself.
bool CanWriteFile(const std::filesystem::path& path);

}  // namespace orbista

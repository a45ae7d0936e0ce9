#include "session/comparison.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/errors.h"
#include "session/balance_path.h"
#include "session/headless_run.h"
#include "storage/permanence.h"
#include "storage/spin_file.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

// The progress is told in batches, so that the workers do not fight over one counter.
constexpr int64_t SpinsPerProgressStep = 1024;

// Each run draws from two generators: the spins, and the engine's own (corrected series, Chaos).
enum class Stream : uint64_t { Engine = 0, Spins = 1 };

uint64_t SplitMix64(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

uint64_t RunSeed(uint64_t seed, int64_t run, Stream stream) {
    return SplitMix64(SplitMix64(seed) ^
                      (static_cast<uint64_t>(run) * 2 + static_cast<uint64_t>(stream)));
}

// The spins after which a run's balance is sampled: up to BalanceSamplesPerRun evenly spaced
// points over the longest run, the last at its last spin.
std::vector<int64_t> SamplePoints(int64_t longestRun) {
    const int64_t count = std::min<int64_t>(longestRun, BalanceSamplesPerRun);
    std::vector<int64_t> points;
    points.reserve(static_cast<size_t>(count));
    for (int64_t j = 1; j <= count; ++j) {
        points.push_back((j * longestRun + count - 1) / count);
    }
    return points;
}

// Where one run takes its spins from.
class SpinSource {
  public:
    SpinSource(uint64_t seed, std::span<const uint8_t> fileSpins)
        : fileSpins_(fileSpins), fromFile_(!fileSpins_.empty()) {
        random_.Seed(seed);
    }

    int32_t Next(int64_t index) {
        return fromFile_ ? fileSpins_[static_cast<size_t>(index)] : random_.Random(NumberCount);
    }

  private:
    std::span<const uint8_t> fileSpins_;
    bool fromFile_;
    RandomGenerator random_{RandomGenerator::Sharing::OneThread};
};

// Gathers RunFigures spin by spin from what the engine counted and what the view shows.
class RunRecorder {
  public:
    RunRecorder(const Engine& engine, HeadlessView& view, const std::vector<int64_t>& points,
                std::vector<int32_t>& samples, RunError& error, int64_t bankroll)
        : engine_(engine),
          view_(view),
          points_(points),
          samples_(samples),
          error_(error),
          path_(bankroll) {
        samples_.clear();
        samples_.reserve(points.size());
    }

    void BeforeSpin() { stakedBefore_ = engine_.Counters().unitsStaked; }

    // False when the spin ruined the run.
    bool AfterSpin(int64_t spin) {
        // The net result is what the player sees the total balance do, so that a fault in the
        // balances shows in the return as much as one in the payout.
        const int32_t total = view_.ReadTotalBalance();
        const double staked = static_cast<double>(engine_.Counters().unitsStaked - stakedBefore_);
        const double net = static_cast<double>(int64_t{total} - totalBefore_);
        totalBefore_ = total;
        figures_.netSquares += net * net;
        figures_.stakeSquares += staked * staked;
        figures_.netTimesStake += net * staked;

        const bool playing = path_.Follow(spin, total);
        while (next_ < points_.size() && points_[next_] == spin) {
            samples_.push_back(total);
            ++next_;
        }
        NoteMessages();
        figures_.spins = static_cast<int32_t>(spin);
        return playing;
    }

    RunFigures Finish() {
        const EngineCounters& counters = engine_.Counters();
        const int32_t total = view_.ReadTotalBalance();
        figures_.finalTotalBalance = total;
        figures_.lowestTotalBalance = static_cast<int32_t>(path_.Lowest());
        figures_.maxDrawdown = path_.MaxDrawdown();
        figures_.spinOfRuin = static_cast<int32_t>(path_.SpinOfRuin());
        // A run that ended earlier, played out or ruined, holds its final balance.
        samples_.resize(points_.size(), total);
        figures_.winStops = static_cast<int32_t>(counters.winStops);
        figures_.lossStops = static_cast<int32_t>(counters.lossStops);
        figures_.spinsWithBets = static_cast<int32_t>(counters.spinsWithBets);
        figures_.unitsStaked = counters.unitsStaked;
        figures_.unitsWon = counters.unitsWon;
        figures_.highestStakeLevel = counters.highestStakeLevel;
        figures_.mostUnitsOnTable = counters.mostUnitsOnTable;
        return figures_;
    }

  private:
    // The win and loss messages are counted by the engine already; they are dropped so that a
    // long run holds none of them. An error is kept, once.
    void NoteMessages() {
        if (error_.text.empty()) {
            for (const std::string& message : view_.messages) {
                if (message.starts_with("error:")) {
                    error_.text = message.substr(6);
                    break;
                }
            }
        }
        view_.ClearMessages();
    }

    const Engine& engine_;
    HeadlessView& view_;
    const std::vector<int64_t>& points_;
    std::vector<int32_t>& samples_;
    RunError& error_;
    BalancePath path_;
    RunFigures figures_;
    size_t next_ = 0;
    int64_t stakedBefore_ = 0;
    int64_t totalBefore_ = 0;
};

// Takes the finished runs in any order and folds a game into the result once every system has
// finished it and every game before it: so the bands hold exactly the games of the table, after a
// stop too, and a run's samples are kept only until its game is complete.
class GameFolder {
  public:
    GameFolder(ComparisonResult& result, size_t systems) : result_(result), systems_(systems) {}

    void Finished(size_t game, size_t system, std::vector<int32_t> samples, RunError error) {
        const std::lock_guard lock(mutex_);
        Waiting& waiting = waiting_[game];
        waiting.samples.resize(systems_);
        waiting.samples[system] = std::move(samples);
        if (!error.text.empty()) {
            error.system = system;
            waiting.errors.push_back(std::move(error));
        }
        ++waiting.finished;
        for (auto next = waiting_.find(complete_);
             next != waiting_.end() && next->second.finished == systems_;
             next = waiting_.find(complete_)) {
            for (size_t s = 0; s < systems_; ++s) {
                result_.bands[s].AddRun(next->second.samples[s]);
            }
            for (RunError& failed : next->second.errors) {
                result_.errors.push_back(std::move(failed));
            }
            waiting_.erase(next);
            ++complete_;
        }
    }

    // The games, from the first, that every system finished.
    size_t Complete() const { return complete_; }

  private:
    struct Waiting {
        std::vector<std::vector<int32_t>> samples;
        std::vector<RunError> errors;
        size_t finished = 0;
    };

    ComparisonResult& result_;
    size_t systems_;
    std::mutex mutex_;
    std::map<size_t, Waiting> waiting_;
    size_t complete_ = 0;
};

// Runs jobs 0..count-1 on `threads` workers, each job once; stops handing out jobs when asked.
// Each worker owns the blocks that the games of its jobs take their arrays from, one game after
// another. Rethrows the first exception a job threw.
template <typename Job>
void RunOnWorkers(int64_t count, int threads, const ComparisonProgress& progress, const Job& job) {
    std::atomic<int64_t> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    const auto work = [&] {
        ZeroedBlocks blocks;
        for (int64_t index = next++; index < count && !progress.StopRequested(); index = next++) {
            try {
                job(index, blocks);
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure) {
                    failure = std::current_exception();
                }
                return;
            }
        }
    };
    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t) {
            workers.emplace_back(work);
        }
        work();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace

std::vector<SelectionSystem> BettingSystems() {
    std::vector<SelectionSystem> systems;
    for (const SystemInfo& info : SystemsTable()) {
        if (info.system != SelectionSystem::StatisticsOnly &&
            info.system != SelectionSystem::Custom) {
            systems.push_back(info.system);
        }
    }
    return systems;
}

std::vector<std::filesystem::path> SpinFilesOfFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        throw FileError::CannotOpen(folder, SystemErrorReason(error.value()));
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : entries) {
        if (entry.path().extension() == ".txt" && !entry.is_directory(error)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

int64_t DefaultBankroll(const SettingsModel& settings) {
    return BankrollPerLossLimit * std::max<int64_t>(settings.Number(Setting::MaxLoss), 0);
}

Comparison::Comparison(ComparisonPlan plan) : plan_(std::move(plan)) {
    if (CutsGames()) {
        joinedSpins_ = ReadPermanences(plan_.spinFiles).spins;
        cut_.spins = static_cast<int64_t>(joinedSpins_.size());
        cut_.games = cut_.spins / plan_.gameLength;
        cut_.dropped = cut_.spins % plan_.gameLength;
        if (cut_.games == 0) {
            throw PlayerError(
                "Спинов в файлах меньше, чем в одной игре: " + std::to_string(cut_.spins) +
                " при длине игры " + std::to_string(plan_.gameLength) + ".");
        }
        if (cut_.games > MostComparisonRuns) {
            throw PlayerError(
                "Файлы дают больше игр, чем играет сравнение: " + std::to_string(cut_.games) +
                " при длине игры " + std::to_string(plan_.gameLength) + " (не больше " +
                std::to_string(MostComparisonRuns) + ").");
        }
        return;
    }
    for (const std::filesystem::path& file : plan_.spinFiles) {
        const Permanence spins = ReadPermanence(file, LoadedSpinCapacity);
        if (spins.spins.empty()) {
            throw FileError::CannotRead(file, "в нём нет ни одного спина");
        }
        fileSpinCounts_.push_back(spins.Count());
        if (spins.truncated) {
            cutSpinFiles_.push_back(file);
        }
    }
}

int64_t Comparison::GameCount() const {
    if (CutsGames()) {
        return cut_.games;
    }
    return plan_.PlaysSpinFiles() ? static_cast<int64_t>(plan_.spinFiles.size()) : plan_.runs;
}

std::vector<int64_t> Comparison::GamesToPlay() const {
    std::vector<int64_t> games;
    const Shard& shard = plan_.shard;
    for (int64_t game = shard.index; game <= GameCount();
         game += std::max<int64_t>(shard.count, 1)) {
        games.push_back(game);
    }
    return games;
}

int64_t Comparison::SpinsOfGame(int64_t game) const {
    if (CutsGames()) {
        return plan_.gameLength;
    }
    return plan_.PlaysSpinFiles() ? fileSpinCounts_[static_cast<size_t>(game - 1)]
                                  : plan_.spinsPerRun;
}

int64_t Comparison::TotalRuns() const {
    return static_cast<int64_t>(GamesToPlay().size() * plan_.systems.size());
}

int64_t Comparison::TotalSpins() const {
    int64_t perSystem = 0;
    for (const int64_t game : GamesToPlay()) {
        perSystem += SpinsOfGame(game);
    }
    return perSystem * static_cast<int64_t>(plan_.systems.size());
}

int64_t Comparison::LongestRun() const {
    if (CutsGames()) {
        return plan_.gameLength;
    }
    return plan_.PlaysSpinFiles()
               ? *std::max_element(fileSpinCounts_.begin(), fileSpinCounts_.end())
               : plan_.spinsPerRun;
}

int64_t Comparison::ResultBytes() const {
    // A band's summary at one point holds a few hundred buckets of four bytes.
    constexpr int64_t BandBytesPerPoint = 4 * 1024;
    const int64_t points = std::min<int64_t>(LongestRun(), BalanceSamplesPerRun);
    const int64_t systems = static_cast<int64_t>(plan_.systems.size());
    return TotalRuns() * static_cast<int64_t>(sizeof(RunFigures)) +
           systems * points * BandBytesPerPoint;
}

ComparisonResult Comparison::Run(ComparisonProgress& progress) const {
    const std::vector<int64_t> games = GamesToPlay();
    const size_t systems = plan_.systems.size();
    const int64_t longest = LongestRun();

    ComparisonResult result;
    result.samplePoints = SamplePoints(longest);
    result.games = games;
    result.runs.assign(systems, std::vector<RunFigures>(games.size()));
    result.bands.assign(systems, BalanceBands(result.samplePoints.size()));
    GameFolder folder(result, systems);
    // Game by game, every system in turn: a stop then leaves about as many runs of each.
    const int64_t jobs = static_cast<int64_t>(games.size() * systems);
    RunOnWorkers(jobs, std::max(plan_.jobs, 1), progress, [&](int64_t job, ZeroedBlocks& blocks) {
        const size_t game = static_cast<size_t>(job) / systems;
        const size_t system = static_cast<size_t>(job) % systems;
        std::vector<int32_t> samples;
        RunError error;
        error.game = games[game];
        const RunFigures figures = PlayRun(plan_.systems[system], games[game], result.samplePoints,
                                           samples, error, progress, blocks);
        if (!progress.StopRequested()) {
            result.runs[system][game] = figures;
            folder.Finished(game, system, std::move(samples), std::move(error));
            progress.AddRun();
        }
    });

    const size_t complete = folder.Complete();
    result.stopped = complete < games.size();
    result.games.resize(complete);
    for (std::vector<RunFigures>& ofSystem : result.runs) {
        ofSystem.resize(complete);
    }
    std::sort(result.errors.begin(), result.errors.end(), [](const RunError& a, const RunError& b) {
        return std::pair(a.system, a.game) < std::pair(b.system, b.game);
    });
    return result;
}

RunFigures Comparison::PlayRun(SelectionSystem system, int64_t game,
                               const std::vector<int64_t>& points, std::vector<int32_t>& samples,
                               RunError& error, ComparisonProgress& progress,
                               ZeroedBlocks& blocks) const {
    // Everything a run touches is its own: nothing is shared with the runs on other threads.
    const int64_t run = game - 1;
    HeadlessRun headless(RunSeed(plan_.seed, run, Stream::Engine), blocks);
    MemorySettings& settings = headless.settings;
    if (plan_.settings) {
        ShowSettings(settings, *plan_.settings);
    }
    settings.SetActiveSystem(system);
    if (plan_.sectorsOnTable) {
        settings.SetFlag(Setting::SectorsOnTable, true);
    }

    Permanence file;
    std::span<const uint8_t> fileSpins;
    if (CutsGames()) {
        fileSpins = std::span(joinedSpins_)
                        .subspan(static_cast<size_t>(run * plan_.gameLength),
                                 static_cast<size_t>(plan_.gameLength));
    } else if (plan_.PlaysSpinFiles()) {
        file = ReadPermanence(plan_.spinFiles[static_cast<size_t>(run)], LoadedSpinCapacity);
        fileSpins = file.spins;
    }
    const int64_t spins =
        plan_.PlaysSpinFiles() ? static_cast<int64_t>(fileSpins.size()) : plan_.spinsPerRun;
    SpinSource source(RunSeed(plan_.seed, run, Stream::Spins), fileSpins);
    RunRecorder recorder(headless.engine, headless.view, points, samples, error, plan_.bankroll);
    int64_t unreported = 0;
    for (int64_t spin = 1; spin <= spins; ++spin) {
        recorder.BeforeSpin();
        headless.engine.EnterNumber(source.Next(spin - 1));
        const bool playing = recorder.AfterSpin(spin);
        ++unreported;
        if (!playing) {
            // The spins a ruined run will not play are done as far as the progress goes.
            unreported += spins - spin;
            break;
        }
        if (unreported >= SpinsPerProgressStep) {
            progress.AddSpins(unreported);
            unreported = 0;
            if (progress.StopRequested()) {
                break;
            }
        }
    }
    progress.AddSpins(unreported);
    return recorder.Finish();
}

}  // namespace orbista

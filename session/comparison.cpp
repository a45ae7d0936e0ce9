#include "session/comparison.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/errors.h"
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
    RunRecorder(const Engine& engine, HeadlessView& view, const std::vector<int64_t>& points)
        : engine_(engine), view_(view), points_(points) {
        figures_.balanceSamples.reserve(points.size());
    }

    void BeforeSpin() { stakedBefore_ = engine_.Counters().unitsStaked; }

    void AfterSpin(int64_t spin) {
        // The net result is what the player sees the total balance do, so that a fault in the
        // balances shows in the return as much as one in the payout.
        const int32_t total = view_.ReadTotalBalance();
        const double staked = static_cast<double>(engine_.Counters().unitsStaked - stakedBefore_);
        const double net = static_cast<double>(int64_t{total} - totalBefore_);
        totalBefore_ = total;
        figures_.netSquares += net * net;
        figures_.stakeSquares += staked * staked;
        figures_.netTimesStake += net * staked;

        figures_.lowestTotalBalance = std::min<int64_t>(figures_.lowestTotalBalance, total);
        while (next_ < points_.size() && points_[next_] == spin) {
            figures_.balanceSamples.push_back(total);
            ++next_;
        }
        NoteMessages();
        figures_.spins = spin;
    }

    RunFigures Finish() {
        const EngineCounters& counters = engine_.Counters();
        const int32_t total = view_.ReadTotalBalance();
        figures_.finalTotalBalance = total;
        figures_.balanceSamples.resize(points_.size(), total);
        figures_.winStops = counters.winStops;
        figures_.lossStops = counters.lossStops;
        figures_.spinsWithBets = counters.spinsWithBets;
        figures_.unitsStaked = counters.unitsStaked;
        figures_.unitsWon = counters.unitsWon;
        figures_.highestStakeLevel = counters.highestStakeLevel;
        figures_.mostUnitsOnTable = counters.mostUnitsOnTable;
        return std::move(figures_);
    }

  private:
    // The win and loss messages are counted by the engine already; they are dropped so that a
    // long run holds none of them. An error is kept, once.
    void NoteMessages() {
        if (figures_.firstError.empty()) {
            for (const std::string& message : view_.messages) {
                if (message.starts_with("error:")) {
                    figures_.firstError = message.substr(6);
                    break;
                }
            }
        }
        view_.ClearMessages();
    }

    const Engine& engine_;
    HeadlessView& view_;
    const std::vector<int64_t>& points_;
    RunFigures figures_;
    size_t next_ = 0;
    int64_t stakedBefore_ = 0;
    int64_t totalBefore_ = 0;
};

// Runs jobs 0..count-1 on `threads` workers, each job once; stops handing out jobs when asked.
// Rethrows the first exception a job threw.
template <typename Job>
void RunOnWorkers(int64_t count, int threads, const ComparisonProgress& progress, const Job& job) {
    std::atomic<int64_t> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    const auto work = [&] {
        for (int64_t index = next++; index < count && !progress.StopRequested(); index = next++) {
            try {
                job(index);
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
        fileSpinCounts_.push_back(ReadPermanence(file, LoadedSpinCapacity).Count());
    }
}

int64_t Comparison::RunCount() const {
    if (CutsGames()) {
        return cut_.games;
    }
    return plan_.PlaysSpinFiles() ? static_cast<int64_t>(plan_.spinFiles.size()) : plan_.runs;
}

int64_t Comparison::TotalSpins() const {
    int64_t perSystem = plan_.runs * plan_.spinsPerRun;
    if (CutsGames()) {
        perSystem = cut_.games * plan_.gameLength;
    } else if (plan_.PlaysSpinFiles()) {
        perSystem = 0;
        for (const int64_t count : fileSpinCounts_) {
            perSystem += count;
        }
    }
    return perSystem * static_cast<int64_t>(plan_.systems.size());
}

ComparisonResult Comparison::Run(ComparisonProgress& progress) const {
    const int64_t runs = RunCount();
    const int64_t systems = static_cast<int64_t>(plan_.systems.size());
    const int64_t longest = CutsGames() ? plan_.gameLength
                            : plan_.PlaysSpinFiles()
                                ? *std::max_element(fileSpinCounts_.begin(), fileSpinCounts_.end())
                                : plan_.spinsPerRun;

    ComparisonResult result;
    result.samplePoints = SamplePoints(longest);
    result.runs.assign(static_cast<size_t>(systems),
                       std::vector<RunFigures>(static_cast<size_t>(runs)));
    // Run by run, every system in turn: a stop then leaves about as many runs of each.
    std::vector<std::atomic<bool>> finished(static_cast<size_t>(runs * systems));
    RunOnWorkers(runs * systems, std::max(plan_.jobs, 1), progress, [&](int64_t job) {
        const int64_t run = job / systems;
        const int64_t system = job % systems;
        RunFigures figures =
            PlayRun(plan_.systems[static_cast<size_t>(system)], run, result.samplePoints, progress);
        if (!progress.StopRequested()) {
            result.runs[static_cast<size_t>(system)][static_cast<size_t>(run)] = std::move(figures);
            finished[static_cast<size_t>(job)] = true;
        }
    });

    int64_t complete = 0;
    while (complete < runs) {
        bool all = true;
        for (int64_t system = 0; system < systems; ++system) {
            all = all && finished[static_cast<size_t>(complete * systems + system)];
        }
        if (!all) {
            break;
        }
        ++complete;
    }
    result.stopped = complete < runs;
    for (std::vector<RunFigures>& ofSystem : result.runs) {
        ofSystem.resize(static_cast<size_t>(complete));
    }
    return result;
}

RunFigures Comparison::PlayRun(SelectionSystem system, int64_t run,
                               const std::vector<int64_t>& points,
                               ComparisonProgress& progress) const {
    // Everything a run touches is its own: nothing is shared with the runs on other threads.
    HeadlessRun headless(RunSeed(plan_.seed, run, Stream::Engine));
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
    RunRecorder recorder(headless.engine, headless.view, points);
    int64_t unreported = 0;
    for (int64_t spin = 1; spin <= spins; ++spin) {
        recorder.BeforeSpin();
        headless.engine.EnterNumber(source.Next(spin - 1));
        recorder.AfterSpin(spin);
        if (++unreported == SpinsPerProgressStep) {
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

std::string ComparisonCsv(const ComparisonPlan& plan, const ComparisonResult& result) {
    std::string csv =
        "system,system_name,run,spins,final_total_balance,lowest_total_balance,win_stops,"
        "loss_stops,spins_with_bets,units_staked,units_won,highest_stake_level,"
        "most_units_on_table\n";
    for (size_t s = 0; s < result.runs.size(); ++s) {
        // The name the window shows, quoted: one holds a comma, none a quote.
        const SystemInfo& info = *InfoOf(plan.systems[s]);
        const std::string name =
            std::string(info.simName) + ",\"" + std::string(info.caption) + '"';
        for (size_t i = 0; i < result.runs[s].size(); ++i) {
            const RunFigures& run = result.runs[s][i];
            csv += name;
            for (const int64_t value :
                 {static_cast<int64_t>(i + 1), run.spins, run.finalTotalBalance,
                  run.lowestTotalBalance, run.winStops, run.lossStops, run.spinsWithBets,
                  run.unitsStaked, run.unitsWon, int64_t{run.highestStakeLevel},
                  run.mostUnitsOnTable}) {
                csv += ',';
                csv += std::to_string(value);
            }
            csv += '\n';
        }
    }
    return csv;
}

bool CanWriteFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return false;
    }
    const std::filesystem::path parent = path.parent_path().empty() ? "." : path.parent_path();
    return std::filesystem::is_directory(parent, error) && access(parent.c_str(), W_OK) == 0;
}

}  // namespace orbista

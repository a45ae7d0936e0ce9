// The comparison of the systems as a player runs it: every system over the same games, on one
// and on two threads; the risk of a bankroll, which needs thousands of games; and the peak memory
// of a comparison of the most games it takes, its CSV written. Prints spins per second per
// thread, the speed-up from one thread to two, the seconds of the bankroll's comparison and the
// peak memory. Also plays games on two threads with the arrays of every game mapped afresh
// beside arrays kept by each thread, as a comparison's workers keep them.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>

#include "session/comparison.h"
#include "session/comparison_csv.h"
#include "session/headless_run.h"
#include "storage/text_file.h"
#include "times_reporter.h"

namespace orbista {
namespace {

ComparisonPlan EverySystem(int64_t runs, int64_t spins, int jobs) {
    ComparisonPlan plan;
    for (const SystemInfo& info : SystemsTable()) {
        plan.systems.push_back(info.system);
    }
    plan.seed = 1;
    plan.runs = runs;
    plan.spinsPerRun = spins;
    plan.jobs = jobs;
    return plan;
}

// CPU seconds of every thread of the process: on a machine shared with other work, spins per
// CPU-second stay put where spins per wall-second do not.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int64_t PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// 13 systems x 100,000 games, the most a comparison takes, and their CSV: what a comparison keeps
// grows with its games by a small record per game, and its bands (the curves over the game) do not
// grow at all, so short games show the memory of long ones. First, so that the peak is its own.
void BM_PeakMemoryOfTheMostGames(benchmark::State& state) {
    ComparisonPlan plan = EverySystem(MostComparisonRuns, 10, 2);
    const Comparison comparison(plan);
    const std::filesystem::path csv = std::filesystem::temp_directory_path() / "orbista-bench.csv";
    for (auto _ : state) {
        ComparisonProgress progress;
        const ComparisonResult result = comparison.Run(progress);
        StreamedFile file(csv);
        WriteComparisonCsv(file, "orbista-sim compare", plan, result);
    }
    std::filesystem::remove(csv);
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_PeakMemoryOfTheMostGames)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// The systems that bet, 10,000 games of 2,000 spins each on two threads, with the bankroll of the
// default settings: 220 million spins, enough for a risk of ruin of 1 % to show.
void BM_BettingSystemsWithABankroll(benchmark::State& state) {
    ComparisonPlan plan;
    plan.systems = BettingSystems();
    plan.seed = 1;
    plan.runs = 10'000;
    plan.spinsPerRun = 2'000;
    plan.bankroll = BankrollPerLossLimit * 500;
    plan.jobs = 2;
    const Comparison comparison(plan);
    const double cpuBefore = ProcessCpuSeconds();
    int64_t played = 0;
    for (auto _ : state) {
        ComparisonProgress progress;
        benchmark::DoNotOptimize(comparison.Run(progress));
        played += progress.SpinsDone();
    }
    state.counters["spins_per_s"] =
        benchmark::Counter(static_cast<double>(played), benchmark::Counter::kIsRate);
    state.counters["spins_per_cpu_s"] =
        static_cast<double>(played) / (ProcessCpuSeconds() - cpuBefore);
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_BettingSystemsWithABankroll)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// 13 systems x 100 games x 10,000 spins: thirteen million spins.
void BM_CompareEverySystem(benchmark::State& state) {
    const int jobs = static_cast<int>(state.range(0));
    const Comparison comparison(EverySystem(100, 10'000, jobs));
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        ComparisonProgress progress;
        benchmark::DoNotOptimize(comparison.Run(progress));
    }
    const double spins = static_cast<double>(comparison.TotalSpins() * state.iterations());
    state.counters["spins_per_s_per_thread"] =
        benchmark::Counter(spins / jobs, benchmark::Counter::kIsRate);
    state.counters["spins_per_cpu_s"] = spins / (ProcessCpuSeconds() - cpuBefore);
}
BENCHMARK(BM_CompareEverySystem)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// The systems that bet in turn, 1,000 games of 2,000 spins on each of two threads: a game's arrays
// mapped from the operating system and unmapped at its end (kept:0), or taken from blocks that the
// thread keeps from one game to the next (kept:1). Mapping them costs page faults at every game,
// and every unmapping interrupts the other thread, which shows in the CPU time.
void BM_GamesOnTwoThreads(benchmark::State& state) {
    constexpr int GamesPerThread = 1000;
    constexpr int SpinsPerGame = 2000;
    const bool kept = state.range(0) != 0;
    const std::vector<SelectionSystem> systems = BettingSystems();
    const auto play = [&](uint64_t firstSeed) {
        ZeroedBlocks blocks;
        for (uint64_t seed = firstSeed; seed < firstSeed + GamesPerThread; ++seed) {
            std::optional<HeadlessRun> run;
            if (kept) {
                run.emplace(seed, blocks);
            } else {
                run.emplace(seed);
            }
            run->settings.SetActiveSystem(systems[seed % systems.size()]);
            RandomGenerator spins(RandomGenerator::Sharing::OneThread);
            spins.Seed(seed);
            for (int spin = 0; spin < SpinsPerGame; ++spin) {
                run->engine.EnterNumber(spins.Random(NumberCount));
                run->view.ClearMessages();
            }
            benchmark::DoNotOptimize(run->view.ReadTotalBalance());
        }
    };
    const double cpuBefore = ProcessCpuSeconds();
    const int64_t faultsBefore = PageFaults();
    for (auto _ : state) {
        std::jthread other(play, GamesPerThread);
        play(0);
    }
    const double spins =
        2.0 * GamesPerThread * SpinsPerGame * static_cast<double>(state.iterations());
    state.counters["spins_per_cpu_s"] = spins / (ProcessCpuSeconds() - cpuBefore);
    state.counters["page_faults_per_game"] =
        static_cast<double>(PageFaults() - faultsBefore) / (2.0 * GamesPerThread);
}
BENCHMARK(BM_GamesOnTwoThreads)
    ->ArgName("kept")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

void PrintSpeedUp(const TimesReporter& reporter) {
    const auto one = reporter.Of("BM_CompareEverySystem/jobs:1/iterations:1/real_time");
    const auto two = reporter.Of("BM_CompareEverySystem/jobs:2/iterations:1/real_time");
    if (one && two) {
        std::printf("13 million spins: %.2f s on 1 thread, %.2f s on 2, speed-up %.2f\n",
                    one->realSeconds, two->realSeconds, one->realSeconds / two->realSeconds);
    }
    if (const auto risk = reporter.Of("BM_BettingSystemsWithABankroll/iterations:1/real_time")) {
        std::printf("11 systems x 10,000 games x 2,000 spins, 2 threads: %.1f s\n",
                    risk->realSeconds);
    }
    const auto mapped = reporter.Of("BM_GamesOnTwoThreads/kept:0/iterations:1/real_time");
    const auto kept = reporter.Of("BM_GamesOnTwoThreads/kept:1/iterations:1/real_time");
    if (mapped && kept) {
        std::printf("2,000 games on 2 threads: arrays mapped per game %.2f s, kept %.2f s, %.2fx\n",
                    mapped->realSeconds, kept->realSeconds,
                    mapped->realSeconds / kept->realSeconds);
    }
}

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    return orbista::RunBenchmarks(argc, argv, orbista::PrintSpeedUp);
}

// The comparison of the systems as a player runs it: every system over the same games, on one
// and on two threads. Prints spins per second per thread, the speed-up from one thread to two,
// and the peak memory of a comparison with many runs.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <map>

#include "session/comparison.h"
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

// 13 systems x 1,000 games: what a comparison keeps grows with its games, never with their
// length beyond BalanceSamplesPerRun spins, so 1,000 spins a game needs what 100,000 would.
void BM_PeakMemoryOfAThousandGames(benchmark::State& state) {
    const Comparison comparison(EverySystem(1000, BalanceSamplesPerRun, 2));
    for (auto _ : state) {
        ComparisonProgress progress;
        benchmark::DoNotOptimize(comparison.Run(progress));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PeakMemoryOfAThousandGames)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void PrintSpeedUp(const TimesReporter& reporter) {
    const auto one = reporter.Of("BM_CompareEverySystem/jobs:1/iterations:1/real_time");
    const auto two = reporter.Of("BM_CompareEverySystem/jobs:2/iterations:1/real_time");
    if (one && two) {
        std::printf("13 million spins: %.2f s on 1 thread, %.2f s on 2, speed-up %.2f\n",
                    one->realSeconds, two->realSeconds, one->realSeconds / two->realSeconds);
    }
}

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    return orbista::RunBenchmarks(argc, argv, orbista::PrintSpeedUp);
}

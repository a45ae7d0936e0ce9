#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace orbista {
namespace {

// Prints the runs as usual, then for every benchmark measured with a short game (/100) and a
// long one (/100000) the two times per iteration and how many times longer the long game takes.
class GameLengthRatios : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) {
                continue;
            }
            const std::string name = run.benchmark_name();
            cpuNanoseconds_[name] = run.cpu_accumulated_time * 1e9 / run.iterations;
            const size_t slash = name.rfind('/');
            if (slash == std::string::npos) {
                continue;
            }
            const double nanoseconds = run.real_accumulated_time * 1e9 / run.iterations;
            times_[name.substr(0, slash)][name.substr(slash + 1)] = nanoseconds;
        }
    }

    // The headless engine's speed beside the lean loop of the same work, in CPU time: the two
    // run one after the other, so a machine busy with other work slows both alike.
    void PrintEngineToLeanRatio() const {
        const auto engine = cpuNanoseconds_.find("BM_HeadlessEngine");
        const auto lean = cpuNanoseconds_.find("BM_LeanReferenceLoop");
        if (engine != cpuNanoseconds_.end() && lean != cpuNanoseconds_.end()) {
            std::printf(
                "headless engine: %.0f spins/s, lean loop: %.0f spins/s, engine / lean %.2f\n",
                1e9 / engine->second, 1e9 / lean->second, lean->second / engine->second);
        }
    }

    void PrintRatios() const {
        for (const auto& [name, byLength] : times_) {
            const auto shortGame = byLength.find("100");
            const auto longGame = byLength.find("100000");
            if (shortGame != byLength.end() && longGame != byLength.end()) {
                std::printf("%s: %.0f ns at 100 spins, %.0f ns at 100000 spins, ratio %.1f\n",
                            name.c_str(), shortGame->second, longGame->second,
                            longGame->second / shortGame->second);
            }
        }
    }

  private:
    std::map<std::string, std::map<std::string, double>> times_;
    std::map<std::string, double> cpuNanoseconds_;
};

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    orbista::GameLengthRatios reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios();
    reporter.PrintEngineToLeanRatio();
    return 0;
}

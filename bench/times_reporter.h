#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orbista {

// Prints the runs as usual and keeps each benchmark's time per iteration and its counters by its
// name ("BM_SpinCycle/100"), so that a benchmark program can print, after the table, the ratios
// between benchmarks measured in the same run.
class TimesReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double realSeconds = 0;
        double cpuSeconds = 0;
        std::map<std::string, double> counters;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                const auto iterations = static_cast<double>(run.iterations);
                Times& times = times_[run.benchmark_name()];
                times = {run.real_accumulated_time / iterations,
                         run.cpu_accumulated_time / iterations,
                         {}};
                for (const auto& [name, counter] : run.counters) {
                    times.counters[name] = counter.value;
                }
            }
        }
    }

    std::optional<Times> Of(const std::string& name) const {
        const auto found = times_.find(name);
        return found == times_.end() ? std::nullopt : std::optional<Times>(found->second);
    }
    const std::map<std::string, Times>& All() const { return times_; }

  private:
    std::map<std::string, Times> times_;
};

// A benchmark program's main: runs the benchmarks that the command line selects, then prints what
// `report` makes of their times. Exit status 1 when the command line holds an argument that is not
// the benchmark library's.
template <typename Report>
int RunBenchmarks(int argc, char** argv, Report report) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    report(reporter);
    return 0;
}

}  // namespace orbista

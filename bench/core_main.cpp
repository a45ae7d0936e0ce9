#include <cstdio>
#include <map>
#include <string>

#include "times_reporter.h"

namespace orbista {
namespace {

// For every benchmark measured with a short game (/100) and a long one (/100000): the two times per
// iteration and how many times longer the long game takes.
void PrintGameLengthRatios(const TimesReporter& reporter) {
    for (const auto& [name, times] : reporter.All()) {
        if (!name.ends_with("/100")) {
            continue;
        }
        const std::string base = name.substr(0, name.size() - 4);
        if (const auto longGame = reporter.Of(base + "/100000")) {
            std::printf("%s: %.0f ns at 100 spins, %.0f ns at 100000 spins, ratio %.1f\n",
                        base.c_str(), times.realSeconds * 1e9, longGame->realSeconds * 1e9,
                        longGame->realSeconds / times.realSeconds);
        }
    }
}

// The headless engine's speed beside the lean loop of the same work, in CPU time: the two run one
// after the other, so a machine busy with other work slows both alike.
void PrintEngineToLeanRatio(const TimesReporter& reporter) {
    const auto engine = reporter.Of("BM_HeadlessEngine");
    const auto lean = reporter.Of("BM_LeanReferenceLoop");
    if (engine && lean) {
        std::printf("headless engine: %.0f spins/s, lean loop: %.0f spins/s, engine / lean %.2f\n",
                    1 / engine->cpuSeconds, 1 / lean->cpuSeconds,
                    lean->cpuSeconds / engine->cpuSeconds);
    }
}

// For every system: the CPU time per spin of short games of random spins, and of a long game of
// one number and of five numbers in turn, each as a multiple of the short games'.
void PrintRepetitiveGameRatios(const TimesReporter& reporter) {
    const std::string prefix = "BM_RepetitiveGames/";
    for (const auto& [name, times] : reporter.All()) {
        if (!name.starts_with(prefix)) {
            continue;
        }
        const std::map<std::string, double>& counter = times.counters;
        std::printf(
            "%s: %.0f ns a spin in short random games; a long game of one number %.0f ns "
            "(ratio %.2f), of five numbers %.0f ns (ratio %.2f)\n",
            name.substr(prefix.size()).c_str(), counter.at("short_ns"), counter.at("one_ns"),
            counter.at("one_ratio"), counter.at("five_ns"), counter.at("five_ratio"));
    }
}

// The engine and the lean loop played in turns, in CPU time.
void PrintEngineBesideLeanLoop(const TimesReporter& reporter) {
    if (const auto turns = reporter.Of("BM_EngineBesideLeanLoop")) {
        const std::map<std::string, double>& counter = turns->counters;
        std::printf(
            "in turns of 1000 spins: headless engine %.0f spins/s, lean loop %.0f spins/s, "
            "engine / lean %.2f\n",
            counter.at("engine_spins_per_s"), counter.at("lean_spins_per_s"),
            counter.at("engine_to_lean"));
    }
}

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    return orbista::RunBenchmarks(argc, argv, [](const orbista::TimesReporter& reporter) {
        orbista::PrintGameLengthRatios(reporter);
        orbista::PrintEngineToLeanRatio(reporter);
        orbista::PrintEngineBesideLeanLoop(reporter);
        orbista::PrintRepetitiveGameRatios(reporter);
    });
}

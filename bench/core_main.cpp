#include <cstdio>
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
    const std::string shortGames = "BM_ShortRandomGames/";
    for (const auto& [name, times] : reporter.All()) {
        if (!name.starts_with(shortGames)) {
            continue;
        }
        const std::string system = name.substr(shortGames.size());
        const auto one = reporter.Of("BM_LongGameOfOneNumber/" + system);
        const auto five = reporter.Of("BM_LongGameOfFiveNumbers/" + system);
        if (one && five) {
            std::printf(
                "%s: %.0f ns a spin in short random games; long game of one number %.0f ns "
                "(ratio %.2f), of five numbers %.0f ns (ratio %.2f)\n",
                system.c_str(), times.cpuSeconds * 1e9, one->cpuSeconds * 1e9,
                one->cpuSeconds / times.cpuSeconds, five->cpuSeconds * 1e9,
                five->cpuSeconds / times.cpuSeconds);
        }
    }
}

}  // namespace
}  // namespace orbista

int main(int argc, char** argv) {
    return orbista::RunBenchmarks(argc, argv, [](const orbista::TimesReporter& reporter) {
        orbista::PrintGameLengthRatios(reporter);
        orbista::PrintEngineToLeanRatio(reporter);
        orbista::PrintRepetitiveGameRatios(reporter);
    });
}

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <string_view>

#include "model/check_file.h"
#include "model/game_state.h"
#include "model/random.h"
#include "model/settings_model.h"
#include "systems/selection.h"

namespace orbista {
namespace {

constexpr int32_t GameLength = 100000;

class DiscardedCheckFiles : public CheckFileSink {
  public:
    void WriteCheckFile(std::string_view, std::string_view content) override {
        benchmark::DoNotOptimize(content.size());
    }
};

// A game of 100000 spins, entered spin by spin as the cycle enters them (so the six-line
// history's index follows them); the working series holds its newest 100, as the cycle leaves it.
// Random spins, or (repetitive) a handful of numbers, which sends the look-backs to the end of
// the game.
std::unique_ptr<GameState> LongGame(bool repetitive) {
    auto state = std::make_unique<GameState>();
    RandomGenerator random;
    random.Seed(42);
    while (state->SpinCount < GameLength) {
        const int32_t number = repetitive ? random.Random(4) + 1 : random.Random(NumberCount);
        ++state->SpinCount;
        ShiftHistoryUp(*state);
        state->SpinHistory[1] = number;
        state->SixLineHistory[1] = SixLineOf(number);
    }
    for (int32_t k = 1; k <= 100; ++k) {
        state->WorkingSeries[k] = state->SpinHistory[k];
    }
    state->Deficit = 40;
    return state;
}

void BM_SelectionSystem(benchmark::State& bench, SelectionSystem system) {
    auto state = LongGame(bench.range(0) != 0);
    MemorySettings settings;
    settings.SetActiveSystem(system);
    settings.SetNumber(Setting::SectorsSpinWindow, 1000);
    settings.SetNumber(Setting::ChaosNumberCount, 12);
    settings.SetFlag(Setting::EsdWideOverlap, true);
    RandomGenerator random;
    random.Seed(7);
    DiscardedCheckFiles files;
    SelectionContext context{*state, settings, random, files};
    for (auto _ : bench) {
        state->Stakes.fill(0);
        state->MinCoveredCount = 1;
        state->MaxProcessedCount = 24;
        state->ProgressionSteepness = 10;
        state->NormalisationCoefficient = 0;
        RunSelectionSystem(context);
        benchmark::DoNotOptimize(state->Stakes.data());
    }
}

#define SYSTEM_BENCHMARK(name) \
    BENCHMARK_CAPTURE(BM_SelectionSystem, name, SelectionSystem::name)->Arg(0)->Arg(1)

SYSTEM_BENCHMARK(WithSelection);
SYSTEM_BENCHMARK(WithoutSelection);
SYSTEM_BENCHMARK(Sectors);
SYSTEM_BENCHMARK(SixLines);
SYSTEM_BENCHMARK(Peer);
SYSTEM_BENCHMARK(AntiReview);
SYSTEM_BENCHMARK(Esd);
SYSTEM_BENCHMARK(Favourites);
SYSTEM_BENCHMARK(Gizmo);
SYSTEM_BENCHMARK(Chaos);
SYSTEM_BENCHMARK(Waiting);

}  // namespace
}  // namespace orbista

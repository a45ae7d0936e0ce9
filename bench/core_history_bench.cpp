#include <benchmark/benchmark.h>

#include <memory>

#include "engine/corrected_series.h"
#include "model/game_state.h"

namespace orbista {
namespace {

// One new spin's history work (shift and corrected series) with a game of a given length.
void BM_ShiftHistoryUpAndCorrectSeries(benchmark::State& bench) {
    auto state = std::make_unique<GameState>();
    RandomGenerator random;
    random.Seed(1);
    const int32_t spins = static_cast<int32_t>(bench.range(0));
    for (int32_t i = 0; i < spins; ++i) {
        state->SpinHistory[std::min(i + 1, KeptSpins)] = random.Random(37);
        state->CorrectedNumbers[std::min(i + 1, KeptSpins)] = random.Random(37);
        state->CorrectedSixLines[std::min(i + 1, KeptSpins)] = random.Random(6) + 1;
    }
    for (auto _ : bench) {
        state->SpinCount = spins;  // the game length stays what is measured
        ShiftHistoryUp(*state);
        state->CurrentNumber = random.Random(37);
        state->SpinHistory[1] = state->CurrentNumber;
        CorrectSeries(*state, random);
        benchmark::DoNotOptimize(state->CorrectedNumbers[1]);
    }
    bench.counters["spins_in_game"] = static_cast<double>(spins);
}
BENCHMARK(BM_ShiftHistoryUpAndCorrectSeries)->Arg(100)->Arg(100000);

}  // namespace
}  // namespace orbista

#include <benchmark/benchmark.h>

#include "session/forecast.h"
#include "session/headless_run.h"

namespace orbista {
namespace {

// The picture of a game of the given system after `spins` random spins of seed 1.
GamePicture PictureAfter(SelectionSystem system, int64_t spins) {
    HeadlessRun run(1);
    run.settings.SetActiveSystem(system);
    for (int64_t i = 0; i < spins; ++i) {
        run.engine.EnterNumber(run.random.Random(NumberCount));
    }
    return TakePicture(*run.state, run.settings, run.view);
}

// A whole forecast as the window makes it after a spin: 2,000 continuations to a stop or 5,000
// spins, and the ladder. Arguments: the system and the spins played before the picture.
void BM_Forecast(benchmark::State& bench) {
    const auto system = static_cast<SelectionSystem>(bench.range(0));
    const GamePicture picture = PictureAfter(system, bench.range(1));
    for (auto _ : bench) {
        const Forecast forecast = RunForecast(picture, {});
        benchmark::DoNotOptimize(forecast.winStop.value);
    }
    bench.counters["win_stop"] = RunForecast(picture, {}).winStop.value;
}
BENCHMARK(BM_Forecast)
    ->ArgNames({"system", "spins"})
    ->Args({static_cast<int>(SelectionSystem::WithSelection), 0})
    ->Args({static_cast<int>(SelectionSystem::WithSelection), 40})
    ->Args({static_cast<int>(SelectionSystem::Peer), 0})
    ->Args({static_cast<int>(SelectionSystem::Gizmo), 0})
    ->Unit(benchmark::kMillisecond);

// What starting a continuation costs: the pictured game copied into the game that played the
// last one (argument 0), or into a game made for it (argument 1).
void BM_ContinuationStart(benchmark::State& bench) {
    const GamePicture picture = PictureAfter(SelectionSystem::WithSelection, 40);
    HeadlessRun reused(0);
    for (auto _ : bench) {
        if (bench.range(0) == 0) {
            CopyGame(*picture.state, *reused.state);
            benchmark::DoNotOptimize(reused.state->SpinCount);
        } else {
            HeadlessRun fresh(0);
            CopyGame(*picture.state, *fresh.state);
            benchmark::DoNotOptimize(fresh.state->SpinCount);
        }
    }
}
BENCHMARK(BM_ContinuationStart)->ArgName("fresh")->Arg(0)->Arg(1);

// What a click pays for the forecast: the picture of a game of the given length, taken into a
// picture used before, as the window does.
void BM_TakePicture(benchmark::State& bench) {
    HeadlessRun run(1);
    run.settings.SetFlag(Setting::StopOnWin, false);
    run.settings.SetFlag(Setting::ResetProgressionOnLoss, true);
    for (int64_t i = 0; i < bench.range(0); ++i) {
        run.engine.EnterNumber(run.random.Random(NumberCount));
    }
    GamePicture picture;
    for (auto _ : bench) {
        TakePicture(*run.state, run.settings, run.view, picture);
        benchmark::DoNotOptimize(picture.state->SpinCount);
    }
}
BENCHMARK(BM_TakePicture)->ArgName("spins")->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orbista

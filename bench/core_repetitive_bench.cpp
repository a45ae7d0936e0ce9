#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "model/settings_table.h"
#include "session/headless_run.h"

namespace orbista {
namespace {

constexpr int32_t LongGameSpins = 120000;
constexpr int32_t ShortGameSpins = 1000;
constexpr std::array<int32_t, 5> FiveNumbers = {3, 11, 17, 26, 34};

// A headless run of one system whose game never ends by itself: no win stop, and a loss stop
// that only starts the progression again. A long game of few numbers is what a player meets who
// plays a long file of a biased or made-up permanence, or leaves statistics-only running.
struct EndlessGame {
    explicit EndlessGame(SelectionSystem system) : run(1) {
        run.settings.SetActiveSystem(system);
        run.settings.SetFlag(Setting::StopOnWin, false);
        run.settings.SetFlag(Setting::WinMessage, false);
        run.settings.SetFlag(Setting::ResetProgressionOnLoss, true);
        run.settings.SetFlag(Setting::NoLossMessage, true);
    }

    void Spin(int32_t number) {
        run.engine.EnterNumber(number);
        run.view.ClearMessages();
    }

    HeadlessRun run;
};

void CountSpins(benchmark::State& bench) {
    bench.counters["spins_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}

// Games of 1,000 random spins, one after the other, each begun with "Новая игра".
void BM_ShortRandomGames(benchmark::State& bench, SelectionSystem system) {
    EndlessGame game(system);
    int32_t spins = 0;
    for (auto _ : bench) {
        if (++spins == ShortGameSpins) {
            game.run.engine.NewGame();
            spins = 0;
        }
        game.Spin(game.run.random.Random(NumberCount));
    }
    CountSpins(bench);
}

// One game that has gone on for 120,000 spins of the same number, or of five numbers in turn, and
// goes on so while it is timed.
void BM_LongGame(benchmark::State& bench, SelectionSystem system, int32_t numbers) {
    EndlessGame game(system);
    int32_t next = 0;
    auto spin = [&game, &next, numbers] {
        game.Spin(FiveNumbers[next]);
        next = next + 1 == numbers ? 0 : next + 1;
    };
    for (int32_t i = 0; i < LongGameSpins; ++i) {
        spin();
    }
    for (auto _ : bench) {
        spin();
    }
    bench.counters["spins_in_game"] = static_cast<double>(game.run.state->SpinCount);
    CountSpins(bench);
}

void BM_LongGameOfOneNumber(benchmark::State& bench, SelectionSystem system) {
    BM_LongGame(bench, system, 1);
}

void BM_LongGameOfFiveNumbers(benchmark::State& bench, SelectionSystem system) {
    BM_LongGame(bench, system, static_cast<int32_t>(FiveNumbers.size()));
}

#define GAME_BENCHMARKS(name)                                               \
    BENCHMARK_CAPTURE(BM_ShortRandomGames, name, SelectionSystem::name);    \
    BENCHMARK_CAPTURE(BM_LongGameOfOneNumber, name, SelectionSystem::name); \
    BENCHMARK_CAPTURE(BM_LongGameOfFiveNumbers, name, SelectionSystem::name)

GAME_BENCHMARKS(StatisticsOnly);
GAME_BENCHMARKS(WithSelection);
GAME_BENCHMARKS(WithoutSelection);
GAME_BENCHMARKS(Sectors);
GAME_BENCHMARKS(SixLines);
GAME_BENCHMARKS(Peer);
GAME_BENCHMARKS(AntiReview);
GAME_BENCHMARKS(Esd);
GAME_BENCHMARKS(Favourites);
GAME_BENCHMARKS(Gizmo);
GAME_BENCHMARKS(Chaos);
GAME_BENCHMARKS(Waiting);

}  // namespace
}  // namespace orbista

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "engine/headless_view.h"
#include "model/check_file.h"
#include "model/game_state.h"
#include "session/headless_run.h"
#include "storage/check_file_folder.h"

namespace orbista {
namespace {

// Fills the per-spin histories as a game of this length would have left them.
void FillHistory(GameState& state, RandomGenerator& random, int32_t spins) {
    state.SpinCount = spins;
    const int32_t kept = std::min(spins, KeptSpins);
    for (int32_t k = 1; k <= kept; ++k) {
        const int32_t number = random.Random(NumberCount);
        state.SpinHistory[k] = number;
        state.SixLineHistory[k] = SixLineOf(number);
        state.CorrectedNumbers[k] = random.Random(NumberCount);
        state.CorrectedSixLines[k] = random.Random(6) + 1;
    }
    // A played game keeps the index of these series as it goes; written at once, they are
    // indexed here, outside the measurement.
    for (const History* indexed :
         {&state.CorrectedNumbers, &state.SixLineHistory, &state.CorrectedSixLines}) {
        indexed->Recent();
    }
}

// One whole spin (history, settlement, the default system, the money after it and the displays)
// with default settings, in a game of a given length. The game is held at that length: a win or
// loss stop restarts it, and then the history is filled again outside the measurement.
void BM_SpinCycle(benchmark::State& bench) {
    const int32_t spins = static_cast<int32_t>(bench.range(0));
    const std::filesystem::path checkFolder =
        std::filesystem::temp_directory_path() / "orbista-cycle-bench";
    std::filesystem::create_directories(checkFolder);
    HeadlessRun run(1, checkFolder);
    GameState* state = run.state.get();
    Engine& engine = run.engine;
    RandomGenerator& random = run.random;
    FillHistory(*state, random, spins);

    for (auto _ : bench) {
        state->SpinCount = spins;
        engine.EnterNumber(random.Random(NumberCount));
        if (state->SpinCount == 0) {
            bench.PauseTiming();
            FillHistory(*state, random, spins);
            bench.ResumeTiming();
        }
    }
    bench.counters["spins_in_game"] = static_cast<double>(spins);
    bench.counters["restarts"] =
        static_cast<double>(engine.Counters().winStops + engine.Counters().lossStops);
    bench.counters["spins_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
    std::error_code ignored;
    std::filesystem::remove_all(checkFolder, ignored);
}
BENCHMARK(BM_SpinCycle)->Arg(100)->Arg(100000);

// One rewrite of "проверка.txt" as the engine does it after every spin of a checking system: the
// content of a typical run (the bets marker and a couple of dozen numbers), replaced whole as the
// window does it (argument 0) or written in place as a headless run does it (argument 1).
void BM_CheckFileWrite(benchmark::State& bench) {
    const CheckFileWrites writes =
        bench.range(0) == 0 ? CheckFileWrites::Replaced : CheckFileWrites::InPlace;
    HeadlessView view;
    const std::filesystem::path checkFolder =
        std::filesystem::temp_directory_path() / "orbista-check-file-bench";
    std::filesystem::create_directories(checkFolder);
    CheckFileFolder checkFiles(view, checkFolder, writes);
    CheckFileText text;
    for (int32_t line = 0; line < 24; ++line) {
        text.Line(line % 37);
    }
    text.Line(CheckFileBetsMarker);
    for (int32_t line = 0; line < 6; ++line) {
        text.Line(line * 5);
    }
    CheckFileSink& sink = checkFiles;
    for (auto _ : bench) {
        sink.WriteCheckFile(SelectionCheckFileName, text.Text());
    }
    bench.SetLabel(writes == CheckFileWrites::Replaced ? "replaced" : "in place");
    bench.counters["writes_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
    std::error_code ignored;
    std::filesystem::remove_all(checkFolder, ignored);
}
BENCHMARK(BM_CheckFileWrite)->Arg(0)->Arg(1);

}  // namespace
}  // namespace orbista

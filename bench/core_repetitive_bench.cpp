#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "model/settings_table.h"
#include "session/headless_run.h"
#include "side_by_side.h"

namespace orbista {
namespace {

constexpr int32_t LongGameSpins = 120000;
constexpr int32_t ShortGameSpins = 1000;
constexpr std::array<int32_t, 5> FiveNumbers = {3, 11, 17, 26, 34};

// A headless run of one system whose game never ends by itself: no win stop, and a loss stop
// that only starts the progression again. A long game of few numbers is what a player meets who
// plays a long file of a biased or made-up permanence, or leaves statistics-only running.
class EndlessGame {
  public:
    explicit EndlessGame(SelectionSystem system) : run_(1) {
        run_.settings.SetActiveSystem(system);
        run_.settings.SetFlag(Setting::StopOnWin, false);
        run_.settings.SetFlag(Setting::WinMessage, false);
        run_.settings.SetFlag(Setting::ResetProgressionOnLoss, true);
        run_.settings.SetFlag(Setting::NoLossMessage, true);
    }

    // A game of 1,000 random spins, begun with "Новая игра".
    void PlayShortRandomGame() {
        run_.engine.NewGame();
        for (int32_t i = 0; i < ShortGameSpins; ++i) {
            Spin(run_.random.Random(NumberCount));
        }
    }

    // The first `numbers` of FiveNumbers in turn, going on from where the last call stopped.
    void PlayInTurn(int32_t numbers, int32_t spins) {
        for (int32_t i = 0; i < spins; ++i) {
            Spin(FiveNumbers[next_]);
            next_ = next_ + 1 == numbers ? 0 : next_ + 1;
        }
    }

    int64_t SpinCount() const { return run_.state->SpinCount; }

  private:
    void Spin(int32_t number) {
        run_.engine.EnterNumber(number);
        run_.view.ClearMessages();
    }

    HeadlessRun run_;
    int32_t next_ = 0;
};

// Short games of random spins beside one game that has gone on for 120,000 spins of one number,
// and one of five numbers in turn, which go on so: 1,000 spins of each in turn, each batch timed
// on the thread's CPU clock. The counters give each one's CPU time per spin and the two long
// games' as multiples of the short games'.
void BM_RepetitiveGames(benchmark::State& bench, SelectionSystem system) {
    EndlessGame shortGames(system);
    EndlessGame oneNumber(system);
    EndlessGame fiveNumbers(system);
    oneNumber.PlayInTurn(1, LongGameSpins);
    fiveNumbers.PlayInTurn(static_cast<int32_t>(FiveNumbers.size()), LongGameSpins);
    double shortSeconds = 0;
    double oneSeconds = 0;
    double fiveSeconds = 0;
    for (auto _ : bench) {
        AddTimeOf(shortSeconds, [&shortGames] { shortGames.PlayShortRandomGame(); });
        AddTimeOf(oneSeconds, [&oneNumber] { oneNumber.PlayInTurn(1, ShortGameSpins); });
        AddTimeOf(fiveSeconds, [&fiveNumbers] {
            fiveNumbers.PlayInTurn(static_cast<int32_t>(FiveNumbers.size()), ShortGameSpins);
        });
    }
    const double spins = static_cast<double>(bench.iterations()) * ShortGameSpins;
    bench.counters["short_ns"] = shortSeconds / spins * 1e9;
    bench.counters["one_ns"] = oneSeconds / spins * 1e9;
    bench.counters["five_ns"] = fiveSeconds / spins * 1e9;
    bench.counters["one_ratio"] = oneSeconds / shortSeconds;
    bench.counters["five_ratio"] = fiveSeconds / shortSeconds;
    bench.counters["long_game_spins"] = static_cast<double>(oneNumber.SpinCount());
}

#define REPETITIVE_GAMES(name) BENCHMARK_CAPTURE(BM_RepetitiveGames, name, SelectionSystem::name)

REPETITIVE_GAMES(StatisticsOnly);
REPETITIVE_GAMES(WithSelection);
REPETITIVE_GAMES(WithoutSelection);
REPETITIVE_GAMES(Sectors);
REPETITIVE_GAMES(SixLines);
REPETITIVE_GAMES(Peer);
REPETITIVE_GAMES(AntiReview);
REPETITIVE_GAMES(Esd);
REPETITIVE_GAMES(Favourites);
REPETITIVE_GAMES(Gizmo);
REPETITIVE_GAMES(Chaos);
REPETITIVE_GAMES(Waiting);

}  // namespace
}  // namespace orbista

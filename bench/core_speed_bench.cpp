#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "engine/corrected_series.h"
#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/game_state.h"
#include "model/settings_model.h"
#include "model/settings_table.h"
#include "session/headless_run.h"
#include "side_by_side.h"
#include "systems/progression.h"
#include "systems/shared.h"

// Every allocation of this program is counted, so that a benchmark can tell how many a spin makes.
// The replacement operators pair malloc with free themselves; the compiler's check of matching
// new and delete cannot see that.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
std::atomic<long long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace orbista {
namespace {

// The headless engine as orbista-sim runs it with --no-check-files: the default system, default
// settings, random spins, in games that restart at their stop rules. Counts the allocations made
// per spin.
void BM_HeadlessEngine(benchmark::State& bench) {
    HeadlessRun run(1);
    Engine& engine = run.engine;
    HeadlessView& view = run.view;
    RandomGenerator& random = run.random;
    for (int i = 0; i < 1000; ++i) {  // past the first allocations of a fresh game
        engine.EnterNumber(random.Random(NumberCount));
        view.ClearMessages();
    }
    const long long before = allocations.load();
    for (auto _ : bench) {
        engine.EnterNumber(random.Random(NumberCount));
        view.ClearMessages();
    }
    const long long made = allocations.load() - before;
    bench.counters["allocations_per_spin"] =
        static_cast<double>(made) / static_cast<double>(bench.iterations());
    bench.counters["spins_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessEngine);

// The per-spin work of the default system with the default settings, written as lean as it goes:
// the same draws in the same order (the start-up's reseed and the reseed at every stop included),
// the corrected series, the refreshed working series, the candidate scan with its thresholds, the
// progression, the settlement and both stop rules, with integer balances and settings and no text,
// view, settings model or file. It is what this machine allows for the engine's work; the
// headless engine is measured beside it, and must end every run with the same balance.
class LeanDefaultSystem {
  public:
    explicit LeanDefaultSystem(uint64_t seed) {
        random_.Seed(seed);
        random_.Randomize();  // as the engine's start-up does
        state_->ProgressionSteepness = DefaultOf(Setting::ProgressionSteepness);
    }

    void Spin() {
        const int32_t number = random_.Random(NumberCount);
        EnterSpin(number);
        if (Settle(number)) {
            Restart();  // a win stop
        }
        state_->Stakes.fill(0);
        state_->WorkingSeries.CopyEntries(state_->CorrectedNumbers, 1, 100);
        state_->SixLineHistory.CopyEntries(state_->CorrectedSixLines, 1, 100);
        if (state_->SpinCount > 0) {  // not at the spin that restarted the game
            Recommend();
        }
        Account();
    }

    int64_t TotalBalance() const { return totalBalance_; }

  private:
    static int32_t DefaultOf(Setting setting) { return InfoOf(setting).defaultValue; }

    const int64_t winTarget_ = DefaultOf(Setting::WinTarget);
    const int32_t maxStake_ = DefaultOf(Setting::MaxStake);
    const int64_t maxLoss_ = DefaultOf(Setting::MaxLoss);
    const int32_t largestCount_ = std::min(DefaultOf(Setting::MaxProcessedCount),
                                           static_cast<int32_t>(DistinctSpreadTable.size()));
    const double firstThreshold_ = DefaultOf(Setting::NormalisationCoefficient) / 4.0 - 0.25;

    void EnterSpin(int32_t number) {
        ++state_->SpinCount;
        ShiftHistoryUp(*state_);
        state_->SpinHistory[1] = number;
        if (number > 0) {
            state_->SixLineHistory[1] = SixLineOf(number);
        }
        state_->CurrentNumber = number;
        CorrectSeries(*state_, random_);
    }

    // Whether the spin won the game.
    bool Settle(int32_t number) {
        int64_t placed = 0;
        for (int n = 0; n < NumberCount; ++n) {
            placed += std::max(state_->Stakes[n], 0);
        }
        totalBalance_ -= placed;
        gameBalance_ -= placed;
        const int32_t stake = state_->Stakes[number];
        if (stake < 1) {
            return false;
        }
        state_->Deficit = std::max(0, state_->Deficit - 36 * stake);
        totalBalance_ += 36 * stake;
        gameBalance_ += 36 * stake;
        return gameBalance_ >= winTarget_;
    }

    void Recommend() {
        depth_ = 0;
        LookbackWalk walk(state_->WorkingSeries, state_->SpinCount, false);
        double threshold = firstThreshold_;
        for (int32_t count = DefaultOf(Setting::MinCoveredCount); count <= largestCount_; ++count) {
            const Lookback lookback = walk.Until(count);
            if (lookback.exhausted) {
                break;
            }
            const double expected =
                ExpectedDistinct(static_cast<int32_t>(lookback.length), NumberCount);
            const double excess = count - expected;
            if (excess >= threshold * DistinctSpreadTable[count - 1]) {
                threshold = excess / DistinctSpreadTable[count - 1];
                depth_ = lookback.length;
                selected_ = count;
            }
        }
        state_->StakeLevel = StakeLevelRule(*state_, selected_);
        BetNewestEntries(*state_, depth_);
    }

    void Account() {
        int32_t count = 0;
        int64_t sum = 0;
        for (int n = 0; n < NumberCount; ++n) {
            const int32_t stake = std::max(state_->Stakes[n], 0);
            count += static_cast<int32_t>(stake > 0);
            sum += stake;
        }
        state_->Deficit += static_cast<int32_t>(sum);
        if (count == 0) {
            return;
        }
        state_->StakeLevel = static_cast<int32_t>(std::nearbyint(static_cast<double>(sum) / count));
        if (state_->StakeLevel > maxStake_ || sum - gameBalance_ > maxLoss_) {
            Restart();  // a loss stop
        }
    }

    void Restart() {
        random_.Randomize();
        const auto last =
            static_cast<int32_t>(std::min<int64_t>(state_->SpinCount, HistoryShiftLimit) + 1);
        state_->SpinHistory.ClearEntries(0, last);
        state_->CorrectedNumbers.ClearEntries(0, last);
        state_->SpinCount = 0;
        state_->Deficit = 0;
        state_->Stakes.fill(0);
        depth_ = 0;
        selected_ = 0;
        gameBalance_ = 0;
    }

    std::unique_ptr<GameState> state_ = std::make_unique<GameState>();
    RandomGenerator random_{RandomGenerator::Sharing::OneThread};
    int64_t totalBalance_ = 0;
    int64_t gameBalance_ = 0;
    int64_t depth_ = 0;
    int32_t selected_ = 0;
};

// Before it is timed, the lean loop plays the same spins as the headless engine and must end with
// the same total balance: otherwise it would not be a reference for the same work.
bool LeanLoopMatchesTheEngine() {
    constexpr int Spins = 200000;
    HeadlessRun run(1);
    LeanDefaultSystem lean(1);
    for (int i = 0; i < Spins; ++i) {
        run.engine.EnterNumber(run.random.Random(NumberCount));
        run.view.ClearMessages();
        lean.Spin();
    }
    return run.view.Number(Display::TotalBalance) == lean.TotalBalance();
}

void BM_LeanReferenceLoop(benchmark::State& bench) {
    if (!LeanLoopMatchesTheEngine()) {
        bench.SkipWithError("the lean loop ends with another balance than the engine");
        return;
    }
    LeanDefaultSystem lean(1);
    for (auto _ : bench) {
        lean.Spin();
    }
    benchmark::DoNotOptimize(lean.TotalBalance());
    bench.counters["spins_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LeanReferenceLoop);

// The same two in turns, 1,000 spins of each at a time, each batch timed on the thread's CPU
// clock: the ratio then holds in one run on a machine busy with other work.
void BM_EngineBesideLeanLoop(benchmark::State& bench) {
    if (!LeanLoopMatchesTheEngine()) {
        bench.SkipWithError("the lean loop ends with another balance than the engine");
        return;
    }
    constexpr int Batch = 1000;
    HeadlessRun run(1);
    LeanDefaultSystem lean(1);
    double engineSeconds = 0;
    double leanSeconds = 0;
    for (auto _ : bench) {
        AddTimeOf(engineSeconds, [&run] {
            for (int i = 0; i < Batch; ++i) {
                run.engine.EnterNumber(run.random.Random(NumberCount));
                run.view.ClearMessages();
            }
        });
        AddTimeOf(leanSeconds, [&lean] {
            for (int i = 0; i < Batch; ++i) {
                lean.Spin();
            }
        });
    }
    benchmark::DoNotOptimize(lean.TotalBalance());
    const double spins = static_cast<double>(bench.iterations()) * Batch;
    bench.counters["engine_spins_per_s"] = spins / engineSeconds;
    bench.counters["lean_spins_per_s"] = spins / leanSeconds;
    bench.counters["engine_to_lean"] = leanSeconds / engineSeconds;
}
BENCHMARK(BM_EngineBesideLeanLoop);

}  // namespace
}  // namespace orbista

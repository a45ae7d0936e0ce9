#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "engine/corrected_series.h"
#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/game_state.h"
#include "model/settings_model.h"
#include "storage/headless_run.h"
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

// The same per-spin work of the default system written as lean as it goes: the same draws, the
// corrected series, the refreshed working series, the candidate scan with its thresholds, the
// progression and the settlement, with integer balances and settings, and no text, view or file.
// It is what this machine allows for a spin; the headless engine is measured beside it.
class LeanDefaultSystem {
  public:
    LeanDefaultSystem() { random_.Seed(1); }

    void Spin() {
        const int32_t number = random_.Random(NumberCount);
        Settle(number);
        ++state_->SpinCount;
        ShiftHistoryUp(*state_);
        state_->SpinHistory[1] = number;
        state_->SixLineHistory[1] = SixLineOf(number);
        state_->CurrentNumber = number;
        CorrectSeries(*state_, random_);
        state_->WorkingSeries.CopyEntries(state_->CorrectedNumbers, 1, 100);
        Recommend();
        if (gameBalance_ >= WinTarget || state_->StakeLevel > MaxStake) {
            Restart();
        }
    }

    int64_t TotalBalance() const { return totalBalance_; }

  private:
    static constexpr int32_t WinTarget = 100;
    static constexpr int32_t MaxStake = 20;
    static constexpr std::array<double, 24> Spread = {
        0.1622, 0.3177, 0.467,  0.61,   0.7471, 0.8784, 1.0042, 1.1246,
        1.2398, 1.3499, 1.4552, 1.5557, 1.6517, 1.7433, 1.8307, 1.914,
        1.9932, 2.0687, 2.1404, 2.2086, 2.2733, 2.3347, 2.3928, 2.4479};

    void Settle(int32_t number) {
        int64_t placed = 0;
        for (int n = 0; n < NumberCount; ++n) {
            placed += state_->Stakes[n];
        }
        totalBalance_ -= placed;
        gameBalance_ -= placed;
        const int32_t stake = state_->Stakes[number];
        if (stake > 0) {
            totalBalance_ += 36 * stake;
            gameBalance_ += 36 * stake;
            state_->Deficit = std::max(0, state_->Deficit - 36 * stake);
        }
    }

    void Recommend() {
        state_->Stakes.fill(0);
        state_->ProgressionSteepness = 10;
        LookbackWalk walk(state_->WorkingSeries, state_->SpinCount, false);
        double threshold = 0.0;
        int64_t depth = 0;
        int32_t selected = 0;
        for (int32_t count = 1; count <= 12; ++count) {
            const Lookback lookback = walk.Until(count);
            if (lookback.exhausted) {
                break;
            }
            const double expected =
                ExpectedDistinct(static_cast<int32_t>(lookback.length), NumberCount);
            const double excess = count - expected;
            if (excess >= threshold * Spread[count - 1]) {
                threshold = excess / Spread[count - 1];
                depth = lookback.length;
                selected = count;
            }
        }
        state_->StakeLevel = StakeLevelRule(*state_, selected);
        const History& series = state_->WorkingSeries;
        for (int32_t k = 1; k <= ReadableEnd(depth); ++k) {
            state_->Stakes[series[k]] = state_->StakeLevel;
        }
        for (int n = 0; n < NumberCount; ++n) {
            state_->Deficit += state_->Stakes[n];
        }
    }

    void Restart() {
        for (int32_t k = 0; k <= std::min<int64_t>(state_->SpinCount, KeptSpins); ++k) {
            state_->SpinHistory[k] = 0;
            state_->CorrectedNumbers[k] = 0;
        }
        state_->SpinCount = 0;
        state_->Deficit = 0;
        state_->Stakes.fill(0);
        gameBalance_ = 0;
    }

    std::unique_ptr<GameState> state_ = std::make_unique<GameState>();
    RandomGenerator random_;
    int64_t totalBalance_ = 0;
    int64_t gameBalance_ = 0;
};

void BM_LeanReferenceLoop(benchmark::State& bench) {
    LeanDefaultSystem lean;
    for (auto _ : bench) {
        lean.Spin();
    }
    benchmark::DoNotOptimize(lean.TotalBalance());
    bench.counters["spins_per_s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LeanReferenceLoop);

}  // namespace
}  // namespace orbista

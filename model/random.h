#pragma once

#include <cstdint>
#include <mutex>
#include <optional>

#include "model/mersenne_twister.h"

namespace orbista {

// The one pseudo-random generator of a game. In the window the playback worker draws from it while
// the window's thread may draw too, so every call takes a short lock; a headless run draws from
// one thread only and spares the lock, which costs as much as the draw itself.
class RandomGenerator {
  public:
    enum class Sharing { Threads, OneThread };

    explicit RandomGenerator(Sharing sharing = Sharing::Threads);

    // Uniform integer in 0..n-1 (n >= 1). Inline, so that a draw with a constant n divides by a
    // constant, which the compiler turns into a multiplication: the engine draws several numbers a
    // spin, and two 64-bit divisions cost more than the draw itself.
    int32_t Random(int32_t n) {
        if (n <= 1) {
            return 0;
        }
        if (shared_) {
            return LockedDraw(n);
        }
        return Draw(n);
    }

    // Reseeds from the clock; once seeded deterministically, from that seed and a counter instead,
    // so that a seeded run repeats itself exactly.
    void Randomize();

    void Seed(uint64_t seed);

  private:
    std::unique_lock<std::mutex> Lock();
    int32_t LockedDraw(int32_t n);
    // Rejection keeps the draw exactly uniform and the same on every standard library.
    int32_t Draw(int32_t n) {
        const uint64_t range = static_cast<uint64_t>(n);
        const uint64_t limit = engine_.max() - engine_.max() % range;
        uint64_t value = engine_();
        while (value >= limit) {
            value = engine_();
        }
        return static_cast<int32_t>(value % range);
    }

    std::mutex mutex_;
    bool shared_;
    MersenneTwister64 engine_;
    std::optional<uint64_t> fixedSeed_;
    uint64_t reseedCount_ = 0;
};

}  // namespace orbista

#include "model/random.h"

#include <chrono>

namespace orbista {

RandomGenerator::RandomGenerator(Sharing sharing) : shared_(sharing == Sharing::Threads) {
    Randomize();
}

std::unique_lock<std::mutex> RandomGenerator::Lock() {
    return shared_ ? std::unique_lock(mutex_) : std::unique_lock<std::mutex>();
}

int32_t RandomGenerator::Random(int32_t n) {
    if (n <= 1) {
        return 0;
    }
    const auto lock = Lock();
    // Rejection keeps the draw exactly uniform and the same on every standard library.
    const uint64_t range = static_cast<uint64_t>(n);
    const uint64_t limit = engine_.max() - engine_.max() % range;
    uint64_t value = engine_();
    while (value >= limit) {
        value = engine_();
    }
    return static_cast<int32_t>(value % range);
}

void RandomGenerator::Randomize() {
    const auto lock = Lock();
    if (fixedSeed_) {
        ++reseedCount_;
        engine_.seed(*fixedSeed_ + 0x9E3779B97F4A7C15ULL * reseedCount_);
        return;
    }
    engine_.seed(
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandomGenerator::Seed(uint64_t seed) {
    const auto lock = Lock();
    fixedSeed_ = seed;
    reseedCount_ = 0;
    engine_.seed(seed);
}

}  // namespace orbista

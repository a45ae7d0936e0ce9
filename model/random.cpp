#include "model/random.h"

#include <chrono>

namespace orbista {

RandomGenerator::RandomGenerator(Sharing sharing) : shared_(sharing == Sharing::Threads) {
    Randomize();
}

std::unique_lock<std::mutex> RandomGenerator::Lock() {
    return shared_ ? std::unique_lock(mutex_) : std::unique_lock<std::mutex>();
}

int32_t RandomGenerator::LockedDraw(int32_t n) {
    const std::lock_guard lock(mutex_);
    return Draw(n);
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

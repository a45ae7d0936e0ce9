#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <random>

namespace orbista {

// The one pseudo-random generator of the program. The playback worker draws from it while the
// window's thread may draw too, so every call takes a short lock.
class RandomGenerator {
  public:
    RandomGenerator();

    // Uniform integer in 0..n-1 (n >= 1).
    int32_t Random(int32_t n);

    // Reseeds from the clock; once seeded deterministically, from that seed and a counter instead,
    // so that a seeded run repeats itself exactly.
    void Randomize();

    void Seed(uint64_t seed);

  private:
    std::mutex mutex_;
    std::mt19937_64 engine_;
    std::optional<uint64_t> fixedSeed_;
    uint64_t reseedCount_ = 0;
};

}  // namespace orbista

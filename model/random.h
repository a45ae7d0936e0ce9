#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <random>

namespace orbista {

// The one pseudo-random generator of a game. In the window the playback worker draws from it while
// the window's thread may draw too, so every call takes a short lock; a headless run draws from
// one thread only and spares the lock, which costs as much as the draw itself.
class RandomGenerator {
  public:
    enum class Sharing { Threads, OneThread };

    explicit RandomGenerator(Sharing sharing = Sharing::Threads);

    // Uniform integer in 0..n-1 (n >= 1).
    int32_t Random(int32_t n);

    // Reseeds from the clock; once seeded deterministically, from that seed and a counter instead,
    // so that a seeded run repeats itself exactly.
    void Randomize();

    void Seed(uint64_t seed);

  private:
    std::unique_lock<std::mutex> Lock();

    std::mutex mutex_;
    bool shared_;
    std::mt19937_64 engine_;
    std::optional<uint64_t> fixedSeed_;
    uint64_t reseedCount_ = 0;
};

}  // namespace orbista

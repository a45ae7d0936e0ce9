#include <gtest/gtest.h>

#include <random>

#include "model/mersenne_twister.h"
#include "model/random.h"

namespace orbista {
namespace {

// A seeded run repeats the draws it always made: the twister gives the standard library's
// sequence over several refills, after a reseed too.
TEST(MersenneTwister64, GivesTheStandardSequence) {
    MersenneTwister64 ours;
    for (const uint64_t seed : {uint64_t{0}, uint64_t{5489}, uint64_t{0x9E3779B97F4A7C15}}) {
        std::mt19937_64 standard(seed);
        ours.seed(seed);
        for (int i = 0; i < 2000; ++i) {
            ASSERT_EQ(ours(), standard()) << "seed " << seed << ", draw " << i;
        }
    }
}

TEST(RandomGenerator, DrawsTheSameWithOrWithoutTheLock) {
    RandomGenerator shared(RandomGenerator::Sharing::Threads);
    RandomGenerator alone(RandomGenerator::Sharing::OneThread);
    shared.Seed(7);
    alone.Seed(7);
    for (const int32_t n : {37, 6, 1, 2, 1000}) {
        for (int i = 0; i < 500; ++i) {
            ASSERT_EQ(shared.Random(n), alone.Random(n));
        }
    }
    RandomGenerator first(RandomGenerator::Sharing::OneThread);
    first.Seed(3);
    EXPECT_EQ(first.Random(37), 20);
    EXPECT_EQ(first.Random(6), 1);
}

}  // namespace
}  // namespace orbista

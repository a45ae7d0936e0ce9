#include <gtest/gtest.h>

#include <vector>

#include "session/wheel_test.h"

namespace orbista {
namespace {

const GroupTest& TestOf(const WheelTestResult& result, WheelGroup group) {
    return result.tests[static_cast<size_t>(group)];
}

TEST(WheelTest, ChiSquareOfATextbookDie) {
    // 60 throws of a die, 10 expected on each face: (25 + 4 + 1 + 4 + 0 + 100) / 10.
    const std::vector<int64_t> observed = {5, 8, 9, 8, 10, 20};
    const std::vector<double> expected(6, 10.0);
    EXPECT_DOUBLE_EQ(ChiSquareStatistic(observed, expected), 13.4);
    // The closed form for 5 degrees of freedom: erfc(√(x/2)) + √(2x/π) e^(−x/2) (1 + x/3).
    EXPECT_NEAR(ChiSquarePValue(13.4, 5), 0.01990522033, 1e-10);
}

TEST(WheelTest, EveryNumberAsOftenAsTheOthersGivesZeroInEveryGroup) {
    std::vector<uint8_t> spins;
    for (int round = 0; round < 10; ++round) {
        for (uint8_t number = 0; number < NumberCount; ++number) {
            spins.push_back(number);
        }
    }
    const WheelTestResult result = TestWheel(spins);
    for (const GroupTest& test : result.tests) {
        EXPECT_EQ(test.chiSquare, 0.0);
        EXPECT_EQ(test.pValue, 1.0);
        EXPECT_FALSE(test.sampleTooSmall);
    }
    EXPECT_EQ(TestOf(result, WheelGroup::Numbers).degreesOfFreedom, 36);
    EXPECT_EQ(TestOf(result, WheelGroup::Streets).degreesOfFreedom, 12);
    const GroupTest& colours = TestOf(result, WheelGroup::Colours);
    ASSERT_EQ(colours.cells.size(), 3u);
    EXPECT_EQ(colours.cells[2].label, "зеро");
    EXPECT_EQ(colours.cells[0].observed, 180);
    EXPECT_EQ(result.numbers[17].hits, 10);
    EXPECT_EQ(result.numbers[0].longestAbsence, 36);
    EXPECT_EQ(result.numbers[36].longestAbsence, 36);
    // No number ever follows itself, where 369/37 repeats are expected: 2 (36/37)^369.
    EXPECT_EQ(result.repeats, 0);
    EXPECT_NEAR(result.expectedRepeats, 9.972973, 1e-6);
    EXPECT_NEAR(result.repeatsPValue, 8.13236e-5, 1e-9);
    EXPECT_EQ(WheelVerdict(result)[0],
              "Ни одна из восьми проверок не отличает эти спины от спинов честного колеса (все "
              "p не меньше 0,05).");
}

TEST(WheelTest, ChanceOfALongAbsenceMatchesAStateByStateCount) {
    // Worked out apart, by carrying the chance of each current absence 0..L-1 spin by spin.
    EXPECT_NEAR(LongAbsenceProbability(18, 10), 0.924737685662, 1e-11);
    EXPECT_NEAR(LongAbsenceProbability(18, 5), 0.999861200192, 1e-11);
    EXPECT_NEAR(LongAbsenceProbability(2000, 250), 0.0502224710201, 1e-12);
    EXPECT_NEAR(LongAbsenceProbability(2000, 400), 0.000769240939526, 1e-14);
    EXPECT_EQ(LongAbsenceProbability(5, 0), 1.0);
    EXPECT_EQ(LongAbsenceProbability(5, 6), 0.0);
}

TEST(WheelTest, AFewSpinsAreTooFewAndOneNumberOnlyIsFarFromFair) {
    const std::vector<uint8_t> few = {1, 2, 3, 3, 5, 0, 7, 8, 9, 10};
    const WheelTestResult small = TestWheel(few);
    EXPECT_TRUE(TestOf(small, WheelGroup::Numbers).sampleTooSmall);
    EXPECT_EQ(small.repeats, 1);
    EXPECT_EQ(small.numbers[4].longestAbsence, 10);
    EXPECT_EQ(small.numbers[3].longestAbsence, 6);
    EXPECT_TRUE(WheelVerdict(small)[0].starts_with("Выборка мала для вывода"));

    const WheelTestResult biased = TestWheel(std::vector<uint8_t>(370, 17));
    EXPECT_NEAR(TestOf(biased, WheelGroup::Numbers).chiSquare, 36 * 370.0, 1e-6);
    EXPECT_TRUE(
        WheelVerdict(biased)[0].starts_with("Отклонение от честного колеса заметно и с поправкой"));
}

}  // namespace
}  // namespace orbista

#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"

namespace orbista {

// Whether spins look like those of a fair single-zero wheel, where each of the 37 numbers comes
// with probability 1/37 independently of the others. A small p-value is a reason to look closer,
// never a prediction: a fair wheel too shows "hot" and "cold" numbers.

// The groups tested, each a chi-square test of its counts against a fair wheel. In every group
// but the numbers zero is a cell of its own, so each test covers every spin.
enum class WheelGroup { Numbers, Dozens, Columns, Colours, Parity, Halves, SixLines, Streets };
inline constexpr int WheelGroupCount = 8;

struct WheelGroupInfo {
    WheelGroup group;
    std::string_view simName;  // the simulator's name of the test
    std::string_view caption;  // what the window calls it
};

// In the order of WheelGroup.
extern const std::array<WheelGroupInfo, WheelGroupCount> WheelGroupsTable;

// The level of one test, and the level each must pass so that the eight together keep about 5 %
// (the Bonferroni line).
inline constexpr double WheelTestLevel = 0.05;
inline constexpr double WheelBonferroniLevel = WheelTestLevel / WheelGroupCount;
// Below this many expected hits in a cell, the chi-square distribution is no good guide to the
// statistic, and the test says so.
inline constexpr double SmallestReliableExpected = 5.0;
inline constexpr std::string_view SmallSampleWarning = "Выборка мала для вывода";

struct WheelCell {
    std::string label;
    int64_t observed = 0;
    double expected = 0;
    // (observed − expected) / √expected: how many "usual" deviations off the cell is.
    double deviation = 0;
};

struct GroupTest {
    WheelGroup group = WheelGroup::Numbers;
    std::vector<WheelCell> cells;
    double chiSquare = 0;
    int degreesOfFreedom = 0;
    double pValue = 1;            // the chance of a statistic at least this large from a fair wheel
    bool sampleTooSmall = false;  // a cell expects fewer than SmallestReliableExpected hits
};

struct NumberFigures {
    int64_t hits = 0;
    // The most spins in a row without the number, counting the stretches before its first and
    // after its last hit.
    int64_t longestAbsence = 0;
    // The chance that a fair wheel, in as many spins, leaves this number out that long or longer
    // somewhere.
    double absenceProbability = 1;
};

struct WheelTestResult {
    int64_t spins = 0;
    std::array<GroupTest, WheelGroupCount> tests;
    std::array<NumberFigures, NumberCount> numbers;  // by number
    // A spin equal to the one before it: binomial over the spins − 1 pairs, each 1/37.
    int64_t repeats = 0;
    double expectedRepeats = 0;
    double repeatsPValue = 1;  // two-sided
};

WheelTestResult TestWheel(std::span<const uint8_t> spins);

// Σ (observed − expected)² / expected.
double ChiSquareStatistic(std::span<const int64_t> observed, std::span<const double> expected);
// The upper tail of the chi-square distribution with that many degrees of freedom.
double ChiSquarePValue(double statistic, int degreesOfFreedom);
// The chance that one given number stays away `absence` spins in a row or longer somewhere in
// `spins` spins of a fair wheel. Exact: it is summed spin by spin over where such a stretch can
// first end (see the source).
double LongAbsenceProbability(int64_t spins, int64_t absence);

// The verdict in plain words, one sentence a line: what the tests found, and how to read them.
std::vector<std::string> WheelVerdict(const WheelTestResult& result);

}  // namespace orbista

#include "engine/corrected_series.h"

#include <array>
#include <utility>

namespace orbista {

namespace {

constexpr int NumberWindowDistinct = 26;
constexpr int SixLineWindowDistinct = 4;
constexpr int WalkEnd = KeptSpins;  // 100001: the end of the stored history

bool Contains(const History& series, int first, int last, int32_t value) {
    for (int k = first; k <= last; ++k) {
        if (series[k] == value) {
            return true;
        }
    }
    return false;
}

// The newest entries that hold 26 distinct values, counting the copied-in X[1]; near the start of
// the game the walk stops at the first empty entry past the game's spins.
int NumberWindow(const History& x, int64_t spinCount) {
    std::array<bool, NumberCount> seen{};
    int distinct = 1;
    int r = 0;
    while (distinct <= NumberWindowDistinct && r < WalkEnd) {
        const int32_t next = x[r + 1];
        if (r >= spinCount && next == 0) {
            break;
        }
        if (!seen[next]) {
            seen[next] = true;
            ++distinct;
        }
        ++r;
    }
    return r;
}

void CorrectNumber(GameState& state, RandomGenerator& random) {
    const History& x = state.CorrectedNumbers;
    const int r = NumberWindow(x, state.SpinCount);
    // The new X[1] is drawn in a local and stored once: the window is only read meanwhile.
    int32_t newest = random.Random(NumberCount);
    for (bool drew = r > 1; drew;) {
        drew = false;
        for (int k = 2; k <= r; ++k) {
            if (x[k] == newest) {
                newest = random.Random(NumberCount);
                drew = true;
            }
        }
    }
    if (Contains(x, 2, r, state.CurrentNumber)) {
        newest = state.CurrentNumber;
    }
    state.CorrectedNumbers[1] = newest;
}

// Unlike the number walk, this one counts the game's end at r = c and its range reaches one entry
// past the window.
int SixLineWindow(const History& z, int64_t spinCount) {
    std::array<bool, 8> seen{};
    int distinct = 1;
    int r = 0;
    while (distinct <= SixLineWindowDistinct && r < WalkEnd) {
        ++r;
        if (r >= spinCount) {
            distinct = 30;
        }
        const int32_t value = z[r];
        if (value >= 0 && value < 8 && !seen[value]) {
            seen[value] = true;
            ++distinct;
        }
    }
    return r;
}

void CorrectSixLine(GameState& state, RandomGenerator& random) {
    const History& z = state.CorrectedSixLines;
    const int r = SixLineWindow(z, state.SpinCount);
    int32_t newest = random.Random(6) + 1;
    for (bool drew = true; drew;) {
        drew = false;
        for (int k = 2; k <= r + 1 && !drew; ++k) {
            if (z[k] == newest) {
                newest = random.Random(6) + 1;
                drew = true;
            }
        }
    }
    const int32_t real = std::as_const(state.SixLineHistory)[1];
    if (Contains(z, 2, r + 1, real)) {
        newest = real;
    }
    state.CorrectedSixLines[1] = newest;
}

}  // namespace

void CorrectSeries(GameState& state, RandomGenerator& random) {
    CorrectNumber(state, random);
    CorrectSixLine(state, random);
}

}  // namespace orbista

#include "systems/shared.h"

#include <utility>

namespace orbista {

bool DistinctValues::AddIfNew(int32_t value) {
    if (IsWheelNumber(value)) {
        if (wheel_[value]) {
            return false;
        }
        wheel_[value] = true;
        ++count_;
        return true;
    }
    for (int32_t i = 0; i < otherCount_; ++i) {
        if (others_[i] == value) {
            return false;
        }
    }
    if (otherCount_ == static_cast<int32_t>(others_.size())) {
        return false;
    }
    others_[otherCount_++] = value;
    ++count_;
    return true;
}

namespace {

// The walk shared by both look-backs. Nothing beyond the readable end can bring a new value
// (see LastReadableIndex), so running out there is running out of the game.
Lookback WalkBack(const History& series, int32_t n, int32_t a, bool zeroApart) {
    const int32_t end = ReadableEnd(n);
    DistinctValues seen;
    Lookback result;
    int32_t distinct = 0;
    while (distinct < a) {
        ++result.length;
        if (result.length > end) {
            result.length = n + 1;
            result.exhausted = true;
            return result;
        }
        const int32_t value = series[result.length];
        if (zeroApart && value == 0) {
            if (result.zeros == 0) {
                result.zeros = 1;
            }
            continue;
        }
        if (seen.AddIfNew(value)) {
            ++distinct;
        }
    }
    return result;
}

}  // namespace

Lookback DistinctLookback(const History& series, int32_t n, int32_t a) {
    return WalkBack(series, n, a, false);
}

Lookback SixLineLookback(const History& series, int32_t n, int32_t a) {
    return WalkBack(series, n, a, true);
}

double ExpectedDistinct(int32_t j, int32_t m) {
    const double values = m;
    double p = 1.0;
    for (int32_t i = 0; i < j; ++i) {
        const double next = p * (values - 1) / values;
        if (next == p) {
            break;  // p has settled (at the smallest value a double holds): the rest change nothing
        }
        p = next;
    }
    return values - values * p;
}

void BetNewestEntries(GameState& state, int32_t depth) {
    const int32_t last = ReadableEnd(depth);
    for (int32_t k = 1; k <= last; ++k) {
        const int32_t number = std::as_const(state.WorkingSeries)[k];
        if (IsWheelNumber(number)) {
            state.Stakes[number] = state.StakeLevel;
        }
    }
}

void BetSixLine(GameState& state, int32_t sixLine) {
    if (sixLine < 1 || sixLine > SixLineCount) {
        return;
    }
    for (const int32_t number : SixLineNumbers(sixLine)) {
        state.Stakes[number] = state.StakeLevel;
    }
}

}  // namespace orbista

#pragma once

#include <cstdint>

#include "session/comparison.h"
#include "session/intervals.h"

namespace orbista {

// Two systems on the same games: since both saw the same spins, the difference of their final
// balances game by game is far less noisy than the difference of two separate means.
struct PairFigures {
    SelectionSystem first = SelectionSystem::None;
    SelectionSystem second = SelectionSystem::None;
    int64_t games = 0;
    // The mean of (first's final balance - second's) over the games, its standard error and its
    // 95 % interval.
    double meanDifference = 0;
    double standardError = 0;
    Interval interval;
    Share firstAbove;  // games that the first system ended above the second
};

// The systems are given by their place in the plan.
PairFigures ComparePair(const ComparisonPlan& plan, const ComparisonResult& result, size_t first,
                        size_t second);

}  // namespace orbista

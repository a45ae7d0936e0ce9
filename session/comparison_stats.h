#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "session/comparison.h"

namespace orbista {

// What a fair single-zero wheel gives back per unit staked on straight-up numbers: 36 of 37
// outcomes lose the unit, one pays 36 with it, so -1/37 (-2.70%) whatever the system.
inline constexpr double FairWheelReturn = -1.0 / 37.0;

// The p-th percentile (0..100) of values sorted ascending, interpolated linearly between the
// two closest ranks (so the median of an even count is the mean of the middle two). 0 for no
// values.
double Percentile(std::span<const double> sorted, double p);

// The figures of one system over all its runs.
struct SystemFigures {
    SelectionSystem system = SelectionSystem::None;
    int64_t runs = 0;
    int64_t spins = 0;
    double meanFinal = 0;
    double medianFinal = 0;
    double p5Final = 0;
    double p95Final = 0;
    double shareBelowZero = 0;  // of the runs whose final total balance is below 0, 0..1
    double winStopsPerThousand = 0;
    double lossStopsPerThousand = 0;
    int64_t unitsStaked = 0;
    // What the total balance came to per unit staked, and its standard error; both 0 when
    // nothing was staked.
    double returnPerUnit = 0;
    double returnStandardError = 0;
    // Drawdown: how far the total balance fell below the start, in units (0 or more).
    double medianDrawdown = 0;
    double p95Drawdown = 0;
    int32_t highestStakeLevel = 0;
};

SystemFigures SummariseSystem(SelectionSystem system, std::span<const RunFigures> runs);

// The 5th, 50th and 95th percentile of the total balance over the runs, at every sample point.
struct BalanceCurves {
    std::vector<double> p5;
    std::vector<double> median;
    std::vector<double> p95;
};

BalanceCurves CurvesOf(std::span<const RunFigures> runs, size_t samples);

// Every system of the plan, best median final balance first; equal medians keep the plan's order.
std::vector<SystemFigures> RankedFigures(const ComparisonPlan& plan,
                                         const ComparisonResult& result);

}  // namespace orbista

#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "session/comparison.h"
#include "session/intervals.h"

namespace orbista {

// What a fair single-zero wheel gives back per unit staked on straight-up numbers: 36 of 37
// outcomes lose the unit, one pays 36 with it, so -1/37 (-2.70%) whatever the system.
inline constexpr double FairWheelReturn = -1.0 / 37.0;

// The p-th percentile (0..100) of values sorted ascending, interpolated linearly between the
// two closest ranks (so the median of an even count is the mean of the middle two). 0 for no
// values.
double Percentile(std::span<const double> sorted, double p);

// The figures of one system over all its runs, taken in the order of their games, so that the
// runs of a comparison read back from its CSV give the same figures to the last bit.
struct SystemFigures {
    SelectionSystem system = SelectionSystem::None;
    int64_t runs = 0;
    int64_t spins = 0;
    // The final total balance: its mean (the expected result of a game) with its standard error,
    // and its spread.
    double meanFinal = 0;
    double meanStandardError = 0;
    double medianFinal = 0;
    double p5Final = 0;
    double p95Final = 0;
    Share ahead;  // runs that ended above 0
    double winStopsPerThousand = 0;
    double lossStopsPerThousand = 0;
    int64_t unitsStaked = 0;
    double stakedPerThousand = 0;
    // What the total balance lost per 1,000 spins (below 0: won), beside what the house edge
    // takes of that stake: 1/37 of it.
    double lossPerThousand = 0;
    double edgeLossPerThousand = 0;
    // What the total balance came to per unit staked, and its standard error; both 0 when
    // nothing was staked.
    double returnPerUnit = 0;
    double returnStandardError = 0;
    // The bankroll the runs were played with (0: none, and nothing is ruined), the runs that
    // lost it, and among them the median and 90th percentile of the spin at which they did.
    int64_t bankroll = 0;
    Share ruin;
    double medianSpinOfRuin = 0;
    double p90SpinOfRuin = 0;
    // What 95 % and 99 % of the runs needed: percentiles of the depth below the start. At or
    // beyond `bankroll`, more than the bankroll.
    double bankrollFor95 = 0;
    double bankrollFor99 = 0;
    // The largest fall from a running peak, and the depth below the start (0 or more).
    double medianMaxDrawdown = 0;
    double p95MaxDrawdown = 0;
    double medianDepth = 0;
    double p95Depth = 0;
    int32_t highestStakeLevel = 0;

    // A system that staked nothing has no money figures: a row of zeros would read as a result.
    bool Bets() const { return unitsStaked > 0; }
    bool HasBankroll() const { return bankroll > 0; }
};

SystemFigures SummariseSystem(SelectionSystem system, std::span<const RunFigures> runs,
                              int64_t bankroll = 0);

// Every system of the plan, in the plan's order.
std::vector<SystemFigures> SummariseComparison(const ComparisonPlan& plan,
                                               const ComparisonResult& result);

}  // namespace orbista

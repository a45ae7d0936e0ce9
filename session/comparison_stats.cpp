#include "session/comparison_stats.h"

#include <algorithm>
#include <cmath>

namespace orbista {

namespace {

template <typename Value>
std::vector<double> SortedValues(std::span<const RunFigures> runs, Value value) {
    std::vector<double> values;
    values.reserve(runs.size());
    for (const RunFigures& run : runs) {
        values.push_back(static_cast<double>(value(run)));
    }
    std::sort(values.begin(), values.end());
    return values;
}

double PerThousand(double amount, int64_t spins) {
    return spins > 0 ? 1000.0 * amount / static_cast<double>(spins) : 0;
}

// The mean of the final balances, summed as whole numbers so that it is exact, and the standard
// error from their squared deviations, taken in sorted order so that it does not depend on the
// order of the runs.
void SetMean(SystemFigures& figures, std::span<const RunFigures> runs,
             std::span<const double> sortedFinals) {
    int64_t sum = 0;
    for (const RunFigures& run : runs) {
        sum += run.finalTotalBalance;
    }
    const double mean = static_cast<double>(sum) / static_cast<double>(runs.size());
    double squares = 0;
    for (const double value : sortedFinals) {
        squares += (value - mean) * (value - mean);
    }
    figures.meanFinal = mean;
    figures.meanStandardError = StandardErrorOfMean(squares, figures.runs);
}

void SetReturn(SystemFigures& figures, std::span<const RunFigures> runs) {
    int64_t net = 0;
    double netSquares = 0;
    double stakeSquares = 0;
    double netTimesStake = 0;
    for (const RunFigures& run : runs) {
        net += run.finalTotalBalance;
        netSquares += run.netSquares;
        stakeSquares += run.stakeSquares;
        netTimesStake += run.netTimesStake;
    }
    figures.lossPerThousand = PerThousand(static_cast<double>(-net), figures.spins);
    figures.edgeLossPerThousand = -FairWheelReturn * figures.stakedPerThousand;
    if (figures.unitsStaked > 0) {
        // The ratio of two sums, its error by linearisation: every spin's net result less what
        // the ratio expects of its stake, squared, summed, over the squared stakes.
        const double staked = static_cast<double>(figures.unitsStaked);
        const double ratio = static_cast<double>(net) / staked;
        const double residual =
            netSquares - 2 * ratio * netTimesStake + ratio * ratio * stakeSquares;
        figures.returnPerUnit = ratio;
        figures.returnStandardError = std::sqrt(std::max(residual, 0.0)) / staked;
    }
}

void SetRisk(SystemFigures& figures, std::span<const RunFigures> runs) {
    const std::vector<double> depths =
        SortedValues(runs, [](const RunFigures& run) { return run.DepthBelowStart(); });
    const std::vector<double> drawdowns =
        SortedValues(runs, [](const RunFigures& run) { return run.maxDrawdown; });
    figures.medianDepth = Percentile(depths, 50);
    figures.p95Depth = Percentile(depths, 95);
    figures.bankrollFor95 = figures.p95Depth;
    figures.bankrollFor99 = Percentile(depths, 99);
    figures.medianMaxDrawdown = Percentile(drawdowns, 50);
    figures.p95MaxDrawdown = Percentile(drawdowns, 95);

    std::vector<double> spinsOfRuin;
    for (const RunFigures& run : runs) {
        if (run.Ruined()) {
            spinsOfRuin.push_back(run.spinOfRuin);
        }
    }
    std::sort(spinsOfRuin.begin(), spinsOfRuin.end());
    figures.ruin = ShareWithInterval(static_cast<int64_t>(spinsOfRuin.size()), figures.runs);
    figures.medianSpinOfRuin = Percentile(spinsOfRuin, 50);
    figures.p90SpinOfRuin = Percentile(spinsOfRuin, 90);
}

}  // namespace

double Percentile(std::span<const double> sorted, double p) {
    if (sorted.empty()) {
        return 0;
    }
    const double rank = std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(sorted.size() - 1);
    const size_t below = static_cast<size_t>(std::floor(rank));
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = rank - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

SystemFigures SummariseSystem(SelectionSystem system, std::span<const RunFigures> runs,
                              int64_t bankroll) {
    SystemFigures figures;
    figures.system = system;
    figures.runs = static_cast<int64_t>(runs.size());
    figures.bankroll = bankroll;
    if (runs.empty()) {
        return figures;
    }
    int64_t ahead = 0;
    int64_t winStops = 0;
    int64_t lossStops = 0;
    for (const RunFigures& run : runs) {
        ahead += run.finalTotalBalance > 0 ? 1 : 0;
        figures.spins += run.spins;
        winStops += run.winStops;
        lossStops += run.lossStops;
        figures.unitsStaked += run.unitsStaked;
        figures.highestStakeLevel = std::max(figures.highestStakeLevel, run.highestStakeLevel);
    }
    const std::vector<double> finals =
        SortedValues(runs, [](const RunFigures& run) { return run.finalTotalBalance; });
    SetMean(figures, runs, finals);
    figures.medianFinal = Percentile(finals, 50);
    figures.p5Final = Percentile(finals, 5);
    figures.p95Final = Percentile(finals, 95);
    figures.ahead = ShareWithInterval(ahead, figures.runs);
    figures.winStopsPerThousand = PerThousand(static_cast<double>(winStops), figures.spins);
    figures.lossStopsPerThousand = PerThousand(static_cast<double>(lossStops), figures.spins);
    figures.stakedPerThousand =
        PerThousand(static_cast<double>(figures.unitsStaked), figures.spins);
    SetReturn(figures, runs);
    SetRisk(figures, runs);
    return figures;
}

std::vector<SystemFigures> SummariseComparison(const ComparisonPlan& plan,
                                               const ComparisonResult& result) {
    std::vector<SystemFigures> figures;
    for (size_t s = 0; s < result.runs.size(); ++s) {
        figures.push_back(SummariseSystem(plan.systems[s], result.runs[s], plan.bankroll));
    }
    return figures;
}

}  // namespace orbista

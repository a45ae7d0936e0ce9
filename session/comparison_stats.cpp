#include "session/comparison_stats.h"

#include <algorithm>
#include <cmath>

namespace orbista {

namespace {

std::vector<double> Sorted(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values;
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

SystemFigures SummariseSystem(SelectionSystem system, std::span<const RunFigures> runs) {
    SystemFigures figures;
    figures.system = system;
    figures.runs = static_cast<int64_t>(runs.size());
    if (runs.empty()) {
        return figures;
    }
    std::vector<double> finals;
    std::vector<double> drawdowns;
    int64_t belowZero = 0;
    int64_t winStops = 0;
    int64_t lossStops = 0;
    int64_t net = 0;
    double netSquares = 0;
    double stakeSquares = 0;
    double netTimesStake = 0;
    for (const RunFigures& run : runs) {
        finals.push_back(static_cast<double>(run.finalTotalBalance));
        drawdowns.push_back(static_cast<double>(-std::min<int64_t>(run.lowestTotalBalance, 0)));
        belowZero += run.finalTotalBalance < 0 ? 1 : 0;
        figures.spins += run.spins;
        winStops += run.winStops;
        lossStops += run.lossStops;
        figures.unitsStaked += run.unitsStaked;
        net += run.finalTotalBalance;
        netSquares += run.netSquares;
        stakeSquares += run.stakeSquares;
        netTimesStake += run.netTimesStake;
        figures.highestStakeLevel = std::max(figures.highestStakeLevel, run.highestStakeLevel);
    }
    double sum = 0;
    for (const double value : finals) {
        sum += value;
    }
    const std::vector<double> sortedFinals = Sorted(finals);
    const std::vector<double> sortedDrawdowns = Sorted(drawdowns);
    figures.meanFinal = sum / static_cast<double>(runs.size());
    figures.medianFinal = Percentile(sortedFinals, 50);
    figures.p5Final = Percentile(sortedFinals, 5);
    figures.p95Final = Percentile(sortedFinals, 95);
    figures.shareBelowZero = static_cast<double>(belowZero) / static_cast<double>(runs.size());
    if (figures.spins > 0) {
        figures.winStopsPerThousand =
            1000.0 * static_cast<double>(winStops) / static_cast<double>(figures.spins);
        figures.lossStopsPerThousand =
            1000.0 * static_cast<double>(lossStops) / static_cast<double>(figures.spins);
    }
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
    figures.medianDrawdown = Percentile(sortedDrawdowns, 50);
    figures.p95Drawdown = Percentile(sortedDrawdowns, 95);
    return figures;
}

BalanceCurves CurvesOf(std::span<const RunFigures> runs, size_t samples) {
    BalanceCurves curves;
    std::vector<double> values(runs.size());
    for (size_t j = 0; j < samples; ++j) {
        for (size_t i = 0; i < runs.size(); ++i) {
            values[i] = j < runs[i].balanceSamples.size() ? runs[i].balanceSamples[j] : 0;
        }
        std::sort(values.begin(), values.end());
        curves.p5.push_back(Percentile(values, 5));
        curves.median.push_back(Percentile(values, 50));
        curves.p95.push_back(Percentile(values, 95));
    }
    return curves;
}

std::vector<SystemFigures> RankedFigures(const ComparisonPlan& plan,
                                         const ComparisonResult& result) {
    std::vector<SystemFigures> figures;
    for (size_t s = 0; s < result.runs.size(); ++s) {
        figures.push_back(SummariseSystem(plan.systems[s], result.runs[s]));
    }
    std::stable_sort(figures.begin(), figures.end(),
                     [](const SystemFigures& a, const SystemFigures& b) {
                         return a.medianFinal > b.medianFinal;
                     });
    return figures;
}

}  // namespace orbista

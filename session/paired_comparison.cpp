#include "session/paired_comparison.h"

#include <algorithm>
#include <vector>

namespace orbista {

PairFigures ComparePair(const ComparisonPlan& plan, const ComparisonResult& result, size_t first,
                        size_t second) {
    PairFigures pair;
    pair.first = plan.systems[first];
    pair.second = plan.systems[second];
    const std::vector<RunFigures>& a = result.runs[first];
    const std::vector<RunFigures>& b = result.runs[second];
    pair.games = static_cast<int64_t>(std::min(a.size(), b.size()));
    if (pair.games == 0) {
        return pair;
    }
    std::vector<double> differences;
    int64_t sum = 0;
    int64_t above = 0;
    for (size_t i = 0; i < static_cast<size_t>(pair.games); ++i) {
        const int64_t difference = int64_t{a[i].finalTotalBalance} - b[i].finalTotalBalance;
        differences.push_back(static_cast<double>(difference));
        sum += difference;
        above += difference > 0 ? 1 : 0;
    }
    pair.meanDifference = static_cast<double>(sum) / static_cast<double>(pair.games);
    double squares = 0;
    for (const double difference : differences) {
        squares += (difference - pair.meanDifference) * (difference - pair.meanDifference);
    }
    pair.standardError = StandardErrorOfMean(squares, pair.games);
    pair.interval = MeanInterval(pair.meanDifference, pair.standardError, pair.games);
    pair.firstAbove = ShareWithInterval(above, pair.games);
    return pair;
}

}  // namespace orbista

#include "session/intervals.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

namespace orbista {

Share ShareWithInterval(int64_t count, int64_t of, double confidence) {
    Share result;
    result.count = count;
    result.of = of;
    if (of <= 0) {
        result.interval = {0, 1};
        return result;
    }
    const double n = static_cast<double>(of);
    const double p = static_cast<double>(count) / n;
    const double z =
        boost::math::quantile(boost::math::normal_distribution<double>(), (1 + confidence) / 2);
    const double z2 = z * z;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    result.value = p;
    // The bounds are exact at 0 and 1 in theory; rounding must not put them a hair outside.
    result.interval = {std::max(0.0, centre - half), std::min(1.0, centre + half)};
    return result;
}

Interval MeanInterval(double mean, double standardError, int64_t n, double confidence) {
    if (n < 2) {
        return {mean, mean};
    }
    const boost::math::students_t_distribution<double> t(static_cast<double>(n - 1));
    const double half = boost::math::quantile(t, (1 + confidence) / 2) * standardError;
    return {mean - half, mean + half};
}

double StandardErrorOfMean(double squaredDeviations, int64_t n) {
    if (n < 2) {
        return 0;
    }
    const double count = static_cast<double>(n);
    return std::sqrt(squaredDeviations / (count - 1) / count);
}

}  // namespace orbista

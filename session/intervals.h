#pragma once

#include <cstdint>

namespace orbista {

// How sure a figure is: the range that holds the true value with the given confidence.
struct Interval {
    double low = 0;
    double high = 0;
};

inline constexpr double Confidence95 = 0.95;

// A share of runs (ruined, ahead at the end, ending at a stop) with its Wilson score interval,
// which stays inside 0..1 and stays honest for shares near 0 or 1 and for few runs, where the plain
// p ± z·se does not: 0 of 20 runs ruined still allows a risk of up to 16 %. No trials: a share of
// 0 that may be anything, 0..1.
struct Share {
    int64_t count = 0;
    int64_t of = 0;
    double value = 0;
    Interval interval;
};

Share ShareWithInterval(int64_t count, int64_t of, double confidence = Confidence95);

// The interval of a mean of n values from their standard error, by Student's t with n - 1
// degrees of freedom. Fewer than two values: the mean alone.
Interval MeanInterval(double mean, double standardError, int64_t n,
                      double confidence = Confidence95);

// The standard error of the mean of values whose squared deviations from their mean sum to
// `squaredDeviations`: the sample standard deviation (n - 1) over the root of n. 0 below two.
double StandardErrorOfMean(double squaredDeviations, int64_t n);

}  // namespace orbista

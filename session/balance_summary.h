#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orbista {

// The total balances of many runs at one point of the game, kept as counts in buckets so that the
// memory does not grow with the runs: every whole value within ±ExactBelow has a bucket of its
// own, and beyond, each octave (64..127, 128..255, ...) is cut into SubBuckets buckets, about 3 %
// of the value wide. A quantile read from it is exact within ±ExactBelow and off by less than a
// bucket's width beyond, which is below what a plot's pixel shows. The counts do not depend on
// the order of the runs.
class BalanceSummary {
  public:
    static constexpr int64_t ExactBelow = 64;
    static constexpr int SubBuckets = 32;

    void Add(int64_t value);
    int64_t Count() const { return count_; }
    // The p-th percentile (0..100) by the rule of Percentile: linear between the two closest
    // ranks. Within a bucket of several values its runs are taken as spread evenly over it. 0 when
    // empty.
    double Quantile(double p) const;

  private:
    static int32_t BucketOf(int64_t value);
    // The lowest and the highest value a bucket holds.
    static std::pair<double, double> ValuesOf(int32_t bucket);
    // The k-th smallest value added (0-based).
    double OrderStatistic(int64_t k) const;

    int32_t first_ = 0;             // the bucket of counts_[0]
    std::vector<uint32_t> counts_;  // the buckets from first_ up to the highest one used
    int64_t count_ = 0;
};

// The 5th, 50th and 95th percentile of the total balance over the runs, at every sample point.
struct BalanceCurves {
    std::vector<double> p5;
    std::vector<double> median;
    std::vector<double> p95;
};

// One summary per sample point of a system's runs: the bands of the balance over the game.
class BalanceBands {
  public:
    explicit BalanceBands(size_t points = 0) : points_(points) {}

    // A run's total balance at every sample point, in their order.
    void AddRun(std::span<const int32_t> samples);
    BalanceCurves Curves() const;

  private:
    std::vector<BalanceSummary> points_;
};

}  // namespace orbista

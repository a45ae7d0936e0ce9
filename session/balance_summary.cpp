#include "session/balance_summary.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace orbista {

namespace {

constexpr int ExactBits = std::bit_width(static_cast<uint64_t>(BalanceSummary::ExactBelow)) - 1;
constexpr int SubBits = std::bit_width(static_cast<uint64_t>(BalanceSummary::SubBuckets)) - 1;
static_assert(int64_t{1} << ExactBits == BalanceSummary::ExactBelow);
static_assert(1 << SubBits == BalanceSummary::SubBuckets);
static_assert(ExactBits >= SubBits);

}  // namespace

int32_t BalanceSummary::BucketOf(int64_t value) {
    if (value < 0) {
        return -BucketOf(-value);
    }
    if (value < ExactBelow) {
        return static_cast<int32_t>(value);
    }
    // The bits after the leading one, as many as SubBits, say where in its octave the value is.
    const int octave = std::bit_width(static_cast<uint64_t>(value)) - 1;
    const int64_t within = (value >> (octave - SubBits)) - SubBuckets;
    return static_cast<int32_t>(ExactBelow + (octave - ExactBits) * SubBuckets + within);
}

std::pair<double, double> BalanceSummary::ValuesOf(int32_t bucket) {
    if (bucket < 0) {
        const auto [low, high] = ValuesOf(-bucket);
        return {-high, -low};
    }
    if (bucket < ExactBelow) {
        return {bucket, bucket};
    }
    const int64_t above = bucket - ExactBelow;
    const int octave = static_cast<int>(above / SubBuckets) + ExactBits;
    const int64_t within = above % SubBuckets;
    const int shift = octave - SubBits;
    const int64_t low = (SubBuckets + within) << shift;
    return {static_cast<double>(low), static_cast<double>(low + (int64_t{1} << shift) - 1)};
}

void BalanceSummary::Add(int64_t value) {
    const int32_t bucket = BucketOf(value);
    if (counts_.empty()) {
        first_ = bucket;
        counts_.assign(1, 0);
    } else if (bucket < first_) {
        // Grown with room to spare, so that a range widening step by step moves its counts seldom.
        const int32_t room =
            std::max<int32_t>(first_ - bucket, static_cast<int32_t>(counts_.size() / 2));
        counts_.insert(counts_.begin(), static_cast<size_t>(room), 0);
        first_ -= room;
    } else if (bucket - first_ >= static_cast<int32_t>(counts_.size())) {
        const size_t needed = static_cast<size_t>(bucket - first_) + 1;
        counts_.resize(std::max(needed, counts_.size() + counts_.size() / 2), 0);
    }
    ++counts_[static_cast<size_t>(bucket - first_)];
    ++count_;
}

double BalanceSummary::OrderStatistic(int64_t k) const {
    int64_t before = 0;
    for (size_t i = 0; i < counts_.size(); ++i) {
        const int64_t inBucket = counts_[i];
        if (k < before + inBucket) {
            const auto [low, high] = ValuesOf(first_ + static_cast<int32_t>(i));
            const double position =
                (static_cast<double>(k - before) + 0.5) / static_cast<double>(inBucket);
            return low == high ? low : low + (high - low) * position;
        }
        before += inBucket;
    }
    return 0;
}

double BalanceSummary::Quantile(double p) const {
    if (count_ == 0) {
        return 0;
    }
    const double rank = std::clamp(p, 0.0, 100.0) / 100.0 * static_cast<double>(count_ - 1);
    const int64_t below = static_cast<int64_t>(std::floor(rank));
    const double fraction = rank - static_cast<double>(below);
    const double low = OrderStatistic(below);
    return fraction == 0 ? low
                         : low + fraction * (OrderStatistic(std::min(below + 1, count_ - 1)) - low);
}

void BalanceBands::AddRun(std::span<const int32_t> samples) {
    const size_t count = std::min(samples.size(), points_.size());
    for (size_t j = 0; j < count; ++j) {
        points_[j].Add(samples[j]);
    }
}

BalanceCurves BalanceBands::Curves() const {
    BalanceCurves curves;
    for (const BalanceSummary& point : points_) {
        curves.p5.push_back(point.Quantile(5));
        curves.median.push_back(point.Quantile(50));
        curves.p95.push_back(point.Quantile(95));
    }
    return curves;
}

}  // namespace orbista

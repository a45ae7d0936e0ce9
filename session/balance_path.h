#pragma once

#include <algorithm>
#include <cstdint>

namespace orbista {

// Follows the total balance of one run spin by spin: how deep it went below the start, its largest
// fall from a running peak, and the spin at which a bankroll of `bankroll` units was gone.
//
// The start (0) counts as a peak, so a run that only loses has a drawdown equal to its depth; a run
// that rises to +3,000 and falls to +100 has a depth of 0 and a drawdown of 2,900.
class BalancePath {
  public:
    // bankroll: what the player brings; a run is ruined at the first spin whose total balance is
    // at or below -bankroll. 0: no bankroll, never ruined.
    explicit BalancePath(int64_t bankroll) : bankroll_(bankroll) {}

    // The total balance after spin `spin` (1-based); false when this spin ruined the run, which
    // then stops: a broke player plays no more.
    bool Follow(int64_t spin, int64_t total) {
        lowest_ = std::min(lowest_, total);
        peak_ = std::max(peak_, total);
        maxDrawdown_ = std::max(maxDrawdown_, peak_ - total);
        if (bankroll_ > 0 && spinOfRuin_ == 0 && total <= -bankroll_) {
            spinOfRuin_ = spin;
        }
        return spinOfRuin_ == 0;
    }

    int64_t Lowest() const { return lowest_; }  // 0 when it never went below the start
    int64_t DepthBelowStart() const { return -lowest_; }
    int64_t MaxDrawdown() const { return maxDrawdown_; }
    bool Ruined() const { return spinOfRuin_ != 0; }
    int64_t SpinOfRuin() const { return spinOfRuin_; }  // 0 when not ruined

  private:
    int64_t bankroll_;
    int64_t lowest_ = 0;
    int64_t peak_ = 0;
    int64_t maxDrawdown_ = 0;
    int64_t spinOfRuin_ = 0;
};

}  // namespace orbista

#include "systems/progression.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace orbista {

namespace {

// The comparison in the order the rule is written: n*L + deficit share + bonus.
bool StakeWinsBack(int64_t level, int32_t n, double share, double bonus) {
    return static_cast<double>(36 * level) > static_cast<double>(n * level) + share + bonus;
}

// Trying L = 0, 1, 2, ... in turn gives the first L that passes the test; starting the walk near
// target / (36 - n) finds the same L without walking up from 0 for a large deficit.
int32_t SmallestWinningLevel(int32_t n, double share, double bonus) {
    if (n >= 36) {
        return 0;
    }
    int64_t level = 0;
    const double target = share + bonus;
    if (target > 0) {
        level = static_cast<int64_t>(std::floor(target / (36 - n)));
        while (level > 0 && StakeWinsBack(level - 1, n, share, bonus)) {
            --level;
        }
    }
    while (!StakeWinsBack(level, n, share, bonus)) {
        ++level;
    }
    return static_cast<int32_t>(std::min<int64_t>(level, INT32_MAX));
}

double DeficitShare(const GameState& state) {
    return static_cast<double>(int64_t{state.ProgressionSteepness} * state.Deficit) / 10.0;
}

}  // namespace

int32_t StakeLevelRule(const GameState& state, int32_t n) {
    return SmallestWinningLevel(n, DeficitShare(state), state.WinBonus);
}

int32_t StakeLevelRuleWithoutBonus(const GameState& state, int32_t n) {
    return SmallestWinningLevel(n, DeficitShare(state), 0.0);
}

}  // namespace orbista

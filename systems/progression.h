#pragma once

#include <cstdint>

#include "model/game_state.h"

namespace orbista {

// The stake per number for a recommendation of n numbers: the smallest L >= 0 with
//   36*L > n*L + ProgressionSteepness*Deficit/10 + WinBonus   (real arithmetic),
// so that one win pays the table, the chosen share of the deficit and the bonus. No stake can do
// that for 36 numbers or more, so nothing is bet then (0).
int32_t StakeLevelRule(const GameState& state, int32_t n);

// The same rule without the WinBonus term, as the random-numbers system sizes its stake.
int32_t StakeLevelRuleWithoutBonus(const GameState& state, int32_t n);

}  // namespace orbista

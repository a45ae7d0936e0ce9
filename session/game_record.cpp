#include "session/game_record.h"

#include <algorithm>

namespace orbista {

void GameRecord::BeforeCycle(const GameState& state) {
    spinCountBefore_ = state.SpinCount;
    stakesBefore_ = state.Stakes;
}

void GameRecord::AfterCycle(const GameState& state) {
    if (state.SpinCount == 0) {
        rows_.clear();
        firstSpin_ = 1;
    } else if (state.SpinCount == spinCountBefore_ + 1) {
        GameCsvRow row;
        row.number = state.SpinHistory[1];
        // As the cycle settles: every stake above 0 comes off, a hit pays 36 per unit.
        for (int n = 0; n < NumberCount; ++n) {
            row.stake += std::max(stakesBefore_[n], 0);
        }
        const int32_t onNumber = stakesBefore_[static_cast<size_t>(row.number)];
        row.result = (onNumber >= 1 ? 36 * int64_t{onNumber} : 0) - row.stake;
        row.gameBalance = state.BalanceHistory[1];
        rows_.push_back(row);
        // No more than the game state itself keeps.
        if (rows_.size() > static_cast<size_t>(KeptSpins)) {
            rows_.pop_front();
            ++firstSpin_;
        }
    } else if (state.SpinCount == spinCountBefore_ - 1 && !rows_.empty()) {
        rows_.pop_back();
    }
}

}  // namespace orbista

#include "model/game_state.h"

#include <algorithm>

namespace orbista {

std::array<History*, 6> PerSpinArrays(GameState& state) {
    return {&state.SpinHistory,       &state.CorrectedNumbers, &state.SixLineHistory,
            &state.CorrectedSixLines, &state.BalanceHistory,   &state.StakeHistory};
}

void ShiftHistoryUp(GameState& state) {
    const auto t = static_cast<int32_t>(std::clamp<int64_t>(state.SpinCount, 0, HistoryShiftLimit));
    for (History* history : PerSpinArrays(state)) {
        history->ShiftUp(t);
    }
}

void ShiftHistoryDown(GameState& state) {
    const int64_t c = state.SpinCount;
    if (c < 0) {
        return;
    }
    const auto last = static_cast<int32_t>(std::min<int64_t>(c, HistoryShiftLimit) + 1);
    for (History* history : PerSpinArrays(state)) {
        history->ShiftDown(last);
    }
}

int32_t PlacedStakes(const GameState& state) {
    int32_t sum = 0;
    for (int n = 0; n < NumberCount; ++n) {
        sum += state.Stakes[n];
    }
    return sum;
}

}  // namespace orbista

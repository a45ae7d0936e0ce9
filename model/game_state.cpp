#include "model/game_state.h"

#include <algorithm>
#include <cstring>

namespace orbista {

std::array<History*, 6> PerSpinArrays(GameState& state) {
    return {&state.SpinHistory,       &state.CorrectedNumbers, &state.SixLineHistory,
            &state.CorrectedSixLines, &state.BalanceHistory,   &state.StakeHistory};
}

void ShiftHistoryUp(GameState& state) {
    // a[k+1] := a[k] for k = t down to 0: one overlapping move of t+1 entries.
    const int32_t t = std::clamp(state.SpinCount, 0, HistoryShiftLimit);
    for (History* history : PerSpinArrays(state)) {
        std::memmove(history->data() + 1, history->data(), sizeof(int32_t) * (t + 1));
    }
}

void ShiftHistoryDown(GameState& state) {
    // a[k-1] := a[k] for k = 1 up to min(c, 100000) + 1; the old end stays, now twice.
    const int32_t c = state.SpinCount;
    if (c < 0) {
        return;
    }
    const int32_t last = std::min(c, HistoryShiftLimit) + 1;
    for (History* history : PerSpinArrays(state)) {
        std::memmove(history->data(), history->data() + 1, sizeof(int32_t) * last);
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

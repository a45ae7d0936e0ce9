#include "storage/game_csv.h"

#include <algorithm>

namespace orbista {

std::string GameCsv(const GameState& state) {
    std::string csv = "spin,number,game_balance,stake\n";
    const auto kept = static_cast<int32_t>(std::clamp<int64_t>(state.SpinCount, 0, KeptSpins));
    const int64_t first = state.SpinCount - kept + 1;
    for (int32_t k = kept; k >= 1; --k) {
        csv += std::to_string(first + kept - k) + "," + std::to_string(state.SpinHistory[k]) + "," +
               std::to_string(state.BalanceHistory[k]) + "," +
               std::to_string(state.StakeHistory[k]) + "\n";
    }
    return csv;
}

}  // namespace orbista

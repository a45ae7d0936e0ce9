#include "storage/game_csv.h"

#include <algorithm>

namespace orbista {

std::string GameCsv(const GameState& state) {
    std::string csv = "spin,number,game_balance,stake\n";
    const int32_t kept = std::clamp(state.SpinCount, 0, KeptSpins);
    const int32_t first = state.SpinCount - kept + 1;
    for (int32_t k = kept; k >= 1; --k) {
        csv += std::to_string(first + kept - k) + "," + std::to_string(state.SpinHistory[k]) + "," +
               std::to_string(state.BalanceHistory[k]) + "," +
               std::to_string(state.StakeHistory[k]) + "\n";
    }
    return csv;
}

}  // namespace orbista

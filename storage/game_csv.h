#pragma once

#include <string>

#include "model/game_state.h"

namespace orbista {

// The game in progress as CSV, oldest spin first: its number, the game balance after it
// (BalanceHistory) and the units recommended at it for the next spin (StakeHistory). A game
// longer than the history yields its newest KeptSpins spins.
std::string GameCsv(const GameState& state);

}  // namespace orbista

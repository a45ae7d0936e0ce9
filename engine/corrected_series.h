#pragma once

#include "model/game_state.h"
#include "model/random.h"

namespace orbista {

// Appends one entry to each corrected series for the spin just entered (index 1 of the histories
// already shifted and set). A corrected value repeats a value of its recent window only when the
// real spin repeats it; otherwise it is a draw outside that window.
void CorrectSeries(GameState& state, RandomGenerator& random);

}  // namespace orbista

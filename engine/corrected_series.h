#pragma once

#include "model/first_appearances.h"
#include "model/game_state.h"
#include "model/random.h"

namespace orbista {

// Appends one entry to each corrected series for the spin just entered (index 1 of the histories
// already shifted and set). A corrected value repeats a value of its recent window only when the
// real spin repeats it; otherwise it is a draw outside that window.
void CorrectSeries(GameState& state, RandomGenerator& random);

// CorrectSeries for a cycle that runs at every spin: the windows' look-up tables are kept from one
// spin to the next, where clearing them afresh would cost as much as a draw. Each look-up starts
// over from what it finds, so the values are those of CorrectSeries.
class SeriesCorrector {
  public:
    void Correct(GameState& state, RandomGenerator& random);

  private:
    FirstAppearances numberRange_;
    FirstAppearances sixLineRange_;
};

}  // namespace orbista

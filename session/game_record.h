#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "model/game_state.h"
#include "storage/game_csv.h"

namespace orbista {

// The spins of the game in progress as the game CSV lists them: each with the units that stood on
// the table when it came and what it paid back less those units. The game state keeps only what
// the next recommendation needs (its stake history holds what was recommended after a spin, not
// what stood on it), so the window keeps this record beside it, looking at the state before and
// after every cycle.
class GameRecord {
  public:
    // Before a cycle: the stakes on the table now are what a spin entered by it settles.
    void BeforeCycle(const GameState& state);
    // After it: an entered spin adds its row, a cancel takes the newest back, and a game that
    // ended (a new game, a stop) leaves none. A cycle that changed nothing adds nothing.
    void AfterCycle(const GameState& state);

    std::string Csv() const { return GameCsv(rows_, firstSpin_); }

  private:
    std::deque<GameCsvRow> rows_;
    int64_t firstSpin_ = 1;
    int64_t spinCountBefore_ = 0;
    StakeArray stakesBefore_{};
};

}  // namespace orbista

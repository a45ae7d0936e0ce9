#pragma once

#include "model/game_state.h"

namespace orbista {

// Where the spins of a finished game are kept. The engine hands over every game of two or more
// spins as it ends; a sink that cannot keep them throws FileError, which the engine reports.
class AutosaveSink {
  public:
    virtual ~AutosaveSink() = default;
    virtual void SaveFinishedGame(const GameState& state) = 0;
};

}  // namespace orbista

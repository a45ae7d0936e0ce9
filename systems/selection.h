#pragma once

#include "model/check_file.h"
#include "model/game_state.h"
#include "model/random.h"
#include "model/settings_model.h"

namespace orbista {

// What a selection system works with: the game state (its recommendation fields are the
// system's output), the settings as the window shows them, the program's random generator and
// the place its check file goes.
struct SelectionContext {
    GameState& state;
    const SettingsModel& settings;
    RandomGenerator& random;
    CheckFileSink& checkFiles;
};

// Runs the checked system of the "Методики" tab once the game has passed the skipped first spins.
// The cycle has cleared Stakes and taken the per-cycle settings copies before.
void RunSelectionSystem(SelectionContext& context);

}  // namespace orbista

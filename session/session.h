#pragma once

#include <filesystem>
#include <optional>

#include "engine/engine.h"
#include "model/check_file.h"
#include "model/game_state.h"
#include "model/main_window_view.h"
#include "model/random.h"
#include "model/settings_model.h"
#include "storage/autosave_folder.h"
#include "storage/check_file_folder.h"

namespace orbista {

// What differs between the games that the window, a headless run and a test play: where the game
// is kept, where its settings are read, where it is shown and where its draws come from. Each
// must outlive the session built on it.
struct GameParts {
    GameState& state;
    SettingsModel& settings;
    MainWindowView& view;
    RandomGenerator& random;
};

// The object graph of one game, built in this one place: the check files, the autosaves and the
// engine that plays the game through them. The window, every headless run, the benchmarks and the
// tests build their games here, so that a new collaborator of the engine is wired once.
class Session {
    // Before the engine, which is handed it: members are built in the order they are declared.
    std::optional<CheckFileFolder> checkFolder_;

  public:
    // The check files go into the current folder, written in the given way, until told otherwise.
    Session(GameParts parts, CheckFileWrites writes);
    // The check files go to the caller's sink (a test keeps them in memory); it must outlive the
    // session.
    Session(GameParts parts, CheckFileSink& checkFiles);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The folder of the check files; only a session that writes its own has one.
    CheckFileFolder& CheckFiles() { return *checkFolder_; }

    AutosaveFolder autosaves;
    Engine engine;

  private:
    Session(GameParts parts, std::optional<CheckFileWrites> writes, CheckFileSink* checkFiles);
};

}  // namespace orbista

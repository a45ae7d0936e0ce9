#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/game_state.h"
#include "model/random.h"
#include "model/settings_model.h"
#include "session/session.h"
#include "storage/autosave_folder.h"
#include "storage/check_file_folder.h"

namespace orbista {

// A game of its own with an engine that plays it without a window: the settings in memory, a view
// that records its messages instead of waiting, a pause after a win that takes no time, and a
// random generator used by this run's thread only. The simulator, the comparison's runs, the
// benchmarks and the fuzzers each own one; runs share nothing, so they may run in parallel.
// Started up and ready for its first spin when constructed.
class HeadlessRun {
  public:
    // seed: the run repeats itself exactly (none: seeded from the clock). checkFolder: where the
    // systems' check files go, rewritten in place (none: they are not written). autosaveFolder:
    // where finished games are autosaved (none: they are not).
    explicit HeadlessRun(std::optional<uint64_t> seed,
                         std::optional<std::filesystem::path> checkFolder = std::nullopt,
                         std::optional<std::filesystem::path> autosaveFolder = std::nullopt);
    // A run that writes no files and whose game takes its per-spin arrays from blocks and gives
    // them back when done: one of many runs played one after another on one thread.
    HeadlessRun(uint64_t seed, ZeroedBlocks& blocks);
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    // The game is large (its per-spin arrays), so it lives on the heap.
    std::unique_ptr<GameState> state;
    MemorySettings settings;
    HeadlessView view;
    RandomGenerator random{RandomGenerator::Sharing::OneThread};
    Session session{{*state, settings, view, random}, CheckFileWrites::InPlace};
    CheckFileFolder& checkFiles = session.CheckFiles();
    AutosaveFolder& autosaves = session.autosaves;
    Engine& engine = session.engine;

  private:
    HeadlessRun(std::unique_ptr<GameState> game, std::optional<uint64_t> seed,
                std::optional<std::filesystem::path> checkFolder,
                std::optional<std::filesystem::path> autosaveFolder);
};

}  // namespace orbista

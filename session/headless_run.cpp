#include "session/headless_run.h"

#include <chrono>
#include <utility>

namespace orbista {

HeadlessRun::HeadlessRun(std::optional<uint64_t> seed,
                         std::optional<std::filesystem::path> checkFolder,
                         std::optional<std::filesystem::path> autosaveFolder)
    : HeadlessRun(std::make_unique<GameState>(), seed, std::move(checkFolder),
                  std::move(autosaveFolder)) {}

HeadlessRun::HeadlessRun(uint64_t seed, ZeroedBlocks& blocks)
    : HeadlessRun(std::make_unique<GameState>(&blocks), seed, std::nullopt, std::nullopt) {}

HeadlessRun::HeadlessRun(std::unique_ptr<GameState> game, std::optional<uint64_t> seed,
                         std::optional<std::filesystem::path> checkFolder,
                         std::optional<std::filesystem::path> autosaveFolder)
    : state(std::move(game)) {
    if (checkFolder) {
        checkFiles.SetFolder(*checkFolder);
    }
    autosaves.SetFolder(std::move(autosaveFolder));
    if (seed) {
        random.Seed(*seed);
    }
    checkFiles.SetWritten(checkFolder.has_value());
    engine.SetPauseAfterWinMessage(std::chrono::milliseconds(0));
    engine.StartUp();
}

}  // namespace orbista

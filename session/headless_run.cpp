#include "session/headless_run.h"

#include <chrono>
#include <utility>

namespace orbista {

HeadlessRun::HeadlessRun(std::optional<uint64_t> seed,
                         std::optional<std::filesystem::path> checkFolder,
                         std::optional<std::filesystem::path> autosaveFolder)
    : state(std::make_unique<GameState>()) {
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

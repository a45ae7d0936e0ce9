#include "storage/autosave_folder.h"

#include <utility>

namespace orbista {

AutosaveFolder::AutosaveFolder(std::optional<std::filesystem::path> folder, LocalClock clock)
    : folder_(std::move(folder)), clock_(std::move(clock)), fileSystem_(&SystemFileSystem()) {}

void AutosaveFolder::SetFolder(std::optional<std::filesystem::path> folder) {
    folder_ = std::move(folder);
}

void AutosaveFolder::SetClock(LocalClock clock) {
    clock_ = std::move(clock);
}

void AutosaveFolder::SetFileSystem(FileSystem& fileSystem) {
    fileSystem_ = &fileSystem;
}

void AutosaveFolder::SaveFinishedGame(const GameState& state) {
    if (folder_) {
        AutosaveSpins(state, *folder_, clock_(), *fileSystem_);
    }
}

}  // namespace orbista

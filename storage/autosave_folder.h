#pragma once

#include <filesystem>
#include <optional>

#include "model/autosave_sink.h"
#include "storage/autosave.h"

namespace orbista {

// The finished games, saved by AutosaveSpins into a folder (the window's "Autosave") under a name
// of the time `clock` gives. Without a folder nothing is saved, as in the simulator by default.
class AutosaveFolder : public AutosaveSink {
  public:
    explicit AutosaveFolder(std::optional<std::filesystem::path> folder = std::nullopt,
                            LocalClock clock = LocalNow);

    void SetFolder(std::optional<std::filesystem::path> folder);
    // The tests and the simulator give a fixed time; the system's clock otherwise.
    void SetClock(LocalClock clock);
    // Where the files are written (the operating system's files unless set); it must outlive
    // this object.
    void SetFileSystem(FileSystem& fileSystem);
    void SaveFinishedGame(const GameState& state) override;

  private:
    std::optional<std::filesystem::path> folder_;
    LocalClock clock_;
    FileSystem* fileSystem_;
};

}  // namespace orbista

#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "session/session.h"
#include "session/start_and_close.h"
#include "storage/autosave_folder.h"
#include "storage/check_file_folder.h"
#include "storage/settings_file.h"
#include "storage/text_file.h"

namespace orbista {

// One run of the program over a program folder, as the window runs it: created (the settings file
// read and shown), played, then closed. Every file goes through `files`; the autosaves are named
// by a fixed time.
class ProgramRun {
  public:
    explicit ProgramRun(const std::filesystem::path& folder, FileSystem& files = SystemFileSystem())
        : file_(folder, files) {
        session_.CheckFiles().SetFileSystem(files);
        session_.CheckFiles().SetFolder(folder);
        session_.autosaves.SetFileSystem(files);
        session_.autosaves.SetFolder(folder / "Autosave");
        session_.autosaves.SetClock([] { return LocalDateTime{2026, 12, 8, 3, 54, 30}; });
        engine_.SetPauseAfterWinMessage(std::chrono::milliseconds(0));
        StartProgram(engine_, settings_, file_, view_);
    }
    void Close() { CloseProgram(engine_, settings_, file_, view_); }

    std::unique_ptr<GameState> state_ = std::make_unique<GameState>();
    MemorySettings settings_;
    HeadlessView view_;
    RandomGenerator random_;
    SettingsFile file_;
    Session session_{{*state_, settings_, view_, random_}, CheckFileWrites::Replaced};
    Engine& engine_ = session_.engine;
};

}  // namespace orbista

#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "ui/message_box.h"

class QWidget;

namespace orbista {

// The help file of "Описание программы": beside the executable (the build tree, a copy of the
// program in a folder of its own), else where the package installs it, ../share/orbista. When
// neither exists, the one beside the executable.
std::filesystem::path FindHelpFile(const std::filesystem::path& executableFolder);

// Starts a viewer on the file and returns at once: xchm when it is installed, else the desktop's
// program for the file's type. Returns false when no viewer could be started.
using HelpViewerStarter = std::function<bool(const QString& path)>;
bool StartHelpViewer(const QString& path);

// The viewer the window started, kept so that the help is open once: while that viewer still
// shows the file, showing it again brings its window to the front instead of starting another.
class HelpViewer {
  public:
    // Starts a viewer on the file: its process id; 0 when something was started that cannot be
    // followed (the desktop's own program); nothing when no viewer could be started.
    using Launch = std::function<std::optional<int64_t>(const QString& path)>;
    // Whether that process still runs with the file open.
    using StillShows = std::function<bool(int64_t pid, const QString& path)>;
    using BringToFront = std::function<void(int64_t pid)>;

    HelpViewer();
    HelpViewer(Launch launch, StillShows stillShows, BringToFront bringToFront);

    // A HelpViewerStarter.
    bool Show(const QString& path);

  private:
    Launch launch_;
    StillShows stillShows_;
    BringToFront bringToFront_;
    int64_t pid_ = 0;
};

// Opens the help file; a missing file or a missing viewer is told to the player, so the menu item
// never does nothing.
void OpenHelpFile(const std::filesystem::path& executableFolder, QWidget* parent,
                  const MessagePresenter& present,
                  const HelpViewerStarter& startViewer = StartHelpViewer);

}  // namespace orbista

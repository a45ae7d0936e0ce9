#pragma once

#include <QString>
#include <filesystem>
#include <functional>

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

// Opens the help file; a missing file or a missing viewer is told to the player, so the menu item
// never does nothing.
void OpenHelpFile(const std::filesystem::path& executableFolder, QWidget* parent,
                  const MessagePresenter& present,
                  const HelpViewerStarter& startViewer = StartHelpViewer);

}  // namespace orbista

#pragma once

#include <filesystem>

namespace orbista {

// The window's own choices that save8.dat has no row for. They are kept in a small file of their
// own beside it, so that the settings file keeps its sixty lines for whoever else reads it, and
// the choices follow the settings wherever the program keeps its files.
inline constexpr const char* WindowChoicesFileName = "window.ini";

struct WindowChoices {
    bool forecast = true;  // the forecast line on "Окно ставок"
};

// The choices kept in `folder`: one "name=value" line each. A missing file, or a line this
// program does not know, leaves the default: the file holds preferences, not the player's data.
// FileError when the file is there but cannot be read.
WindowChoices ReadWindowChoices(const std::filesystem::path& folder);

// Writes the choices into `folder` through the safe writer; FileError when it cannot.
void WriteWindowChoices(const std::filesystem::path& folder, const WindowChoices& choices);

}  // namespace orbista

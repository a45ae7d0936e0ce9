#pragma once

#include "engine/engine.h"
#include "model/main_window_view.h"
#include "model/settings_model.h"
#include "storage/settings_file.h"

namespace orbista {

// What the main window does when it is created, before it is first shown: the start-up values of
// the game and the displays, the settings defaults, then the stored settings (or, at the first
// start, the settings file written from the defaults). A settings file that cannot be read is
// reported and the defaults stay.
void StartProgram(Engine& engine, SettingsModel& settings, SettingsFile& settingsFile,
                  MainWindowView& view);

// What the main window does when it closes, whatever closes it: the game in progress is
// autosaved, then the settings are stored. A field that holds no integer keeps its stored value
// while every other change is stored, and the player is told which fields were not saved. A
// failure is reported and the window still closes, so the player is never trapped in a window
// that cannot close.
void CloseProgram(Engine& engine, const SettingsModel& settings, SettingsFile& settingsFile,
                  MainWindowView& view);

}  // namespace orbista

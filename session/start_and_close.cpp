#include "session/start_and_close.h"

#include "model/errors.h"

namespace orbista {

void StartProgram(Engine& engine, SettingsModel& settings, SettingsFile& settingsFile,
                  MainWindowView& view) {
    engine.StartUp();
    settings.SetFlag(Setting::StopOnWin, true);
    settings.SetFlag(Setting::WinMessage, true);
    settings.SetFlag(Setting::UseCorrectedSeries, true);
    settings.SetActiveSystem(DefaultSystem);
    try {
        settingsFile.LoadSettings(settings);
    } catch (const PlayerError& error) {
        view.ReportError(error.what());
    }
}

void CloseProgram(Engine& engine, const SettingsModel& settings, SettingsFile& settingsFile,
                  MainWindowView& view) {
    try {
        engine.AutosaveSpins();
    } catch (const FileError& error) {
        view.ReportError(error.what());
    }
    // A field typed wrong costs only its own change: the others are stored all the same.
    const CloseCapture capture = CaptureRowsKeepingStored(settings, settingsFile.Stored());
    try {
        settingsFile.StoreRows(capture.rows);
    } catch (const FileError& error) {
        view.ReportError(error.what());
    }
    if (!capture.unsaved.empty()) {
        view.ReportError(UnsavedFieldsMessage(capture.unsaved));
    }
}

}  // namespace orbista

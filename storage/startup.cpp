#include "storage/startup.h"

#include "model/errors.h"

namespace orbista {

void MainWindowCreated(Engine& engine, SettingsModel& settings, SettingsFile& settingsFile,
                       MainWindowView& view) {
    engine.StartUp();
    settings.SetFlag(Setting::StopOnWin, true);
    settings.SetFlag(Setting::WinMessage, true);
    settings.SetFlag(Setting::UseCorrectedSeries, true);
    settings.SetActiveSystem(SelectionSystem::WithSelection);
    try {
        settingsFile.LoadSettings(settings);
    } catch (const FileError& error) {
        view.ReportError(error.what());
    } catch (const ConversionError& error) {
        view.ReportError(error.what());
    }
}

void MainWindowClosing(Engine& engine, const SettingsModel& settings, SettingsFile& settingsFile,
                       MainWindowView& view) {
    try {
        engine.AutosaveSpins();
    } catch (const FileError& error) {
        view.ReportError(error.what());
    }
    try {
        settingsFile.CaptureSettings(settings);
    } catch (const FileError& error) {
        view.ReportError(error.what());
    } catch (const ConversionError& error) {
        view.ReportError(error.what());
    }
}

}  // namespace orbista

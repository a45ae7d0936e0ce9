#include "storage/settings_file.h"

#include <cerrno>
#include <fstream>
#include <string>

#include "model/errors.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The numbers of one line: at most two are kept, any further ones ignored.
void ReadRow(const std::filesystem::path& path, int lineNumber, std::string_view line,
             SettingsRow& row) {
    int column = 0;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        size_t end = pos;
        while (end < line.size() && !IsBlank(line[end])) {
            ++end;
        }
        if (end == pos) {
            break;
        }
        const std::string_view token = line.substr(pos, end - pos);
        const auto value = ParseDecimal(token);
        if (!value) {
            throw FileError::CannotRead(path, "строка " + std::to_string(lineNumber) + ", \"" +
                                                  std::string(token) +
                                                  "\" не является целым числом");
        }
        if (column == 0) {
            row.first = *value;
        } else if (column == 1) {
            row.second = *value;
        }
        ++column;
        pos = end;
    }
}

}  // namespace

void ReadSettingsRows(const std::filesystem::path& path, StoredSettings& rows) {
    const std::string text = ReadWholeFile(path);
    size_t pos = 0;
    for (int lineNumber = 1; pos < text.size() && lineNumber <= StoredRowCount; ++lineNumber) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        ReadRow(path, lineNumber, std::string_view(text).substr(pos, end - pos),
                rows[lineNumber - 1]);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') {
            ++pos;
        }
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
    }
}

std::array<int32_t, StoredRowCount> CaptureRows(const SettingsModel& settings) {
    std::array<int32_t, StoredRowCount> rows{};
    for (const SettingInfo& info : SettingsTable()) {
        if (info.row > 0) {
            rows[info.row - 1] = settings.StoredValue(info.setting);
        }
    }
    const SelectionSystem active = settings.ActiveSystem();
    for (const SystemInfo& system : SystemsTable()) {
        if (system.row > 0) {
            rows[system.row - 1] = system.system == active ? 1 : 0;
        }
    }
    return rows;
}

void ShowSettings(SettingsModel& settings, const StoredSettings& rows) {
    const auto value = [&rows](int row) { return rows[row - 1].first; };
    for (const SettingInfo& info : SettingsTable()) {
        if (info.row == 0 || info.setting == Setting::UseCorrectedSeries ||
            info.setting == Setting::UseDrawnSeries) {
            continue;
        }
        if (info.kind == SettingKind::Flag) {
            settings.SetFlag(info.setting, value(info.row) == 1);
        } else {
            settings.SetNumber(info.setting, value(info.row));
        }
    }
    for (int row = 1; row <= StoredRowCount; ++row) {
        for (const SystemInfo& system : SystemsTable()) {
            if (system.row != row) {
                continue;
            }
            if (value(row) == 1) {
                settings.SetActiveSystem(system.system);
            } else if (settings.ActiveSystem() == system.system) {
                settings.SetActiveSystem(SelectionSystem::None);
            }
        }
    }
    for (const Setting series : {Setting::UseCorrectedSeries, Setting::UseDrawnSeries}) {
        SetSeriesChoice(settings, series, value(InfoOf(series).row) == 1);
    }
}

std::string SettingsFileText(const StoredSettings& rows) {
    std::string text;
    for (const SettingsRow& row : rows) {
        text += std::to_string(row.first);
        text += "\r\n";
    }
    return text;
}

SettingsFile::SettingsFile(std::filesystem::path folder)
    : path_(std::move(folder) / SettingsFileName) {}

void SettingsFile::LoadSettings(SettingsModel& settings) {
    if (!FileCanBeOpened(path_)) {
        CreateEmptyFile(path_);
        CaptureSettings(settings);
        WriteSettingsFile();
        return;
    }
    ReadSettingsRows(path_, stored_);
    ShowSettings(settings, stored_);
}

void SettingsFile::CaptureSettings(const SettingsModel& settings) {
    const std::array<int32_t, StoredRowCount> captured = CaptureRows(settings);
    bool differs = false;
    for (int i = 0; i < StoredRowCount; ++i) {
        differs = differs || captured[i] != stored_[i].first;
    }
    if (!differs) {
        return;
    }
    for (int i = 0; i < StoredRowCount; ++i) {
        stored_[i].first = captured[i];
    }
    WriteSettingsFile();
}

void SettingsFile::WriteSettingsFile() const {
    WriteWholeFile(path_, SettingsFileText(stored_));
}

}  // namespace orbista

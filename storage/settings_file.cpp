#include "storage/settings_file.h"

#include <cerrno>
#include <optional>
#include <string>

#include "model/decimal.h"
#include "model/errors.h"
#include "storage/text_file.h"
#include "storage/text_tokens.h"

namespace orbista {

namespace {

// 60 lines of one number: the program writes under 1 KB, so this leaves room for any editor.
constexpr uint64_t SettingsFileByteLimit = 64 << 10;

}  // namespace

void ReadSettingsText(const std::filesystem::path& path, std::string_view text,
                      StoredSettings& rows) {
    TextTokenizer tokenizer;
    int64_t line = 0;
    int column = 0;
    const auto take = [&](const TextToken& token) {
        if (token.line > StoredRowCount) {
            return false;
        }
        column = token.line == line ? column + 1 : 0;
        line = token.line;
        const std::optional<int32_t> value = ParseNumberToken(token.text);
        if (!value) {
            throw FileError::NotAnInteger(path, token.line, token.text);
        }
        SettingsRow& row = rows[static_cast<size_t>(token.line - 1)];
        if (column == 0) {
            row.first = *value;
        } else if (column == 1) {
            row.second = *value;
        }
        return true;
    };
    if (tokenizer.Feed(text, take)) {
        tokenizer.Finish(take);
    }
}

void ReadSettingsRows(const std::filesystem::path& path, StoredSettings& rows,
                      BoundedFile::Pipes pipes) {
    ReadSettingsText(path, ReadWholeFile(path, SettingsFileByteLimit, pipes), rows);
}

namespace {

void CaptureSystemRows(const SettingsModel& settings, std::array<int32_t, StoredRowCount>& rows) {
    const SelectionSystem active = settings.ActiveSystem();
    for (const SystemInfo& system : SystemsTable()) {
        if (system.row > 0) {
            rows[system.row - 1] = system.system == active ? 1 : 0;
        }
    }
}

// One sentence more at the end of a message.
std::string WithSentence(std::string message, std::string_view sentence) {
    message += message.ends_with('.') ? " " : ". ";
    message += sentence;
    return message;
}

}  // namespace

std::array<int32_t, StoredRowCount> CaptureRows(const SettingsModel& settings) {
    std::array<int32_t, StoredRowCount> rows{};
    for (const SettingInfo& info : SettingsTable()) {
        if (info.row > 0) {
            rows[info.row - 1] = settings.StoredValue(info.setting);
        }
    }
    CaptureSystemRows(settings, rows);
    return rows;
}

CloseCapture CaptureRowsKeepingStored(const SettingsModel& settings, const StoredSettings& stored) {
    CloseCapture capture;
    for (const SettingInfo& info : SettingsTable()) {
        if (info.row == 0) {
            continue;
        }
        try {
            capture.rows[info.row - 1] = settings.StoredValue(info.setting);
        } catch (const ConversionError& error) {
            capture.rows[info.row - 1] = stored[info.row - 1].first;
            capture.unsaved.push_back(error);
        }
    }
    CaptureSystemRows(settings, capture.rows);
    return capture;
}

std::string UnsavedFieldsMessage(const std::vector<ConversionError>& unsaved) {
    std::string message;
    for (const ConversionError& error : unsaved) {
        message += error.what();
        message += "\n";
    }
    message += unsaved.size() == 1
                   ? "Это значение не сохранено: в файле настроек осталось прежнее."
                   : "Эти значения не сохранены: в файле настроек остались прежние.";
    return message;
}

void ShowSettings(SettingsModel& settings, const StoredSettings& rows) {
    const auto value = [&rows](int row) { return rows[row - 1].first; };
    for (const SettingInfo& info : SettingsTable()) {
        if (info.row == 0 || info.seriesChoice) {
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
    // The series boxes last, each as a click would set it, in the table's order.
    for (const SettingInfo& info : SettingsTable()) {
        if (info.seriesChoice) {
            SetSeriesChoice(settings, info.setting, value(info.row) == 1);
        }
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

SettingsFile::SettingsFile(std::filesystem::path folder, FileSystem& fileSystem)
    : file_(folder / SettingsFileName, fileSystem),
      backupPath_(std::move(folder) / SettingsBackupFileName) {}

void SettingsFile::LoadSettings(SettingsModel& settings) {
    // A missing file is written whole from the start: an empty file left by a failed first write
    // would switch everything off at the next start.
    if (!FileCanBeOpened(Path())) {
        CaptureSettings(settings);
        WriteSettingsFile();
        return;
    }
    try {
        ReadSettingsRows(Path(), stored_, BoundedFile::Pipes::Refused);
    } catch (const FileError& error) {
        keepUnreadFile_ = true;
        throw FileError(WithSentence(error.what(),
                                     "Перед первой записью настроек он будет сохранён рядом под "
                                     "именем " +
                                         std::string(SettingsBackupFileName) + "."));
    }
    ShowSettings(settings, stored_);
}

void SettingsFile::CaptureSettings(const SettingsModel& settings) {
    StoreRows(CaptureRows(settings));
}

void SettingsFile::StoreRows(const std::array<int32_t, StoredRowCount>& rows) {
    bool differs = false;
    for (int i = 0; i < StoredRowCount; ++i) {
        differs = differs || rows[i] != stored_[i].first;
    }
    if (!differs) {
        return;
    }
    for (int i = 0; i < StoredRowCount; ++i) {
        stored_[i].first = rows[i];
    }
    WriteSettingsFile();
}

void SettingsFile::WriteSettingsFile() {
    const std::string text = SettingsFileText(stored_);
    if (!keepUnreadFile_) {
        file_.Replace(text);
        return;
    }
    file_.Replace(text, backupPath_);
    keepUnreadFile_ = false;
}

}  // namespace orbista

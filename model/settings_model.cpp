#include "model/settings_model.h"
#include "model/decimal.h"

#include <algorithm>

#include "model/errors.h"

namespace orbista {

int32_t SettingsModel::Number(Setting setting) const {
    const SettingInfo& info = InfoOf(setting);
    return ReadFieldNumber(Text(setting), info.control, info.caption);
}

int32_t SettingsModel::ClampedNumber(Setting setting) const {
    const SettingInfo& info = InfoOf(setting);
    return std::clamp(Number(setting), info.minimum, info.maximum);
}

void SettingsModel::SetNumber(Setting setting, int32_t value) {
    SetText(setting, std::to_string(value));
}

int32_t SettingsModel::StoredValue(Setting setting) const {
    return InfoOf(setting).kind == SettingKind::Flag ? (Flag(setting) ? 1 : 0) : Number(setting);
}

void SetSeriesChoice(SettingsModel& settings, Setting which, bool on) {
    if (settings.Flag(which) == on) {
        return;
    }
    settings.SetFlag(which, on);
    for (const SettingInfo& info : SettingsTable()) {
        if (info.seriesChoice && info.setting != which) {
            settings.SetFlag(info.setting, false);
        }
    }
}

std::optional<int32_t> SettingsModel::LastNumber(Setting setting) const {
    return lastNumbers_[static_cast<int>(setting)];
}

void SettingsModel::NoteFieldText(Setting setting, std::string_view text) {
    if (const auto number = ParseDecimal(FirstLine(text))) {
        lastNumbers_[static_cast<int>(setting)] = number;
    }
}

int32_t StepperValue(const SettingsModel& settings, Setting setting) {
    const SettingInfo& info = InfoOf(setting);
    if (const auto shown = ParseDecimal(FirstLine(settings.Text(setting)))) {
        return *shown;
    }
    return settings.LastNumber(setting).value_or(info.defaultValue);
}

namespace {

void Step(SettingsModel& settings, Setting setting, int direction) {
    const SettingInfo& info = InfoOf(setting);
    const int64_t moved = int64_t{StepperValue(settings, setting)} + int64_t{direction} * info.step;
    settings.SetNumber(
        setting, static_cast<int32_t>(std::clamp<int64_t>(moved, info.minimum, info.maximum)));
}

}  // namespace

void StepSetting(SettingsModel& settings, Setting setting, int direction) {
    Step(settings, setting, direction);
    if (setting != Setting::MaxProcessedCount && setting != Setting::MinCoveredCount) {
        return;
    }
    const auto maxProcessed = ParseDecimal(FirstLine(settings.Text(Setting::MaxProcessedCount)));
    const auto minCovered = ParseDecimal(FirstLine(settings.Text(Setting::MinCoveredCount)));
    if (!maxProcessed || !minCovered || *maxProcessed >= *minCovered) {
        return;
    }
    if (setting == Setting::MaxProcessedCount) {
        settings.SetNumber(Setting::MinCoveredCount, *minCovered - 1);
    } else {
        settings.SetNumber(Setting::MaxProcessedCount, *maxProcessed + 1);
    }
}

MemorySettings::MemorySettings() {
    for (const SettingInfo& info : SettingsTable()) {
        const int index = static_cast<int>(info.setting);
        if (info.kind == SettingKind::Flag) {
            flags_[index] = info.defaultValue != 0;
        } else {
            texts_[index] = std::to_string(info.defaultValue);
            numbers_[index] = info.defaultValue;
        }
    }
}

std::string MemorySettings::Text(Setting setting) const {
    return texts_[static_cast<int>(setting)];
}

void MemorySettings::SetText(Setting setting, std::string_view text) {
    texts_[static_cast<int>(setting)] = text;
    numbers_[static_cast<int>(setting)] = ParseDecimal(FirstLine(text));
    NoteFieldText(setting, text);
}

int32_t MemorySettings::Number(Setting setting) const {
    if (const std::optional<int32_t>& number = numbers_[static_cast<int>(setting)]) {
        return *number;
    }
    return SettingsModel::Number(setting);  // names the field in its ConversionError
}

bool MemorySettings::Flag(Setting setting) const {
    return flags_[static_cast<int>(setting)];
}

void MemorySettings::SetFlag(Setting setting, bool on) {
    flags_[static_cast<int>(setting)] = on;
}

}  // namespace orbista

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/settings_model.h"
#include "storage/settings_file.h"

namespace orbista {

// One of the author's ready-made combinations of settings ("Системы от автора").
struct Preset {
    std::string_view menuItem;  // object name of its menu item
    std::string_view caption;
    SelectionSystem system;
    bool sectorsOnTable;
    // WaitingSpins or SectorLength where the preset has one; set first.
    std::optional<std::pair<Setting, int32_t>> systemParameter;
    int32_t minCoveredCount;
    int32_t maxProcessedCount;
    int32_t normalisationCoefficient;
    int32_t progressionSteepness;
    int32_t maxLoss;
    int32_t maxStake;
    int32_t winTarget;
    std::optional<int32_t> winBonusPerTenSpins;  // none: left as it is
};

// The seven presets in menu order.
std::span<const Preset> Presets();

// Selects the preset's system, sets its values in their fixed order, then stores the settings
// (the file is rewritten only when something differs). Touches no game state. Throws
// ConversionError when a field the preset does not set holds no integer, FileError when the
// settings file cannot be written; the preset's own values stay set either way.
void ApplyPreset(const Preset& preset, SettingsModel& settings, SettingsFile& file);

}  // namespace orbista

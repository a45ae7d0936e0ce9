#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/settings_model.h"
#include "storage/settings_file.h"

namespace orbista {

// One value a preset sets.
struct PresetValue {
    Setting setting;
    int32_t value;
};

// One of the author's ready-made combinations of settings ("Системы от автора").
struct Preset {
    std::string_view menuItem;  // object name of its menu item
    std::string_view caption;
    SelectionSystem system;
    bool sectorsOnTable;  // switched on when set; never switched off
    // Set in this order, after the system.
    std::span<const PresetValue> values;
};

// The seven presets in menu order.
std::span<const Preset> Presets();

// Selects the preset's system, sets its values in their fixed order, then stores the settings
// (the file is rewritten only when something differs). Touches no game state. Throws
// ConversionError when a field the preset does not set holds no integer, FileError when the
// settings file cannot be written; the preset's own values stay set either way.
void ApplyPreset(const Preset& preset, SettingsModel& settings, SettingsFile& file);

}  // namespace orbista

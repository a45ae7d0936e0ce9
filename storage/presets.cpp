#include "storage/presets.h"

#include <array>

namespace orbista {

namespace {

using enum SelectionSystem;
using Parameter = std::pair<Setting, int32_t>;

// clang-format off
constexpr std::array<Preset, 7> Table = {{
    {"N11", "Выжидание", Waiting, false, Parameter{Setting::WaitingSpins, 4}, 1, 12, 0, 5, 500, 20, 60, std::nullopt},
    {"PEEPcjnrkjytybtv1", "PEEP с отклонением", Peer, false, std::nullopt, 3, 10, 2, 5, 600, 20, 70, 0},
    {"N13", "Стандартная система", WithSelection, false, std::nullopt, 1, 18, 0, 8, 500, 20, 60, 1},
    {"N14", "Сектора на поле", Sectors, true, Parameter{Setting::SectorLength, 7}, 1, 24, 0, 5, 600, 20, 70, 0},
    {"N15", "С выборкой и мягкой прогрессией", WithSelection, false, std::nullopt, 1, 13, 0, 4, 500, 20, 60, 3},
    {"N16", "Без прогрессий", WithSelection, false, std::nullopt, 1, 13, 0, 1, 300, 20, 50, 3},
    {"N17", "Без выборки", WithoutSelection, false, std::nullopt, 1, 16, 0, 5, 500, 20, 60, 2},
}};
// clang-format on

}  // namespace

std::span<const Preset> Presets() {
    return Table;
}

void ApplyPreset(const Preset& preset, SettingsModel& settings, SettingsFile& file) {
    settings.SetActiveSystem(preset.system);
    if (preset.sectorsOnTable) {
        settings.SetFlag(Setting::SectorsOnTable, true);
    }
    if (preset.systemParameter) {
        settings.SetNumber(preset.systemParameter->first, preset.systemParameter->second);
    }
    settings.SetNumber(Setting::MinCoveredCount, preset.minCoveredCount);
    settings.SetNumber(Setting::MaxProcessedCount, preset.maxProcessedCount);
    settings.SetNumber(Setting::NormalisationCoefficient, preset.normalisationCoefficient);
    settings.SetNumber(Setting::ProgressionSteepness, preset.progressionSteepness);
    settings.SetNumber(Setting::MaxLoss, preset.maxLoss);
    settings.SetNumber(Setting::MaxStake, preset.maxStake);
    settings.SetNumber(Setting::WinTarget, preset.winTarget);
    if (preset.winBonusPerTenSpins) {
        settings.SetNumber(Setting::WinBonusPerTenSpins, *preset.winBonusPerTenSpins);
    }
    file.CaptureSettings(settings);
}

}  // namespace orbista

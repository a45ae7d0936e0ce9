#include "session/presets.h"

#include <array>

namespace orbista {

namespace {

using enum SelectionSystem;
using enum Setting;

// clang-format off
constexpr PresetValue WaitingValues[] = {
    {WaitingSpins, 4}, {MinCoveredCount, 1}, {MaxProcessedCount, 12}, {NormalisationCoefficient, 0},
    {ProgressionSteepness, 5}, {MaxLoss, 500}, {MaxStake, 20}, {WinTarget, 60}};
constexpr PresetValue PeerValues[] = {
    {MinCoveredCount, 3}, {MaxProcessedCount, 10}, {NormalisationCoefficient, 2},
    {ProgressionSteepness, 5}, {MaxLoss, 600}, {MaxStake, 20}, {WinTarget, 70}, {WinBonusPerTenSpins, 0}};
constexpr PresetValue StandardValues[] = {
    {MinCoveredCount, 1}, {MaxProcessedCount, 18}, {NormalisationCoefficient, 0},
    {ProgressionSteepness, 8}, {MaxLoss, 500}, {MaxStake, 20}, {WinTarget, 60}, {WinBonusPerTenSpins, 1}};
constexpr PresetValue SectorsValues[] = {
    {SectorLength, 7}, {MinCoveredCount, 1}, {MaxProcessedCount, 24}, {NormalisationCoefficient, 0},
    {ProgressionSteepness, 5}, {MaxLoss, 600}, {MaxStake, 20}, {WinTarget, 70}, {WinBonusPerTenSpins, 0}};
constexpr PresetValue SoftProgressionValues[] = {
    {MinCoveredCount, 1}, {MaxProcessedCount, 13}, {NormalisationCoefficient, 0},
    {ProgressionSteepness, 4}, {MaxLoss, 500}, {MaxStake, 20}, {WinTarget, 60}, {WinBonusPerTenSpins, 3}};
constexpr PresetValue NoProgressionValues[] = {
    {MinCoveredCount, 1}, {MaxProcessedCount, 13}, {NormalisationCoefficient, 0},
    {ProgressionSteepness, 1}, {MaxLoss, 300}, {MaxStake, 20}, {WinTarget, 50}, {WinBonusPerTenSpins, 3}};
constexpr PresetValue WithoutSelectionValues[] = {
    {MinCoveredCount, 1}, {MaxProcessedCount, 16}, {NormalisationCoefficient, 0},
    {ProgressionSteepness, 5}, {MaxLoss, 500}, {MaxStake, 20}, {WinTarget, 60}, {WinBonusPerTenSpins, 2}};

constexpr std::array<Preset, 7> Table = {{
    // menu item, caption, system, sectors on the table, values
    {"N11", "Выжидание", Waiting, false, WaitingValues},
    {"PEEPcjnrkjytybtv1", "PEEP с отклонением", Peer, false, PeerValues},
    {"N13", "Стандартная система", WithSelection, false, StandardValues},
    {"N14", "Сектора на поле", Sectors, true, SectorsValues},
    {"N15", "С выборкой и мягкой прогрессией", WithSelection, false, SoftProgressionValues},
    {"N16", "Без прогрессий", WithSelection, false, NoProgressionValues},
    {"N17", "Без выборки", WithoutSelection, false, WithoutSelectionValues},
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
    for (const PresetValue& value : preset.values) {
        settings.SetNumber(value.setting, value.value);
    }
    file.CaptureSettings(settings);
}

}  // namespace orbista

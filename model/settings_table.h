#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orbista {

// Every adjustable value of the window, stored or of one run.
enum class Setting {
    // "Настройки"
    StopOnWin,
    WinTarget,
    WinMessage,
    MaxStake,
    MaxLoss,
    ProgressionSteepness,
    NormalisationCoefficient,
    MinCoveredCount,
    MaxProcessedCount,
    MaxProcessedSixLines,
    WinBonusPerTenSpins,
    SkipFirstSpins,
    SkippedSpinCount,
    ResetProgressionOnLoss,
    NoLossMessage,
    PauseAfterWin,
    PauseAfterWinSpins,
    UseCorrectedSeries,
    UseDrawnSeries,
    // "Методики"
    WaitingSpins,
    SectorLength,
    SectorsSpinWindow,
    EsdSpinCount,
    OverlapSectorLength,
    EsdSectorsOnTable,
    EsdWideOverlap,
    ChaosNumberCount,
    FavouritesBetLast,
    FavouritesCount,
    FavouritesWindow,
    FavouritesRepeatThreshold,
    // "Графики"
    ChartWheelOrder,
    // Values of one run, never stored.
    SectorsOnTable,
    ChartSpinWindow,
    StayOnTop,
    PlaybackPauseField,  // Form3.Memo1: taken into the pause only by "Применить"
    PlaybackSpinLimit,   // Form3.Memo2
};

enum class SettingKind { Flag, Number };

struct SettingInfo {
    Setting setting;
    std::string_view field;    // the name used in the settings file, presets and simulator
    std::string_view control;  // the text field or check box that shows it
    std::string_view stepper;  // its up-down arrows, empty for a flag
    std::string_view caption;  // the text beside it, as a message names the field
    SettingKind kind;
    int32_t defaultValue;  // flags: 1 on, 0 off
    int32_t minimum;
    int32_t maximum;
    int32_t step;
    int row;  // row of save8.dat (1-based), 0 for a value of one run
    // One of the two series boxes, which never stand on together (see SetSeriesChoice).
    bool seriesChoice = false;
};

inline constexpr int SettingCount = static_cast<int>(Setting::PlaybackSpinLimit) + 1;

// The selection systems in the order in which the selection step tests their radio buttons.
enum class SelectionSystem {
    None,  // no radio button on
    WithSelection,
    WithoutSelection,
    Sectors,
    SixLines,
    Peer,
    AntiReview,
    Esd,
    Favourites,
    Gizmo,
    Chaos,
    Waiting,
    StatisticsOnly,
    Custom,
};

struct SystemInfo {
    SelectionSystem system;
    std::string_view field;  // "SystemWithSelection", ...
    std::string_view radio;  // "RadioButton1", ...
    std::string_view caption;
    std::string_view shortCaption;  // where a plot names the systems side by side
    std::string_view simName;       // name on the simulator's command line
    int row;                        // flag row of save8.dat, 0 for none
    bool underlined;
    // The numeric settings the system reads of its own when it runs.
    std::span<const Setting> reads;
};

inline constexpr int SystemCount = 13;
// The system a fresh window and a run without a settings file play.
inline constexpr SelectionSystem DefaultSystem = SelectionSystem::WithSelection;

inline constexpr int StoredRowCount = 60;

std::span<const SettingInfo> SettingsTable();
const SettingInfo& InfoOf(Setting setting);
std::optional<Setting> SettingByField(std::string_view field);

// The thirteen systems in dispatch order (None is not among them).
std::span<const SystemInfo> SystemsTable();
const SystemInfo* InfoOf(SelectionSystem system);
std::optional<SelectionSystem> SystemBySimName(std::string_view name);  // "none" included

}  // namespace orbista

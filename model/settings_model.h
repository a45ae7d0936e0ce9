#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/settings_table.h"

namespace orbista {

// The settings as they stand in the window. Nothing is cached: every read takes the text or state
// shown at that moment, so a change takes effect at the next spin. The window implements this on
// its controls; MemorySettings holds the same in memory for the simulator and the tests.
class SettingsModel {
  public:
    virtual ~SettingsModel() = default;

    // The whole text of a numeric field.
    virtual std::string Text(Setting setting) const = 0;
    virtual void SetText(Setting setting, std::string_view text) = 0;
    // A check box's state; setting it runs no coupling rule (see SetSeriesChoice).
    virtual bool Flag(Setting setting) const = 0;
    virtual void SetFlag(Setting setting, bool on) = 0;
    // The checked radio button; None when none is.
    virtual SelectionSystem ActiveSystem() const = 0;
    // Checks one radio button, which clears the others; None clears all.
    virtual void SetActiveSystem(SelectionSystem system) = 0;

    // The first line of a numeric field as a decimal integer; ConversionError otherwise.
    virtual int32_t Number(Setting setting) const;
    // Number() held to the field's stepper bounds: a system never acts on a value outside them,
    // while the field keeps the text the player typed.
    int32_t ClampedNumber(Setting setting) const;
    void SetNumber(Setting setting, int32_t value);
    // A stored row's value: flags as 1 or 0, numbers as read.
    int32_t StoredValue(Setting setting) const;

    // The integer a numeric field last held, whoever put it there; nothing before it held one.
    std::optional<int32_t> LastNumber(Setting setting) const;

  protected:
    // Told at every change of a numeric field's text, typing included, by whatever holds the
    // fields.
    void NoteFieldText(Setting setting, std::string_view text);

  private:
    std::array<std::optional<int32_t>, SettingCount> lastNumbers_{};
};

// Coupling rules, run by the window's controls (and by the settings file, which sets the two
// series boxes the way a click would).

// "Скорректированный массив" and "Массив выпавших чисел" never stand on together: a change of one
// switches the other off, without that switching-off triggering the rule again.
void SetSeriesChoice(SettingsModel& settings, Setting which, bool on);

// One click on a field's up-down arrows (direction +1 or -1): the value moves by the step within
// the stepper's bounds. After a click on MaxProcessedCount's arrows that leaves it below
// MinCoveredCount, MinCoveredCount is lowered by one; after a click on MinCoveredCount's arrows
// that leaves MaxProcessedCount below it, MaxProcessedCount is raised by one.
void StepSetting(SettingsModel& settings, Setting setting, int direction);

// The value an up-down click starts from: the field's value; while the field holds no integer,
// the last integer it held (so that the arrows go on from what the player saw before typing), or
// its default when it never held one.
int32_t StepperValue(const SettingsModel& settings, Setting setting);

// The settings in memory. A numeric field keeps the integer its text holds beside the text, read
// once when the text is set: the systems read their fields at every spin.
class MemorySettings : public SettingsModel {
  public:
    // The defaults of a fresh window, before any settings file is read.
    MemorySettings();

    std::string Text(Setting setting) const override;
    void SetText(Setting setting, std::string_view text) override;
    int32_t Number(Setting setting) const override;
    bool Flag(Setting setting) const override;
    void SetFlag(Setting setting, bool on) override;
    SelectionSystem ActiveSystem() const override { return active_; }
    void SetActiveSystem(SelectionSystem system) override { active_ = system; }

  private:
    std::array<std::string, SettingCount> texts_;
    std::array<std::optional<int32_t>, SettingCount> numbers_{};
    std::array<bool, SettingCount> flags_{};
    SelectionSystem active_ = DefaultSystem;
};

}  // namespace orbista

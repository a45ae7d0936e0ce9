#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <string_view>

#include "model/settings_model.h"
#include "ui/qt_text.h"

class QCheckBox;
class QLineEdit;
class QWidget;

namespace orbista {

// The controls through which the window shows its settings, by Setting; null where a setting has
// no control among them. Whoever builds a part of the window hands back the controls it made, so
// nothing is looked up by name afterwards.
struct SettingControls {
    std::array<QLineEdit*, SettingCount> fields{};
    std::array<QCheckBox*, SettingCount> checkBoxes{};

    // Adds the controls that `other` holds.
    void Take(const SettingControls& other);
};

// A number's field at `geometry`, named and filled with its default from the settings table, with
// its arrows at its right edge. The arrows step the setting in `settings`.
QLineEdit* AddSettingField(QWidget* parent, Setting setting, const QRect& geometry,
                           SettingsModel& settings, SettingControls& controls);

// A flag's check box with its caption, named from the settings table; the caller places it.
QCheckBox* AddSettingCheckBox(QWidget* parent, Setting setting, SettingControls& controls);

}  // namespace orbista

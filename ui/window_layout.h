#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <array>

#include "model/display.h"
#include "model/game_state.h"
#include "model/settings_model.h"
#include "ui/setting_controls.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace orbista {

class SpinTable;

// The controls of the first three tabs of the main window, each at its place, with its caption,
// font and colour. The window keeps what the builders hand back and finds nothing by name; the
// object names stay as they always were for the tools and tests that look controls up.

// The names the number buttons have always had: BitBtn1..36 for the numbers and BitBtn73 for
// zero; their mirror BitBtn37..72 and BitBtn74.
QString NumberButtonName(int number);
QString MirrorButtonName(int number);

// What the logic of the window addresses on "Окно ставок".
struct BetsTab {
    std::array<QPushButton*, NumberCount> numbers{};  // by number
    std::array<QPushButton*, NumberCount> mirrors{};  // by number
    QPushButton* cancel = nullptr;                    // "Отменить спин"
    std::array<QLineEdit*, DisplayCount> displays{};  // by Display; the spin count is a label
    QLabel* spinCount = nullptr;
    SpinTable* spins = nullptr;
};

// "Окно ставок": the number buttons, their mirror, the spin table and the balance fields.
BetsTab BuildBetsTab(QWidget* sheet);
// "Настройки": the money settings. Their arrows step them in `settings`, which must outlive the
// tab.
SettingControls BuildSettingsTab(QWidget* sheet, SettingsModel& settings);

struct MethodsTab {
    std::array<QRadioButton*, SystemCount> systems{};  // in the order of SystemsTable()
    SettingControls settings;
};

// "Методики": the thirteen systems and their parameters.
MethodsTab BuildMethodsTab(QWidget* sheet, SettingsModel& settings);

// Left edge of the numeric fields on the two settings tabs.
inline constexpr int SettingFieldLeft = 288;
// Width of a tab page of the main window: nothing may reach past it.
inline constexpr int SheetWidth = 387;
inline constexpr int SheetHeight = 557;

}  // namespace orbista

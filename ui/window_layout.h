#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

namespace orbista {

class SpinTable;

// The controls of the first three tabs of the main window, each at its place, with its caption,
// font and colour. The window finds them afterwards by their object names.

// "Окно ставок": the number buttons, their mirror, the spin table and the balance fields.
SpinTable* BuildBetsTab(QWidget* sheet);
// "Настройки": the money settings.
void BuildSettingsTab(QWidget* sheet);
// "Методики": the thirteen systems and their parameters.
void BuildMethodsTab(QWidget* sheet);

// Left edge of the numeric fields on the two settings tabs.
inline constexpr int SettingFieldLeft = 288;
// Width of a tab page of the main window: nothing may reach past it.
inline constexpr int SheetWidth = 387;
inline constexpr int SheetHeight = 557;

}  // namespace orbista

#pragma once

#include <QWidget>
#include <array>

#include "engine/chart_counts.h"
#include "ui/setting_controls.h"

class QTabWidget;
class QPushButton;

namespace orbista {

class BarChart;
class MainWindowView;
class SettingsModel;
class WheelTestDialog;

// The "Графики" tab: the inner tab control PageControl2 with its four sub-tabs and the eleven
// statistics charts. It owns the controls of ChartWheelOrder and of ChartSpinWindow with its
// arrows, and hands them to the window's settings model.
class ChartsPage : public QWidget {
    Q_OBJECT

  public:
    // The settings model is the window's: it reads the page's two settings from Controls(), and
    // the arrows step the spin window through it.
    ChartsPage(const GameState& state, SettingsModel& settings, MainWindowView& view,
               QWidget* parent);

    // Recounts everything from the game state and refills every chart, in the order of Chart. A
    // window field that holds no integer is reported and leaves every chart as it was.
    void RebuildCharts();

    // "Проверка колеса…": the spins the charts count, tested against a fair wheel in a dialog of
    // its own, in the charts' order of the numbers.
    void OpenWheelTest();
    WheelTestDialog* WheelTest() const { return wheelTest_; }

    QTabWidget* PageControl2() const { return pages_; }
    const SettingControls& Controls() const { return controls_; }
    BarChart* Chart(orbista::Chart chart) const { return charts_[chart]; }

  signals:
    // A change of sub-tab or "Перестроить": the window rebuilds the charts.
    void RebuildRequested();

  private:
    QWidget* BuildModeSheet();
    QWidget* BuildSheet(const char* name);
    void PlaceChart(orbista::Chart chart, QWidget* sheet, const QRect& geometry);

    const GameState& state_;
    SettingsModel& settings_;
    MainWindowView& view_;
    QTabWidget* pages_;
    SettingControls controls_;
    PerChart<BarChart*> charts_;
    // What the charts showed before the last rebuild: the next rebuild fills it and exchanges.
    PerChart<ChartSeries> spare_;
    WheelTestDialog* wheelTest_ = nullptr;  // made at its first opening
};

}  // namespace orbista

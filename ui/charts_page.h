#pragma once

#include <QWidget>
#include <array>

#include "engine/chart_counts.h"

class QTabWidget;
class QPushButton;

namespace orbista {

class BarChart;
class MainWindowView;
class SettingsModel;

// The "Графики" tab: the inner tab control PageControl2 with its four sub-tabs and the eleven
// statistics charts. It owns CheckBox8 ("Спины на колесе, иначе - на столе") and Memo21 with
// UpDown14, which the settings model finds by their object names.
class ChartsPage : public QWidget {
    Q_OBJECT

  public:
    // The settings model is the window's: it reads CheckBox8 and Memo21 from this page, and
    // UpDown14 steps Memo21 through it.
    ChartsPage(const GameState& state, SettingsModel& settings, MainWindowView& view,
               QWidget* parent);

    // Recounts everything from the game state and refills every chart, in the order of Chart. A
    // window field that holds no integer is reported and leaves every chart as it was.
    void RebuildCharts();

    QTabWidget* PageControl2() const { return pages_; }
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
    PerChart<BarChart*> charts_;
    // What the charts showed before the last rebuild: the next rebuild fills it and exchanges.
    PerChart<ChartSeries> spare_;
};

}  // namespace orbista

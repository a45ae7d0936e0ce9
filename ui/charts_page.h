#pragma once

#include <QWidget>

class QTabWidget;

namespace orbista {

struct GameState;
class MainWindowView;
class SettingsModel;

// The "Графики" tab: the inner tab control PageControl2 with its four sub-tabs and the ten
// statistics charts. It owns CheckBox8 ("Спины на колесе, иначе - на столе") and Memo21 with
// UpDown14, which the settings model finds by their object names.
class ChartsPage : public QWidget {
    Q_OBJECT

public:
    // The settings model is the window's: it reads CheckBox8 and Memo21 from this page.
    ChartsPage(const GameState& state, const SettingsModel& settings, MainWindowView& view,
               QWidget* parent);

    // Recounts everything from the game state and refills the ten series.
    void RebuildCharts();

    QTabWidget* PageControl2() const { return pages_; }

signals:
    // A change of sub-tab or "Перестроить": the window rebuilds the charts.
    void RebuildRequested();

private:
    const GameState& state_;
    const SettingsModel& settings_;
    MainWindowView& view_;
    QTabWidget* pages_;
};

}  // namespace orbista

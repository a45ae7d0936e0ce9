#pragma once

#include <QLabel>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "session/forecast.h"

namespace orbista {

class ForecastWorker;

// The forecast of the game in progress as a read-only line on "Окно ставок", for example
// "Прогноз: выигрыш 81 % · проигрыш 19 %" over "в среднем −23 ед. за игру"; its tooltip holds
// the intervals and the ladder of stakes ahead. It stands in room the tab leaves free, beside the
// spin count, in two short lines.
//
// The forecast runs on a thread of its own. A refresh takes a picture of the game, which costs
// what the game has written and nothing more, hands it over and returns: a new spin drops the
// forecast still running, and a click never waits for one. The line keeps the last forecast,
// greyed, until the new one comes.
class ForecastLine : public QLabel {
    Q_OBJECT

  public:
    explicit ForecastLine(QWidget* sheet, const ForecastOptions& options = {});
    ~ForecastLine() override;

    // A forecast of the game as it stands now.
    void Refresh(const GameState& state, const SettingsModel& settings, MainWindowView& view);
    // Off: the line is hidden and nothing is forecast.
    void SetOn(bool on);
    bool IsOn() const { return on_; }

    // The forecast the line shows, partial or whole; none when it shows none.
    const std::optional<Forecast>& Shown() const { return shown_; }
    // Whether the line shows the whole forecast of the last refresh, or why there is none.
    bool Settled() const { return settled_; }
    // What the tooltip shows: the intervals and the ladder, or why there is no forecast.
    QString Details() const;

  protected:
    bool event(QEvent* event) override;

  private:
    void Receive(uint64_t generation, const std::shared_ptr<const Forecast>& forecast,
                 const QString& error);
    void ShowText(const QString& text);
    void ShowForecast(const Forecast& forecast);
    void ShowNone(const QString& why, const QString& details);
    void SetStale(bool stale);

    bool on_ = true;
    uint64_t generation_ = 0;
    bool settled_ = false;
    std::optional<Forecast> shown_;
    QString noneDetails_;
    std::unique_ptr<ForecastWorker> worker_;
};

// The line's text and its tooltip for a forecast.
QString ForecastLineText(const Forecast& forecast);
QString ForecastDetails(const Forecast& forecast);

}  // namespace orbista

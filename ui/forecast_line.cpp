#include "ui/forecast_line.h"

#include <QColor>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMetaObject>
#include <QPalette>
#include <QToolTip>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "model/errors.h"
#include "session/forecast_worker.h"
#include "ui/fonts.h"

namespace orbista {

namespace {

// Beside "Сыграно спинов - N", between "Max" above and "Стоит на поле" below: room no control
// uses, for two short lines.
constexpr QRect LinePlace(182, 439, 208, 25);
constexpr int LinePixels = 10;
// A forecast that takes longer than this shows what it has so far, and again after as long.
constexpr std::chrono::milliseconds PartialEvery(150);
// Rows of the ladder the tooltip shows before it skips to the last.
constexpr int LadderRowsShown = 12;

constexpr QColor FreshColour(0x20, 0x20, 0x60);
// The last forecast while the next is on its way.
constexpr QColor StaleColour(0x90, 0x90, 0xA0);

QString Percent(double share) {
    return QString::number(std::lround(share * 100)) + " %";
}

QString Decimal(double value, int digits) {
    return QString::number(value, 'f', digits).replace('.', ',').replace('-', QChar(0x2212));
}

QString PercentWithOneDigit(double share) {
    return Decimal(share * 100, 1) + " %";
}

// Whole units with their sign, the minus as the typeset one.
QString Units(double value) {
    const long rounded = std::lround(value);
    const QString digits = QString::number(std::labs(rounded));
    return (rounded < 0   ? QString(QChar(0x2212))
            : rounded > 0 ? QString("+")
                          : QString()) +
           digits + " ед.";
}

QString ShareRow(const QString& what, const Share& share) {
    return QString("<tr><td>%1</td><td align=right>&nbsp;%2</td><td>&nbsp;(%3–%4)</td></tr>")
        .arg(what, PercentWithOneDigit(share.value), PercentWithOneDigit(share.interval.low),
             PercentWithOneDigit(share.interval.high));
}

QString LadderRow(size_t index, const LadderStep& step) {
    return QString(
               "<tr><td align=right>%1</td><td align=right>%2</td><td align=right>%3</td>"
               "<td align=right>%4</td><td align=right>%5</td><td align=right>%6</td></tr>")
        .arg(index + 1)
        .arg(step.stakePerNumber)
        .arg(step.numbers)
        .arg(step.onTable)
        .arg(step.lost)
        .arg(Units(static_cast<double>(step.gameBalance)));
}

QString LadderEnding(const Forecast& forecast) {
    const qsizetype rows = static_cast<qsizetype>(forecast.ladder.size());
    switch (forecast.ladderEnd) {
        case LadderEnd::LossStop:
            return QString(
                       "После %1 промахов подряд следующая ставка вышла бы за предел: игра "
                       "остановится проигрышем, баланс игры %2.")
                .arg(rows)
                .arg(Units(static_cast<double>(forecast.ladder.back().gameBalance)));
        case LadderEnd::EveryNumberBet:
            return "Ставка закрывает все числа: промаха быть не может.";
        case LadderEnd::RowLimit:
            return QString("И дальше так же: за %1 промахов подряд остановки нет.").arg(rows);
        case LadderEnd::Error:
            return "Дальше игра не может идти: в одном из полей не число.";
    }
    return {};
}

QString LadderTable(const Forecast& forecast) {
    QString html =
        "<p><b>Если дальше не угадывать</b> (каждый следующий спин мимо ставки):</p>"
        "<table cellspacing=0 cellpadding=1>"
        "<tr><th>Спин</th><th>&nbsp;Ставка</th><th>&nbsp;Чисел</th><th>&nbsp;На поле</th>"
        "<th>&nbsp;Проиграно</th><th>&nbsp;Баланс игры</th></tr>";
    const size_t rows = forecast.ladder.size();
    for (size_t k = 0; k < rows; ++k) {
        if (rows > LadderRowsShown + 1 && k == LadderRowsShown - 1) {
            html += "<tr><td align=right>…</td></tr>";
            k = rows - 1;
        }
        html += LadderRow(k, forecast.ladder[k]);
    }
    return html + "</table><p>" + LadderEnding(forecast) + "</p>";
}

}  // namespace

QString ForecastLineText(const Forecast& forecast) {
    QString text = "Прогноз: выигрыш " + Percent(forecast.winStop.value) + " · проигрыш " +
                   Percent(forecast.lossStop.value) + "\n";
    if (std::lround(forecast.open.value * 100) > 0) {
        text += "не решено " + Percent(forecast.open.value) + " · ";
    }
    text += "в среднем " + Units(forecast.totalChange.value) + " за игру";
    return forecast.Complete() ? text : text + " …";
}

QString ForecastDetails(const Forecast& forecast) {
    QString html = QString("<p><b>Прогноз этой игры</b> по %1 продолжениям (каждое до %2 спинов)")
                       .arg(forecast.continuations)
                       .arg(forecast.horizon);
    if (!forecast.Complete()) {
        html += QString(", сыграно %1 из %2, прогноз уточняется")
                    .arg(forecast.continuations)
                    .arg(forecast.planned);
    }
    html += ". В скобках — 95-процентный интервал.</p><table cellspacing=0 cellpadding=1>";
    html += ShareRow("Остановка при выигрыше", forecast.winStop);
    html += ShareRow("Остановка при проигрыше", forecast.lossStop);
    html += ShareRow(QString("Не закончится за %1 спинов").arg(forecast.horizon), forecast.open);
    html += "</table>";
    const Mean& change = forecast.totalChange;
    html += QString(
                "<p>Суммарный баланс до конца игры изменится в среднем на %1 (%2 … %3); "
                "в среднем будет поставлено %4 ед.")
                .arg(Units(change.value), Units(change.interval.low), Units(change.interval.high))
                .arg(std::lround(forecast.unitsStaked.value));
    if (forecast.medianSpinsToEnd) {
        html += QString(" Половина продолжений кончается за %1 спинов или быстрее.")
                    .arg(*forecast.medianSpinsToEnd);
    } else {
        html += QString(" Больше половины продолжений не кончаются за %1 спинов.")
                    .arg(forecast.horizon);
    }
    html += "</p>" + LadderTable(forecast);
    html +=
        "<p><i>Прогноз считает колесо честным, а настройки — такими, как сейчас. Частый мелкий "
        "выигрыш и средний проигрыш не спорят друг с другом: редкий проигрыш стоит многих "
        "выигрышей.</i></p>";
    return html;
}

ForecastLine::ForecastLine(QWidget* sheet, const ForecastOptions& options) : QLabel(sheet) {
    setObjectName("ForecastLine");
    setGeometry(LinePlace);
    setFont(WindowFont(LinePixels));
    setTextFormat(Qt::PlainText);
    setAccessibleName("Прогноз игры");
    SetStale(false);
    worker_ = std::make_unique<ForecastWorker>(
        options, PartialEvery,
        [this](uint64_t generation, const std::shared_ptr<const Forecast>& forecast,
               const std::string& reason) {
            const QString error = QString::fromStdString(reason);
            // Queued to the window's thread; dropped when the line is gone by then.
            QMetaObject::invokeMethod(
                this, [this, generation, forecast, error] { Receive(generation, forecast, error); },
                Qt::QueuedConnection);
        });
}

ForecastLine::~ForecastLine() {
    worker_.reset();
}

void ForecastLine::Refresh(const GameState& state, const SettingsModel& settings,
                           MainWindowView& view) {
    if (!on_) {
        return;
    }
    ++generation_;
    settled_ = false;
    if (!HasForecast(settings.ActiveSystem())) {
        worker_->Drop();
        ShowNone("система не делает ставок",
                 "Без ставок играть нечего: прогноз есть у систем, которые ставят.");
        return;
    }
    try {
        GamePicture picture = worker_->SparePicture();
        TakePicture(state, settings, view, picture);
        worker_->Start(generation_, std::move(picture));
        SetStale(true);
    } catch (const PlayerError& error) {
        worker_->Drop();
        ShowNone("в поле не число", QString::fromUtf8(error.what()));
    }
}

void ForecastLine::SetOn(bool on) {
    on_ = on;
    setVisible(on);
    if (!on) {
        ++generation_;
        worker_->Drop();
        shown_.reset();
        settled_ = true;
    }
}

void ForecastLine::Receive(uint64_t generation, const std::shared_ptr<const Forecast>& forecast,
                           const QString& error) {
    if (generation != generation_ || !on_) {
        return;  // a forecast of a game that has moved on
    }
    if (!forecast) {
        ShowNone("в поле не число", error);
        return;
    }
    ShowForecast(*forecast);
    settled_ = forecast->Complete();
}

void ForecastLine::ShowText(const QString& text) {
    // A wider fallback typeface must not cut the line: its font gives way instead.
    QFont font = WindowFont(LinePixels);
    const auto widest = [&] {
        int width = 0;
        for (const QString& line : text.split('\n')) {
            width = std::max(width, QFontMetrics(font).horizontalAdvance(line));
        }
        return width;
    };
    while (widest() > LinePlace.width() && font.pixelSize() > SmallestCaptionPixels) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    if (font != this->font()) {
        setFont(font);
    }
    setText(text);
}

void ForecastLine::ShowForecast(const Forecast& forecast) {
    shown_ = forecast;
    ShowText(ForecastLineText(forecast));
    SetStale(!forecast.Complete());
}

void ForecastLine::ShowNone(const QString& why, const QString& details) {
    shown_.reset();
    settled_ = true;
    ShowText("Прогноз: нет —\n" + why);
    noneDetails_ = details;
    SetStale(false);
}

QString ForecastLine::Details() const {
    return shown_ ? ForecastDetails(*shown_) : noneDetails_;
}

bool ForecastLine::event(QEvent* event) {
    // The details are written when they are asked for, not after every forecast.
    if (event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), Details(), this);
        return true;
    }
    return QLabel::event(event);
}

void ForecastLine::SetStale(bool stale) {
    const QColor colour = stale ? StaleColour : FreshColour;
    if (palette().color(QPalette::WindowText) != colour) {
        QPalette greyed = palette();
        greyed.setColor(QPalette::WindowText, colour);
        setPalette(greyed);
    }
}

}  // namespace orbista

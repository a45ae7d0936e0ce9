#include "session/comparison_columns.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace orbista {

namespace {

Cell Plain(double value, CellFormat format) {
    return {value, format, {}, std::nullopt};
}

// A money figure: none for a system that staked nothing.
Cell Money(const SystemFigures& f, double value, CellFormat format) {
    return f.Bets() ? Plain(value, format) : Cell{std::nullopt, format, {}, std::nullopt};
}

// A figure of the bankroll's risk: none without a bankroll too.
Cell Risk(const SystemFigures& f, double value, CellFormat format) {
    return f.HasBankroll() ? Money(f, value, format) : Cell{std::nullopt, format, {}, std::nullopt};
}

Cell ShareInterval(const SystemFigures& f, const Share& share) {
    Cell cell = Money(f, share.value, CellFormat::Interval);
    cell.interval = share.interval;
    return cell;
}

Cell SpinOfRuin(const SystemFigures& f, double spin) {
    Cell cell = Risk(f, spin, CellFormat::Units);
    if (f.ruin.count == 0) {
        cell.value.reset();
    }
    return cell;
}

// A bankroll is whole units: the smallest whole number at or above the percentile.
Cell BankrollCell(const SystemFigures& f, double depth) {
    Cell cell = Money(f, std::ceil(depth), CellFormat::Bankroll);
    if (cell.value && f.HasBankroll() && *cell.value >= static_cast<double>(f.bankroll)) {
        cell.beyond = f.bankroll;
    }
    return cell;
}

using F = const SystemFigures&;
using enum Better;

const std::array Columns = {
    ComparisonColumn{"runs", "Игр", "Сколько игр сыграла система.", Higher,
                     [](F f) { return Plain(static_cast<double>(f.runs), CellFormat::Count); }},
    ComparisonColumn{"spins", "Спинов",
                     "Сколько спинов сыграно во всех играх. Игра, в которой кончился банк, "
                     "остановлена на этом спине.",
                     Higher,
                     [](F f) { return Plain(static_cast<double>(f.spins), CellFormat::Count); }},
    ComparisonColumn{"mean", "Средний\nитог",
                     "Средний итоговый общий баланс игры, в единицах: чего ждать от одной игры. "
                     "Таблица упорядочена по нему, лучшие сверху.",
                     Higher, [](F f) { return Money(f, f.meanFinal, CellFormat::Units); }},
    ComparisonColumn{"mean_se", "Погрешность\nсреднего",
                     "Стандартная ошибка среднего итога. Средние двух систем, которые "
                     "различаются меньше чем на две-три такие погрешности, на этом числе игр "
                     "не различить.",
                     Lower, [](F f) { return Money(f, f.meanStandardError, CellFormat::Units); }},
    ComparisonColumn{"median", "Медиана\nитога",
                     "Половина игр закончилась выше этого итога, половина — ниже. С остановкой "
                     "по выигрышу медиана бывает выше нуля, даже когда система в среднем "
                     "проигрывает: она часто выигрывает понемногу и редко проигрывает много.",
                     Higher, [](F f) { return Money(f, f.medianFinal, CellFormat::Units); }},
    ComparisonColumn{"p5", "5 %\nитога", "5 % игр закончились хуже этого итога.", Higher,
                     [](F f) { return Money(f, f.p5Final, CellFormat::Units); }},
    ComparisonColumn{"p95", "95 %\nитога", "5 % игр закончились лучше этого итога.", Higher,
                     [](F f) { return Money(f, f.p95Final, CellFormat::Units); }},
    ComparisonColumn{"ahead", "В плюсе", "Доля игр, закончившихся выше нуля.", Higher,
                     [](F f) { return Money(f, f.ahead.value, CellFormat::Share); }},
    ComparisonColumn{"ahead_95", "В плюсе,\n95 % интервал",
                     "С вероятностью 95 % настоящая доля игр в плюсе лежит в этих пределах; "
                     "чем больше игр, тем они уже.",
                     Higher, [](F f) { return ShareInterval(f, f.ahead); }},
    ComparisonColumn{"ruin", "Разорение",
                     "Доля игр, в которых кончился банк: общий баланс дошёл до минус банка. "
                     "Такая игра на этом спине остановлена, как остановился бы игрок.",
                     Lower, [](F f) { return Risk(f, f.ruin.value, CellFormat::Share); }},
    ComparisonColumn{"ruin_95", "Разорение,\n95 % интервал",
                     "С вероятностью 95 % настоящий риск разорения лежит в этих пределах; чем "
                     "больше игр, тем они уже. Ни одного разорения в 100 играх ещё допускает "
                     "риск до 3,7 %.",
                     Lower,
                     [](F f) {
                         Cell cell = ShareInterval(f, f.ruin);
                         if (!f.HasBankroll()) {
                             cell.value.reset();
                         }
                         return cell;
                     }},
    ComparisonColumn{"ruin_spin_median", "Спин разорения,\nмедиана",
                     "Из разорившихся игр половина разорилась раньше этого спина.", Higher,
                     [](F f) { return SpinOfRuin(f, f.medianSpinOfRuin); }},
    ComparisonColumn{"ruin_spin_p90", "Спин разорения,\n90 %",
                     "Из разорившихся игр 90 % разорились раньше этого спина.", Higher,
                     [](F f) { return SpinOfRuin(f, f.p90SpinOfRuin); }},
    ComparisonColumn{"bankroll_95", "Банк\nдля 95 %",
                     "Банк, которого хватило бы в 95 % игр: так глубоко опустились ниже старта "
                     "не больше 5 % игр. «> Б» — больше заданного банка Б.",
                     Lower, [](F f) { return BankrollCell(f, f.bankrollFor95); }},
    ComparisonColumn{"bankroll_99", "Банк\nдля 99 %",
                     "Банк, которого хватило бы в 99 % игр. «> Б» — больше заданного банка Б.",
                     Lower, [](F f) { return BankrollCell(f, f.bankrollFor99); }},
    ComparisonColumn{"max_drawdown_median", "Просадка,\nмедиана",
                     "Просадка — наибольшее падение общего баланса от его пика за игру (старт "
                     "тоже пик): игра, поднявшаяся до +3000 и упавшая до +100, просела на 2900. "
                     "Медиана по играм.",
                     Lower, [](F f) { return Money(f, f.medianMaxDrawdown, CellFormat::Units); }},
    ComparisonColumn{"max_drawdown_p95", "Просадка,\n95 %", "В 5 % игр просадка была больше этой.",
                     Lower, [](F f) { return Money(f, f.p95MaxDrawdown, CellFormat::Units); }},
    ComparisonColumn{"depth_median", "Глубина ниже\nстарта, медиана",
                     "Насколько общий баланс опускался ниже нуля, с которого игра началась. "
                     "Медиана по играм.",
                     Lower, [](F f) { return Money(f, f.medianDepth, CellFormat::Units); }},
    ComparisonColumn{"depth_p95", "Глубина ниже\nстарта, 95 %",
                     "В 5 % игр общий баланс опускался ниже старта глубже этого.", Lower,
                     [](F f) { return Money(f, f.p95Depth, CellFormat::Units); }},
    ComparisonColumn{"staked/1k", "Ставок\nна 1000 спинов",
                     "Сколько единиц система ставит за 1000 спинов. Чем больше ставится, тем "
                     "больше забирает преимущество казино.",
                     Lower, [](F f) { return Money(f, f.stakedPerThousand, CellFormat::Units); }},
    ComparisonColumn{"loss/1k", "Потеря\nна 1000 спинов",
                     "Сколько единиц общий баланс теряет за 1000 спинов (минус — выигрывает).",
                     Lower, [](F f) { return Money(f, f.lossPerThousand, CellFormat::Units); }},
    ComparisonColumn{"edge_loss/1k", "Потеря по\nпреимуществу",
                     "Сколько должно теряться за 1000 спинов при таких ставках: 1/37 "
                     "поставленного. Потеря рядом отличается от неё только случаем.",
                     Lower, [](F f) { return Money(f, f.edgeLossPerThousand, CellFormat::Units); }},
    ComparisonColumn{"return/unit", "Возврат на\nединицу ставки",
                     "Итог на единицу поставленного. На честном колесе он около −2,70 % у любой "
                     "системы.",
                     Higher, [](F f) { return Money(f, f.returnPerUnit, CellFormat::Return); }},
    ComparisonColumn{"std_error", "Ошибка\nвозврата",
                     "Стандартная ошибка возврата: отличие от −2,70 % меньше двух-трёх таких "
                     "ошибок — случай, а не заслуга системы.",
                     Lower,
                     [](F f) { return Money(f, f.returnStandardError, CellFormat::Return); }},
    ComparisonColumn{"fair_wheel", "Честное\nколесо",
                     "Возврат честного колеса с одним зеро: −1/37 поставленного.", Higher,
                     [](F f) { return Money(f, FairWheelReturn, CellFormat::Return); }},
    ComparisonColumn{"win_stops/1k", "Выигрышей\nна 1000 спинов",
                     "Сколько раз за 1000 спинов игра дошла до цели выигрыша.", Higher,
                     [](F f) { return Money(f, f.winStopsPerThousand, CellFormat::Rate); }},
    ComparisonColumn{"loss_stops/1k", "Проигрышей\nна 1000 спинов",
                     "Сколько раз за 1000 спинов игра дошла до предела проигрыша.", Lower,
                     [](F f) { return Money(f, f.lossStopsPerThousand, CellFormat::Rate); }},
    ComparisonColumn{"highest_stake", "Наибольшая\nставка",
                     "Наибольшая ставка на число, сделанная в какой-либо игре.", Lower,
                     [](F f) { return Money(f, f.highestStakeLevel, CellFormat::Count); }},
};

std::string PercentText(double share, int decimals, const NumberStyle& style) {
    return FixedText(100 * share, decimals, style) + std::string(style.percent);
}

}  // namespace

std::span<const ComparisonColumn> ComparisonColumns() {
    return Columns;
}

const ComparisonColumn* ColumnByKey(std::string_view key) {
    for (const ComparisonColumn& column : Columns) {
        if (column.key == key) {
            return &column;
        }
    }
    return nullptr;
}

const ComparisonColumn& MeanColumn() {
    return *ColumnByKey("mean");
}

std::string FixedText(double value, int decimals, const NumberStyle& style) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.starts_with('-')) {
        text.erase(0, 1);
        if (text.find_first_not_of("0.") != std::string::npos) {
            text = std::string(style.minus) + text;
        }
    }
    std::replace(text.begin(), text.end(), '.', style.decimalPoint);
    return text;
}

std::string CellText(const Cell& cell, const NumberStyle& style) {
    if (!cell.value) {
        return std::string(NoFigure);
    }
    const double value = *cell.value;
    switch (cell.format) {
        case CellFormat::Count:
            return FixedText(value, 0, style);
        case CellFormat::Units:
            return FixedText(value, 1, style);
        case CellFormat::Rate:
            return FixedText(value, 3, style);
        case CellFormat::Share:
            return PercentText(value, 1, style);
        case CellFormat::Return:
            return PercentText(value, 2, style);
        case CellFormat::Interval:
            return FixedText(100 * cell.interval.low, 1, style) + std::string(style.rangeDash) +
                   PercentText(cell.interval.high, 1, style);
        case CellFormat::Bankroll:
            return cell.beyond ? std::string(style.beyond) + std::to_string(*cell.beyond)
                               : FixedText(value, 0, style);
    }
    return {};
}

std::vector<SystemFigures> Ranked(std::vector<SystemFigures> figures, const ComparisonColumn& by) {
    std::stable_sort(figures.begin(), figures.end(),
                     [&](const SystemFigures& a, const SystemFigures& b) {
                         if (a.Bets() != b.Bets()) {
                             return a.Bets();
                         }
                         const std::optional<double> x = by.cell(a).value;
                         const std::optional<double> y = by.cell(b).value;
                         if (x.has_value() != y.has_value()) {
                             return x.has_value();
                         }
                         if (!x) {
                             return false;
                         }
                         return by.better == Better::Higher ? *x > *y : *x < *y;
                     });
    return figures;
}

}  // namespace orbista

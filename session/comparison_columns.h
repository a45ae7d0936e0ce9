#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "session/comparison_stats.h"

namespace orbista {

// How a figure is written.
enum class CellFormat {
    Count,     // a whole number
    Units,     // units, one decimal
    Rate,      // per 1,000 spins, three decimals
    Share,     // a share in per cent, one decimal
    Return,    // a return in per cent, two decimals
    Interval,  // the interval of a share, in per cent, one decimal
    Bankroll,  // whole units, rounded up; beyond the bankroll "> B"
};

// One figure of one system: its value, for sorting and scripts, and how it is written. No value:
// the figure does not exist for the system (written "—").
struct Cell {
    std::optional<double> value;
    CellFormat format = CellFormat::Count;
    Interval interval;              // CellFormat::Interval: the bounds, 0..1
    std::optional<int64_t> beyond;  // CellFormat::Bankroll at or beyond this bankroll
};

// Which way a column's figures are better: the order puts the best first.
enum class Better { Higher, Lower };

// A column of the comparison's table, the same in the simulator (its key), the window (its caption
// and tooltip), the JSON (its key) and the help.
struct ComparisonColumn {
    std::string_view key;
    std::string_view caption;
    std::string_view tooltip;
    Better better;
    Cell (*cell)(const SystemFigures&);
};

// Every column after the system's name, in the table's order.
std::span<const ComparisonColumn> ComparisonColumns();
const ComparisonColumn* ColumnByKey(std::string_view key);
// The default order: the mean final balance, best first.
const ComparisonColumn& MeanColumn();

// The written form of a figure that does not exist.
inline constexpr std::string_view NoFigure = "—";

// How numbers are written: points for scripts, the Russian comma in the window.
struct NumberStyle {
    char decimalPoint;
    std::string_view percent;
    std::string_view minus;
    std::string_view rangeDash;
    std::string_view beyond;
};
inline constexpr NumberStyle ScriptNumbers{'.', "%", "-", "-", ">"};
inline constexpr NumberStyle WindowNumbers{',', " %", "−", "–", "> "};

std::string CellText(const Cell& cell, const NumberStyle& style);
// A number with `decimals` decimals in the given style ("-0.0" is written "0.0").
std::string FixedText(double value, int decimals, const NumberStyle& style);

// The systems by a column, best first; systems that bet nothing last; equal figures keep the
// order they came in.
std::vector<SystemFigures> Ranked(std::vector<SystemFigures> figures,
                                  const ComparisonColumn& by = MeanColumn());

}  // namespace orbista

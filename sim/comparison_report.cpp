#include "sim/comparison_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "sim/aligned_columns.h"
#include "sim/command_line.h"

namespace orbista {

namespace {

std::string SystemName(SelectionSystem system) {
    return std::string(InfoOf(system)->simName);
}

std::string PairLine(const PairFigures& pair) {
    const std::string first = SystemName(pair.first);
    const std::string second = SystemName(pair.second);
    const NumberStyle& style = ScriptNumbers;
    return "# " + first + " - " + second + " over " + std::to_string(pair.games) +
           " games: mean difference " + FixedText(pair.meanDifference, 1, style) +
           " (95% interval " + FixedText(pair.interval.low, 1, style) + " to " +
           FixedText(pair.interval.high, 1, style) + "); " + first + " ended above " + second +
           " in " + FixedText(100 * pair.firstAbove.value, 1, style) + "% of games (" +
           FixedText(100 * pair.firstAbove.interval.low, 1, style) + "-" +
           FixedText(100 * pair.firstAbove.interval.high, 1, style) + "%)\n";
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, end);
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string JsonInterval(const Interval& interval) {
    return "[" + JsonNumber(interval.low) + ", " + JsonNumber(interval.high) + "]";
}

std::string JsonCell(const Cell& cell) {
    if (!cell.value) {
        return "null";
    }
    return cell.format == CellFormat::Interval ? JsonInterval(cell.interval)
                                               : JsonNumber(*cell.value);
}

std::string JsonSystem(const SystemFigures& figures) {
    std::string json = "    {\"system\": " + JsonString(SystemName(figures.system));
    for (const ComparisonColumn& column : ComparisonColumns()) {
        json += ", " + JsonString(column.key) + ": " + JsonCell(column.cell(figures));
    }
    return json + "}";
}

std::string JsonPair(const PairFigures& pair) {
    return "{\"first\": " + JsonString(SystemName(pair.first)) +
           ", \"second\": " + JsonString(SystemName(pair.second)) +
           ", \"games\": " + std::to_string(pair.games) +
           ", \"mean_difference\": " + JsonNumber(pair.meanDifference) +
           ", \"mean_difference_se\": " + JsonNumber(pair.standardError) +
           ", \"mean_difference_95\": " + JsonInterval(pair.interval) +
           ", \"first_above\": " + JsonNumber(pair.firstAbove.value) +
           ", \"first_above_95\": " + JsonInterval(pair.firstAbove.interval) + "}";
}

// "peer,esd": the places in the plan of two different systems compared; UsageError.
std::pair<size_t, size_t> PairOf(const std::string& text,
                                 const std::vector<SelectionSystem>& systems) {
    const size_t comma = text.find(',');
    std::vector<size_t> places;
    for (const std::string& name :
         {text.substr(0, comma), comma == std::string::npos ? "" : text.substr(comma + 1)}) {
        const auto system = SystemBySimName(name);
        const auto at = system ? std::find(systems.begin(), systems.end(), *system) : systems.end();
        if (at == systems.end()) {
            throw UsageError("--pair takes two of the systems compared, apart by a comma: " + text);
        }
        places.push_back(static_cast<size_t>(at - systems.begin()));
    }
    if (places[0] == places[1]) {
        throw UsageError("--pair takes two different systems: " + text);
    }
    return {places[0], places[1]};
}

std::string ColumnKeys() {
    std::string keys;
    for (const ComparisonColumn& column : ComparisonColumns()) {
        keys += (keys.empty() ? "" : ", ") + std::string(column.key);
    }
    return keys;
}

}  // namespace

CommandText CommandText::Of(std::string_view text) {
    const size_t at = text.find("  # ");
    if (at == std::string_view::npos) {
        return {std::string(text), {}};
    }
    return {std::string(text.substr(0, at)), std::string(text.substr(at + 4))};
}

std::string ShellWord(std::string_view text) {
    const bool plain = !text.empty() && text.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_./+-:,=@%") == std::string_view::npos;
    if (plain) {
        return std::string(text);
    }
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReportTable(const ComparisonReport& report) {
    std::vector<std::vector<std::string>> rows(1, {"system"});
    for (const ComparisonColumn& column : ComparisonColumns()) {
        rows[0].emplace_back(column.key);
    }
    for (const SystemFigures& figures : report.ranked) {
        std::vector<std::string> row = {SystemName(figures.system)};
        for (const ComparisonColumn& column : ComparisonColumns()) {
            row.push_back(CellText(column.cell(figures), ScriptNumbers));
        }
        rows.push_back(std::move(row));
    }
    std::string text = "# " + report.command + "\n";
    for (const std::string& note : report.notes) {
        text += "# " + note + "\n";
    }
    text += AlignedColumns(rows);
    if (report.pair) {
        text += PairLine(*report.pair);
    }
    return text;
}

std::string ReportJson(const ComparisonReport& report) {
    std::string json = "{\n  \"command\": " + JsonString(report.command) + ",\n  \"notes\": [";
    for (size_t k = 0; k < report.notes.size(); ++k) {
        json += (k == 0 ? "" : ", ") + JsonString(report.notes[k]);
    }
    json += "],\n  \"systems\": [\n";
    for (size_t k = 0; k < report.ranked.size(); ++k) {
        json += JsonSystem(report.ranked[k]) + (k + 1 < report.ranked.size() ? ",\n" : "\n");
    }
    json += "  ]";
    if (report.pair) {
        json += ",\n  \"pair\": " + JsonPair(*report.pair);
    }
    return json + "\n}\n";
}

void ReportOptions::Declare(CLI::App& app) {
    AddTextOption(app, "--sort", sortText_, "COLUMN",
                  "orders the rows by a column of the table, best first (default: mean)");
    AddTextOption(app, "--pair", pairText_, "A,B",
                  "compares two of the systems game by game, below the table");
    AddTextOption(app, "--format", formatText_, "FORMAT",
                  "table (default), or json: the same figures for scripts");
}

void ReportOptions::Check(const std::vector<SelectionSystem>& systems) {
    if (sortText_) {
        sort_ = ColumnByKey(*sortText_);
        if (sort_ == nullptr) {
            throw UsageError("--sort takes a column of the table (" + ColumnKeys() +
                             "): " + *sortText_);
        }
    }
    if (pairText_) {
        pair_ = PairOf(*pairText_, systems);
    }
    if (formatText_ && *formatText_ != "table" && *formatText_ != "json") {
        throw UsageError("--format takes table or json: " + *formatText_);
    }
    json_ = formatText_ == "json";
}

std::string ReportOptions::Report(const CommandText& command, const ComparisonPlan& plan,
                                  const ComparisonResult& result,
                                  std::vector<std::string> notes) const {
    CommandText header = command;
    if (sortText_) {
        header.words += " --sort " + ShellWord(*sortText_);
    }
    if (pairText_) {
        header.words += " --pair " + *pairText_;
    }
    ComparisonReport report{
        header.Text(), std::move(notes),
        Ranked(SummariseComparison(plan, result), sort_ != nullptr ? *sort_ : MeanColumn()),
        std::nullopt};
    if (pair_) {
        report.pair = ComparePair(plan, result, pair_->first, pair_->second);
    }
    return json_ ? ReportJson(report) : ReportTable(report);
}

}  // namespace orbista

#include "sim/wheel.h"

#include <algorithm>
#include <cstdarg>

#include "sim/aligned_columns.h"
#include "sim/compare.h"
#include "storage/permanence.h"

namespace orbista {

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
    char buffer[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string_view SimName(WheelGroup group) {
    return WheelGroupsTable[static_cast<size_t>(group)].simName;
}

double SmallestExpected(const GroupTest& test) {
    double smallest = test.cells.front().expected;
    for (const WheelCell& cell : test.cells) {
        smallest = std::min(smallest, cell.expected);
    }
    return smallest;
}

}  // namespace

WheelCommand::WheelCommand(CLI::App& app, std::FILE* out, std::FILE* err) : Command(app, out, err) {
    app.add_option("FILE", paths_,
                   "permanence files (a folder: its .txt files by name), joined in this order")
        ->required()
        ->expected(1, CLI::detail::expected_max_vector_size);
    app.add_flag("--csv", csv_, "prints CSV instead of the table");
}

void WheelCommand::Prepare() {
    spins_ = ReadPermanences(ExpandSpinPaths(paths_)).spins;
}

int WheelCommand::Play() {
    const WheelTestResult result = TestWheel(spins_);
    std::string header = "# orbista-sim wheel";
    for (const std::string& path : paths_) {
        header += " " + path;
    }
    header += ": " + std::to_string(result.spins) + " spins\n";
    const std::string text = csv_ ? WheelCsv(result) : WheelTable(result, header);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
    return 0;
}

std::string WheelTable(const WheelTestResult& result, const std::string& header) {
    std::vector<std::vector<std::string>> tests = {
        {"test", "cells", "df", "chi_square", "p_value", "smallest_expected", "note"}};
    for (const GroupTest& test : result.tests) {
        tests.push_back({std::string(SimName(test.group)), std::to_string(test.cells.size()),
                         std::to_string(test.degreesOfFreedom), Format("%.4f", test.chiSquare),
                         Format("%.4g", test.pValue), Format("%.1f", SmallestExpected(test)),
                         test.sampleTooSmall ? std::string(SmallSampleWarning) : ""});
    }
    const GroupTest& numbers = result.tests[static_cast<size_t>(WheelGroup::Numbers)];
    std::vector<std::vector<std::string>> perNumber = {
        {"number", "hits", "expected", "deviation", "longest_absence", "p_absence"}};
    for (int number = 0; number < NumberCount; ++number) {
        const NumberFigures& figures = result.numbers[static_cast<size_t>(number)];
        const WheelCell& cell = numbers.cells[static_cast<size_t>(number)];
        perNumber.push_back({std::to_string(number), std::to_string(figures.hits),
                             Format("%.1f", cell.expected), Format("%.2f", cell.deviation),
                             std::to_string(figures.longestAbsence),
                             Format("%.4g", figures.absenceProbability)});
    }
    std::string text = header + AlignedColumns(tests) + "\n" + AlignedColumns(perNumber) + "\n";
    text += "repeats: " + std::to_string(result.repeats) +
            Format(" expected %.1f p_value %.4g\n\n", result.expectedRepeats, result.repeatsPValue);
    for (const std::string& line : WheelVerdict(result)) {
        text += line + "\n";
    }
    return text;
}

std::string WheelCsv(const WheelTestResult& result) {
    std::string csv =
        "test,cell,observed,expected,deviation,chi_square,degrees_of_freedom,p_value,"
        "longest_absence,absence_probability\n";
    for (const GroupTest& test : result.tests) {
        const std::string name(SimName(test.group));
        csv += name + ",all," + std::to_string(result.spins) +
               Format(",%.17g", result.spins * 1.0) + "," + Format(",%.17g", test.chiSquare) + "," +
               std::to_string(test.degreesOfFreedom) + Format(",%.17g", test.pValue) + ",,\n";
        for (size_t c = 0; c < test.cells.size(); ++c) {
            const WheelCell& cell = test.cells[c];
            csv += name + "," + cell.label + "," + std::to_string(cell.observed) +
                   Format(",%.17g,%.17g", cell.expected, cell.deviation) + ",,,";
            if (test.group == WheelGroup::Numbers) {
                const NumberFigures& figures = result.numbers[c];
                csv += "," + std::to_string(figures.longestAbsence) +
                       Format(",%.17g", figures.absenceProbability);
            } else {
                csv += ",,";
            }
            csv += "\n";
        }
    }
    csv += "repeats,all," + std::to_string(result.repeats) +
           Format(",%.17g,,,,%.17g,,\n", result.expectedRepeats, result.repeatsPValue);
    return csv;
}

}  // namespace orbista

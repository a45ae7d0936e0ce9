#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/comparison_columns.h"
#include "session/paired_comparison.h"

namespace orbista {

// A command as a header prints it: the words the shell runs, and after them a remark that it
// ignores ("  # 120 files").
struct CommandText {
    std::string words;
    std::string remark;

    std::string Text() const { return remark.empty() ? words : words + "  # " + remark; }
    static CommandText Of(std::string_view text);
};

// A path as a command line gives it to the shell: as it is when the shell leaves it alone, else
// in single quotes.
std::string ShellWord(std::string_view text);

// What `orbista-sim compare` and `orbista-sim merge` print of a comparison: the command that
// gives it, the systems in their order, and the pair when one was asked for.
struct ComparisonReport {
    std::string command;
    std::vector<std::string> notes;  // lines below the command: what was cut, or stopped
    std::vector<SystemFigures> ranked;
    std::optional<PairFigures> pair;
};

// The table: "# " and the command, a "# " line for each note, then aligned columns, the system's
// name to the left and the figures to the right, a figure that does not exist as "—"; the pair on a
// comment line below.
std::string ReportTable(const ComparisonReport& report);
// The same figures as one JSON object for scripts: shares as fractions, an interval as its two
// bounds, a figure that does not exist as null.
std::string ReportJson(const ComparisonReport& report);

// The options that say how a comparison is reported, the same for compare and merge: --sort,
// --pair and --format.
class ReportOptions {
  public:
    void Declare(CLI::App& app);
    // Checks them against the systems compared; UsageError.
    void Check(const std::vector<SelectionSystem>& systems);
    // The report of a comparison played by `command` (" --sort" and " --pair" added to it when
    // given, so that the header gives this report again).
    std::string Report(const CommandText& command, const ComparisonPlan& plan,
                       const ComparisonResult& result, std::vector<std::string> notes = {}) const;

  private:
    std::optional<std::string> sortText_;
    std::optional<std::string> pairText_;
    std::optional<std::string> formatText_;
    const ComparisonColumn* sort_ = nullptr;
    std::optional<std::pair<size_t, size_t>> pair_;
    bool json_ = false;
};

}  // namespace orbista

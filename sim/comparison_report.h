#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "session/comparison_columns.h"
#include "session/paired_comparison.h"

namespace orbista {

// What `orbista-sim compare` and `orbista-sim merge` print of a comparison: the command that
// gives it, the systems in their order, and the pair when one was asked for.
struct ComparisonReport {
    std::string command;
    std::vector<SystemFigures> ranked;
    std::optional<PairFigures> pair;
};

// The table: "# " and the command, then aligned columns, the system's name to the left and the
// figures to the right, a figure that does not exist as "—"; the pair on a comment line below.
std::string ReportTable(const ComparisonReport& report);
// The same figures as one JSON object for scripts: shares as fractions, an interval as its two
// bounds, a figure that does not exist as null.
std::string ReportJson(const ComparisonReport& report);

}  // namespace orbista

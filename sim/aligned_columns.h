#pragma once

#include <string>
#include <vector>

namespace orbista {

// The rows as a terminal table: the first column to the left, the others to the right, two spaces
// between columns and none at the end of a line. Widths are counted in characters, not bytes, as a
// terminal counts them ("—" is three bytes of UTF-8).
std::string AlignedColumns(const std::vector<std::vector<std::string>>& rows);

}  // namespace orbista

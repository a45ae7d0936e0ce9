#pragma once

#include <cstddef>

namespace orbista {

// Whether every row of a table stands at the index of its own enum value, so that the enum
// indexes the table: ListedInEnumOrder(DisplaysTable, &DisplayInfo::display).
template <typename Table, typename Row, typename Enum>
constexpr bool ListedInEnumOrder(const Table& table, Enum Row::*key) {
    std::size_t index = 0;
    for (const Row& row : table) {
        if (static_cast<std::size_t>(row.*key) != index++) {
            return false;
        }
    }
    return true;
}

}  // namespace orbista

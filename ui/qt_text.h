#pragma once

#include <QString>
#include <string_view>

namespace orbista {

// A text of the core or of the program's tables, which hold UTF-8, as a widget shows it.
inline QString QText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orbista

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orbista {

// The one number rule of the files and the fields.

// The first line of a field's text (up to CR or LF).
std::string_view FirstLine(std::string_view text);

// The longest token that can be a number: a sign and up to 19 digits (leading zeros included).
// Every reader uses it to reject a longer token as soon as it has seen that much of it.
inline constexpr size_t MaxNumberLength = 20;

// The one number rule of the files and the fields: an optional sign, decimal digits, at most
// MaxNumberLength characters, a value that fits in 32 bits. Anything else (empty text, letters,
// blanks, digit grouping) gives nothing.
std::optional<int32_t> ParseNumberToken(std::string_view token);

// ParseNumberToken of the text without its leading and trailing blanks and tabs.
std::optional<int32_t> ParseDecimal(std::string_view text);

// ParseDecimal of the first line, or a ConversionError naming the field.
int32_t ReadFieldNumber(std::string_view text, std::string_view control, std::string_view caption);

}  // namespace orbista

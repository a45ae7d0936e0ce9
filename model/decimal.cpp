#include "model/decimal.h"

#include <string>

#include "model/errors.h"

namespace orbista {

std::string_view FirstLine(std::string_view text) {
    const auto end = text.find_first_of("\r\n");
    return end == std::string_view::npos ? text : text.substr(0, end);
}

std::optional<int32_t> ParseNumberToken(std::string_view token) {
    if (token.size() > MaxNumberLength) {
        return std::nullopt;
    }
    std::string_view digits = token;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    // Digits only after the sign: no second sign, no blank, no digit grouping.
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > int64_t{1} << 31) {
            return std::nullopt;
        }
    }
    value = token.front() == '-' ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return ParseNumberToken(text);
}

int32_t ReadFieldNumber(std::string_view text, std::string_view control, std::string_view caption) {
    const std::string_view line = FirstLine(text);
    if (const auto value = ParseDecimal(line)) {
        return *value;
    }
    throw ConversionError(std::string(control), std::string(caption), std::string(line));
}

}  // namespace orbista

#include "storage/spin_file.h"

#include <algorithm>
#include <charconv>

#include "storage/text_file.h"

namespace orbista {

namespace {

void AppendNumber(std::string& text, int32_t number) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, end);
}

}  // namespace

std::string SpinListFormat(const GameState& state) {
    const auto kept = static_cast<int32_t>(std::clamp<int64_t>(state.SpinCount, 0, KeptSpins));
    std::string text;
    text.reserve(static_cast<size_t>(kept) * 4);
    for (int32_t k = kept; k >= 1; --k) {
        AppendNumber(text, state.SpinHistory[k]);
        if (k != 1) {
            text += "  ";
        }
    }
    return text;
}

std::filesystem::path SaveSpins(const GameState& state, const std::filesystem::path& chosenPath,
                                FileSystem& fileSystem) {
    std::filesystem::path path = chosenPath;
    path += ".txt";
    ReplaceFile(path, SpinListFormat(state), fileSystem);
    return path;
}

}  // namespace orbista

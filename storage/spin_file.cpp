#include "storage/spin_file.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "model/decimal.h"
#include "model/errors.h"
#include "storage/bounded_file.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

// A million numbers need well under this much even with wide columns; a file that has not given
// them by then is not a spin file, and reading stops there.
constexpr uint64_t SpinFileByteLimit = 64 << 20;

void AppendNumber(std::string& text, int32_t number) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, end);
}

}  // namespace

SpinFileParser::SpinFileParser(std::filesystem::path path)
    : path_(std::move(path)), tokenizer_(MaxNumberLength) {}

bool SpinFileParser::Feed(std::string_view piece) {
    return !full_ && tokenizer_.Feed(piece, [this](const TextToken& token) { return Take(token); });
}

LoadedSpins SpinFileParser::Finish() {
    if (!full_) {
        tokenizer_.Finish([this](const TextToken& token) { return Take(token); });
    }
    return std::move(loaded_);
}

bool SpinFileParser::Take(const TextToken& token) {
    // What follows the millionth number is left unread, whatever it is.
    if (loaded_.Count() == LoadedSpinCapacity) {
        loaded_.truncated = true;
        full_ = true;
        return false;
    }
    const std::optional<int32_t> number = token.cut ? std::nullopt : ParseNumberToken(token.text);
    if (!number) {
        throw FileError::NotAnInteger(path_, token.line, token.text, token.cut);
    }
    if (*number < 0 || *number >= NumberCount) {
        throw FileError::AtLine(
            path_, token.line,
            "число " + std::to_string(*number) + " не является номером рулетки (0–36)");
    }
    loaded_.numbers.push_back(*number);
    return true;
}

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

LoadedSpins ReadSpinFile(const std::filesystem::path& path) {
    BoundedFile file(path, SpinFileByteLimit, BoundedFile::Pipes::Refused);
    SpinFileParser parser(path);
    for (std::string_view piece = file.NextPiece(); !piece.empty(); piece = file.NextPiece()) {
        if (!parser.Feed(piece)) {
            break;
        }
    }
    return parser.Finish();
}

}  // namespace orbista

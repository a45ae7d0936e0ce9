#include "storage/permanence.h"

#include "model/decimal.h"
#include "model/errors.h"
#include "model/game_state.h"
#include "storage/bounded_file.h"

namespace orbista {

namespace {

// Tens of millions of numbers fit in this even with wide columns; a file that has not given them
// by then is not a permanence, and reading stops there.
constexpr uint64_t PermanenceByteLimit = 64 << 20;

// Besides blanks, tabs and line ends: what spreadsheets and trackers put between numbers.
constexpr std::string_view PermanenceSeparators = ",;";

// A header is words of text; a token with a control byte in it is none, and is refused at once
// (an endless device gives nothing else).
bool IsWord(std::string_view token) {
    for (const char c : token) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

}  // namespace

PermanenceParser::PermanenceParser(std::filesystem::path path, int64_t capacity)
    : path_(std::move(path)),
      capacity_(capacity),
      tokenizer_(MaxNumberLength, PermanenceSeparators) {}

bool PermanenceParser::Feed(std::string_view piece) {
    return !full_ && tokenizer_.Feed(piece, [this](const TextToken& token) { return Take(token); });
}

Permanence PermanenceParser::Finish() {
    if (!full_) {
        tokenizer_.Finish([this](const TextToken& token) { return Take(token); });
    }
    return std::move(permanence_);
}

bool PermanenceParser::Take(const TextToken& token) {
    const bool firstOfLine = token.line != line_;
    line_ = token.line;
    if (firstOfLine && token.text.starts_with('#')) {
        commentLine_ = token.line;
    }
    if (token.line == commentLine_) {
        return true;
    }
    // What follows the last number kept is left unread, whatever it is.
    if (permanence_.Count() == capacity_) {
        permanence_.truncated = true;
        full_ = true;
        return false;
    }
    const std::optional<int32_t> number = token.cut ? std::nullopt : ParseNumberToken(token.text);
    if (HeldAsHeader(token, number)) {
        return true;
    }
    if (!number) {
        throw FileError::NotAnInteger(path_, token.line, token.text, token.cut);
    }
    if (*number < 0 || *number >= NumberCount) {
        throw FileError::AtLine(
            path_, token.line,
            "число " + std::to_string(*number) + " не является номером рулетки (0–36)");
    }
    permanence_.spins.push_back(static_cast<uint8_t>(*number));
    return true;
}

bool PermanenceParser::HeldAsHeader(const TextToken& token, const std::optional<int32_t>& number) {
    if (!headerPossible_ || !IsWord(token.text)) {
        return false;
    }
    if (header_ && token.line != header_->line) {
        // The first line of content ended without a number: it was a header.
        headerPossible_ = false;
        return false;
    }
    if (number) {
        headerPossible_ = false;
        if (header_) {
            // A line of numbers with a word among them is no header: the word is a fault.
            throw FileError::NotAnInteger(path_, header_->line, header_->firstWord, header_->cut);
        }
        return false;
    }
    if (!header_) {
        header_ = HeaderCandidate{token.line, std::string(token.text), token.cut};
    }
    return true;
}

Permanence ReadPermanence(const std::filesystem::path& path, int64_t capacity) {
    BoundedFile file(path, PermanenceByteLimit, BoundedFile::Pipes::Refused);
    PermanenceParser parser(path, capacity);
    for (std::string_view piece = file.NextPiece(); !piece.empty(); piece = file.NextPiece()) {
        if (!parser.Feed(piece)) {
            break;
        }
    }
    return parser.Finish();
}

Permanence ReadPermanences(const std::vector<std::filesystem::path>& files) {
    Permanence joined;
    for (const std::filesystem::path& file : files) {
        const Permanence one = ReadPermanence(file, EveryNumber);
        joined.spins.insert(joined.spins.end(), one.spins.begin(), one.spins.end());
    }
    return joined;
}

}  // namespace orbista

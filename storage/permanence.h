#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/text_tokens.h"

namespace orbista {

// The numbers of a table in the order they came, as a file gave them.
struct Permanence {
    std::vector<uint8_t> spins;  // each 0..36
    // The file held more numbers than the reader was asked to keep; the rest was left unread.
    bool truncated = false;

    int64_t Count() const { return static_cast<int64_t>(spins.size()); }
};

// No limit on the count of numbers kept: only the file's size limit (64 MB) bounds it.
inline constexpr int64_t EveryNumber = INT64_MAX;

// Reads the numbers of a permanence, whatever the size of the pieces it is fed. The program's own
// spin files are permanences too, and read as they always were. The grammar:
// - numbers 0..36 separated by commas, semicolons, blanks, tabs or line breaks, in any mix and any
//   number of them (CR LF, LF or CR end a line; a UTF-8 byte-order mark at the start is skipped);
// - a line whose first token starts with '#' is a comment;
// - the first line that is not a comment, when it holds no number at all, is a header ("Номер",
//   "date;spin");
// - any other token rejects the whole file with a FileError naming the line and the token, so
//   nothing of a damaged file is ever used; a token longer than any number is rejected as soon as
//   it is, without reading the rest of it.
class PermanenceParser {
  public:
    // `path` is the file the messages name; at most `capacity` numbers are kept.
    PermanenceParser(std::filesystem::path path, int64_t capacity);

    // False once `capacity` numbers are kept and the text holds more.
    bool Feed(std::string_view piece);
    Permanence Finish();

  private:
    // What may still be the header line, and its first token that is no number.
    struct HeaderCandidate {
        int64_t line = 0;
        std::string firstWord;
        bool cut = false;
    };

    bool Take(const TextToken& token);
    // Whether a token of the first line of content was held back as part of a possible header.
    bool HeldAsHeader(const TextToken& token, const std::optional<int32_t>& number);

    std::filesystem::path path_;
    int64_t capacity_;
    TextTokenizer tokenizer_;
    Permanence permanence_;
    int64_t line_ = 0;  // of the last token
    int64_t commentLine_ = 0;
    bool headerPossible_ = true;
    std::optional<HeaderCandidate> header_;
    bool full_ = false;
};

// Reads a permanence file with PermanenceParser. The file is read in pieces and never beyond
// 64 MB, and a pipe is refused, so that reading it from the window cannot freeze the window.
Permanence ReadPermanence(const std::filesystem::path& path, int64_t capacity);

// The numbers of several permanence files joined into one stream, in the order given.
Permanence ReadPermanences(const std::vector<std::filesystem::path>& files);

}  // namespace orbista

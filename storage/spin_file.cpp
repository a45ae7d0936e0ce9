#include "storage/spin_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>
#include <system_error>

#include "model/errors.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr size_t ReadChunkBytes = 1 << 16;
// No roulette number needs more; a longer token is only kept as far as the message shows it.
constexpr size_t KeptTokenBytes = 48;
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

void AppendNumber(std::string& text, int32_t number) {
    char digits[16];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    text.append(digits, end);
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The token as a message can show it: control characters made visible, a long token cut at a
// character boundary.
std::string ShownToken(std::string_view token, bool cut) {
    std::string shown;
    for (const char c : token) {
        shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    }
    if (cut) {
        while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80) {
            shown.pop_back();
        }
        if (!shown.empty() && static_cast<unsigned char>(shown.back()) >= 0xC0) {
            shown.pop_back();
        }
        shown += "…";
    }
    return shown;
}

// Collects the numbers of a spin file token by token, whatever the size of the pieces it is fed.
class SpinTokenReader {
  public:
    explicit SpinTokenReader(const std::filesystem::path& path) : path_(path) {}

    // False once the file has given all the numbers that are kept.
    bool Feed(std::string_view piece) {
        for (const char c : piece) {
            if (!IsSeparator(c)) {
                AddToToken(c);
                continue;
            }
            if (!EndToken()) {
                return false;
            }
            if (c == '\n') {
                ++line_;
            }
        }
        return true;
    }

    LoadedSpins Finish() {
        EndToken();
        return std::move(loaded_);
    }

  private:
    void AddToToken(char c) {
        if (token_.size() < KeptTokenBytes) {
            token_ += c;
        } else {
            tokenCut_ = true;
        }
    }

    bool EndToken() {
        if (token_.empty()) {
            return true;
        }
        if (loaded_.Count() == LoadedSpinCapacity) {
            loaded_.truncated = true;
            return false;
        }
        loaded_.numbers.push_back(NumberOfToken());
        token_.clear();
        return true;
    }

    int32_t NumberOfToken() const {
        const std::optional<int32_t> number =
            tokenCut_ ? std::nullopt : ParseDecimal(std::string_view(token_));
        if (!number) {
            throw FileError::CannotRead(path_, "строка " + std::to_string(line_) + ": «" +
                                                   ShownToken(token_, tokenCut_) +
                                                   "» не является целым числом");
        }
        if (*number < 0 || *number >= NumberCount) {
            throw FileError::CannotRead(path_, "строка " + std::to_string(line_) + ": число " +
                                                   std::to_string(*number) +
                                                   " не является номером рулетки (0–36)");
        }
        return *number;
    }

    const std::filesystem::path& path_;
    LoadedSpins loaded_;
    std::string token_;
    bool tokenCut_ = false;
    int64_t line_ = 1;
};

}  // namespace

std::string SpinListFormat(const GameState& state) {
    const int32_t kept = std::clamp(state.SpinCount, 0, KeptSpins);
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

std::filesystem::path SaveSpins(const GameState& state, const std::filesystem::path& chosenPath) {
    std::filesystem::path path = chosenPath;
    path += ".txt";
    WriteWholeFile(path, SpinListFormat(state));
    return path;
}

LoadedSpins ReadSpinFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw FileError::CannotOpen(path, SystemErrorReason(EISDIR));
    }
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw FileError::CannotOpen(path, SystemErrorReason(errno));
    }
    SpinTokenReader reader(path);
    std::string buffer(ReadChunkBytes, '\0');
    bool first = true;
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
        std::string_view piece(buffer.data(), got);
        // Editors on Windows like to start a text file with a byte-order mark.
        if (first && piece.starts_with(Utf8ByteOrderMark)) {
            piece.remove_prefix(Utf8ByteOrderMark.size());
        }
        first = false;
        if (!reader.Feed(piece)) {
            return reader.Finish();
        }
    }
    if (std::ferror(file.get())) {
        throw FileError::CannotRead(path, SystemErrorReason(errno));
    }
    return reader.Finish();
}

}  // namespace orbista

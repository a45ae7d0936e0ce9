#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orbista {

// One token of a text file and the line it starts on (from 1).
struct TextToken {
    std::string_view text;
    int64_t line = 1;
    // The token was longer than the tokenizer keeps; `text` is its beginning.
    bool cut = false;
};

// The one way the program splits its text files (spin files, save8.dat, the simulator's scripts)
// into tokens: tokens are separated by blanks, tabs, line ends and the reader's own separators; CR
// LF, LF and a lone CR each end one line, so line numbers are right whichever editor wrote the
// file; a UTF-8 byte-order mark at the very start is skipped. Every other byte belongs to a token,
// so a control byte or a mark in the middle reaches the reader, which rejects the token and shows
// it.
//
// The text may come in pieces of any size: a token split between two pieces is handed over whole.
class TextTokenizer {
  public:
    static constexpr size_t Unlimited = SIZE_MAX;

    // A token longer than `longestToken` bytes is handed over, cut, as soon as that is known, so a
    // reader never waits for the end of an endless token.
    explicit TextTokenizer(size_t longestToken = Unlimited) : longestToken_(longestToken) {}
    // Also separated by each character of `moreSeparators` (the commas of a permanence).
    TextTokenizer(size_t longestToken, std::string_view moreSeparators)
        : longestToken_(longestToken), moreSeparators_(moreSeparators) {}

    // Hands every token that ends in `piece` to `take` (a callable taking a const TextToken& and
    // returning false to stop). Returns false when `take` stopped it.
    template <typename Take>
    bool Feed(std::string_view piece, Take&& take) {
        for (const char c : piece) {
            if (atStart_ && SkipByteOrderMark(c)) {
                continue;
            }
            if (IsBlank(c) || c == '\r' || c == '\n' || IsMoreSeparator(c)) {
                if (!EndToken(take)) {
                    return false;
                }
                CountLineEnd(c);
                continue;
            }
            if (!AddToToken(c, take)) {
                return false;
            }
        }
        return true;
    }

    // Hands over the last token of a text that does not end with a separator.
    template <typename Take>
    bool Finish(Take&& take) {
        if (atStart_) {
            token_.assign(ByteOrderMark.substr(0, markBytesSeen_));
            atStart_ = false;
        }
        return EndToken(take);
    }

  private:
    static constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    bool IsMoreSeparator(char c) const {
        return !moreSeparators_.empty() && moreSeparators_.find(c) != std::string_view::npos;
    }

    // True while `c` continues a mark at the start; the bytes of a mark that breaks off are given
    // back to the first token.
    bool SkipByteOrderMark(char c) {
        if (c == ByteOrderMark[markBytesSeen_]) {
            ++markBytesSeen_;
            atStart_ = markBytesSeen_ < ByteOrderMark.size();
            return true;
        }
        atStart_ = false;
        token_.assign(ByteOrderMark.substr(0, markBytesSeen_));
        return false;
    }

    void CountLineEnd(char c) {
        if (c == '\r' || (c == '\n' && !afterCarriageReturn_)) {
            ++line_;
        }
        afterCarriageReturn_ = c == '\r';
    }

    template <typename Take>
    bool AddToToken(char c, Take&& take) {
        afterCarriageReturn_ = false;
        if (token_.empty()) {
            tokenLine_ = line_;
        }
        if (skippingCutToken_) {
            return true;
        }
        if (token_.size() < longestToken_) {
            token_ += c;
            return true;
        }
        skippingCutToken_ = true;
        return take(TextToken{token_, tokenLine_, true});
    }

    template <typename Take>
    bool EndToken(Take&& take) {
        if (token_.empty()) {
            return true;
        }
        const bool cut = skippingCutToken_;
        skippingCutToken_ = false;
        const bool goOn = cut || take(TextToken{token_, tokenLine_, false});
        token_.clear();
        return goOn;
    }

    size_t longestToken_;
    std::string_view moreSeparators_;
    std::string token_;
    int64_t line_ = 1;
    int64_t tokenLine_ = 1;
    size_t markBytesSeen_ = 0;
    bool atStart_ = true;
    bool afterCarriageReturn_ = false;
    bool skippingCutToken_ = false;
};

}  // namespace orbista

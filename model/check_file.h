#pragma once

#include <charconv>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace orbista {

// The check files in which some systems leave the reasoning of their last run.
inline constexpr std::string_view SelectionCheckFileName = "проверка.txt";
inline constexpr std::string_view AntiReviewCheckFileName = "test.txt";
// "ставки" in Windows-1251, as the file has always been written.
inline constexpr std::string_view CheckFileBetsMarker = "\xF1\xF2\xE0\xE2\xEA\xE8";

// The content of one check file, built line by line with CR LF line ends. It is built again at
// every spin into the same text, whose room stays from one spin to the next; a text that is not
// kept (check files off) ignores its lines.
class CheckFileText {
  public:
    // A scan writes several lines per candidate at every spin: only the test whether the text is
    // kept is inlined there, so that a run without check files pays nothing more for them.
    void Line(std::string_view text) {
        if (kept_) {
            Append(text);
        }
    }
    void Line(int64_t number) {
        if (kept_) {
            Append(number);
        }
    }
    const std::string& Text() const { return text_; }

    // Empties the text for the next file; kept: whether lines are recorded.
    void Restart(bool kept) {
        text_.clear();
        kept_ = kept;
    }

  private:
    [[gnu::noinline]] void Append(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    [[gnu::noinline]] void Append(int64_t number) {
        char digits[24];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), number);
        Append(std::string_view(digits, written.ptr - digits));
    }

    std::string text_;
    bool kept_ = true;
};

// Where a system's check file goes; the engine writes it into the check-file folder and reports a
// failure without stopping the spin.
class CheckFileSink {
  public:
    virtual ~CheckFileSink() = default;
    virtual void WriteCheckFile(std::string_view fileName, std::string_view content) = 0;
    // Whether check files are written at all; when not, their text need not be built.
    virtual bool WritesCheckFiles() const { return true; }

    // An empty text to build the next check file in.
    CheckFileText& NewCheckFileText() {
        text_.Restart(WritesCheckFiles());
        return text_;
    }

  private:
    CheckFileText text_;
};

}  // namespace orbista

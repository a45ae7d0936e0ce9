#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orbista {

// The check files in which some systems leave the reasoning of their last run.
inline constexpr std::string_view SelectionCheckFileName = "проверка.txt";
inline constexpr std::string_view AntiReviewCheckFileName = "test.txt";
// "ставки" in Windows-1251, as the file has always been written.
inline constexpr std::string_view CheckFileBetsMarker = "\xF1\xF2\xE0\xE2\xEA\xE8";

// Where a system's check file goes; the engine writes it into the check-file folder and reports a
// failure without stopping the spin.
class CheckFileSink {
  public:
    virtual ~CheckFileSink() = default;
    virtual void WriteCheckFile(std::string_view fileName, std::string_view content) = 0;
};

// The content of one check file, built line by line with CR LF line ends.
class CheckFileText {
  public:
    void Line(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    void Line(int32_t number) { Line(std::to_string(number)); }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace orbista

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orbista {

// A field whose first line is not a decimal integer. The text says which field, by the caption
// the player sees beside it, so the caller only has to show it in a message box.
class ConversionError : public std::runtime_error {
  public:
    ConversionError(std::string control, std::string caption, std::string text);

    const std::string& Control() const { return control_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Text() const { return text_; }

  private:
    std::string control_;
    std::string caption_;
    std::string text_;
};

// A file that could not be opened, read or written; the text names the file and the reason.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;

    static FileError CannotOpen(const std::filesystem::path& path, std::string_view reason);
    static FileError CannotRead(const std::filesystem::path& path, std::string_view reason);
    static FileError CannotWrite(const std::filesystem::path& path, std::string_view reason);
    static FileError CannotCreateFolder(const std::filesystem::path& path, std::string_view reason);
};

// The reason of the last failed system call, in the player's language where we know it.
std::string SystemErrorReason(int errorNumber);

// The first line of a field's text (up to CR or LF).
std::string_view FirstLine(std::string_view text);

// A decimal integer: optional blanks, an optional sign, digits, optional blanks; it must fit in
// 32 bits. Anything else (empty text, letters, digit grouping) gives nothing.
std::optional<int32_t> ParseDecimal(std::string_view text);

// ParseDecimal of the first line, or a ConversionError naming the field.
int32_t ReadFieldNumber(std::string_view text, std::string_view control, std::string_view caption);

}  // namespace orbista

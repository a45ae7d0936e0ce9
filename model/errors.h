#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orbista {

// An error the player is told of in a message box: its text says what went wrong in the player's
// terms. Whoever runs a command catches it there, once, and shows it; the command stops, the
// program goes on.
class PlayerError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A field whose first line is not a decimal integer. The text says which field, by the caption
// the player sees beside it, so the caller only has to show it in a message box.
class ConversionError : public PlayerError {
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

// A file that could not be opened, read or written, or whose content is not what it should be.
// Every message is one sentence that names the file; a fault in the content also names the line
// and shows the token as it stands, with what cannot be seen made visible.
class FileError : public PlayerError {
  public:
    using PlayerError::PlayerError;

    static FileError CannotOpen(const std::filesystem::path& path, std::string_view reason);
    static FileError CannotRead(const std::filesystem::path& path, std::string_view reason);
    static FileError CannotWrite(const std::filesystem::path& path, std::string_view reason);
    static FileError CannotCreateFolder(const std::filesystem::path& path, std::string_view reason);
    // The file holds more than its reader takes (`limitBytes`); it was not read to its end.
    static FileError TooLarge(const std::filesystem::path& path, uint64_t limitBytes);
    // "Файл "PATH", строка N: PROBLEM." for a fault at one line of the content.
    static FileError AtLine(const std::filesystem::path& path, int64_t line,
                            std::string_view problem);
    // A token that is not a decimal integer; `cut` when only its beginning was kept.
    static FileError NotAnInteger(const std::filesystem::path& path, int64_t line,
                                  std::string_view token, bool cut = false);
};

// The reason of the last failed system call, in the player's language where we know it.
std::string SystemErrorReason(int errorNumber);

// Text as a message shows it: control bytes, bytes that are no UTF-8 and a byte-order mark are
// written as escapes (\x00, \uFEFF), so that nothing in a message is invisible or cuts it short.
std::string PrintableText(std::string_view text);

// A token or a field's text as a message quotes it: printable, and cut after ShownTextBytes with
// an ellipsis (also when `cut` says the reader kept only its beginning).
inline constexpr size_t ShownTextBytes = 48;
std::string ShownText(std::string_view text, bool cut = false);

}  // namespace orbista

#include "model/errors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

namespace orbista {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string Quote(const std::filesystem::path& path) {
    return "\"" + PrintableText(path.string()) + "\"";
}

// A message is one sentence: it ends with a full stop, whatever the reason it was given.
std::string Sentence(std::string text) {
    if (!text.ends_with('.') && !text.ends_with("…")) {
        text += '.';
    }
    return text;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0 when it is not one
// (a stray continuation byte, an overlong form, a surrogate, a cut sequence).
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (!IsContinuation(byte(i))) {
            return 0;
        }
    }
    return length;
}

void AppendHexEscape(std::string& out, std::string_view prefix, unsigned value, int digits) {
    constexpr char Hex[] = "0123456789ABCDEF";
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += Hex[(value >> shift) & 0xF];
    }
}

// The beginning of a character that the reader's cut left without its last bytes.
bool IsCutCharacter(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest.front());
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0xC2 || lead > 0xF4 || rest.size() >= length) {
        return false;
    }
    for (size_t i = 1; i < rest.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(rest[i]))) {
            return false;
        }
    }
    return true;
}

// At most `bytes` of the text, without half a character at the end.
std::string_view CutAtCharacter(std::string_view text, size_t bytes) {
    size_t end = 0;
    while (end < text.size()) {
        const std::string_view rest = text.substr(end);
        const size_t length = std::max<size_t>(Utf8SequenceLength(rest), 1);
        if (IsCutCharacter(rest) || end + length > bytes) {
            break;
        }
        end += length;
    }
    return text.substr(0, end);
}

std::string CaptionWithoutColon(std::string caption) {
    while (!caption.empty() && (caption.back() == ':' || caption.back() == ' ')) {
        caption.pop_back();
    }
    return caption;
}

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.front());
        const size_t length = Utf8SequenceLength(text);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            AppendHexEscape(out, "\\x", c, 2);
            text.remove_prefix(1);
            continue;
        }
        const std::string_view sequence = text.substr(0, length);
        const bool c1Control = c == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
        if (sequence == ByteOrderMark) {
            out += "\\uFEFF";
        } else if (c1Control) {
            AppendHexEscape(out, "\\u", static_cast<unsigned char>(text[1]), 4);
        } else {
            out += sequence;
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string ShownText(std::string_view text, bool cut) {
    if (text.size() > ShownTextBytes) {
        text = CutAtCharacter(text, ShownTextBytes);
        cut = true;
    } else if (cut) {
        text = CutAtCharacter(text, text.size());
    }
    return PrintableText(text) + (cut ? "…" : "");
}

ConversionError::ConversionError(std::string control, std::string caption, std::string text)
    : PlayerError("Значение \"" + ShownText(text) + "\" в поле \"" + CaptionWithoutColon(caption) +
                  "\" не является целым числом."),
      control_(std::move(control)),
      caption_(std::move(caption)),
      text_(std::move(text)) {}

FileError FileError::CannotOpen(const std::filesystem::path& path, std::string_view reason) {
    return FileError(
        Sentence("Не удалось открыть файл " + Quote(path) + ": " + std::string(reason)));
}

FileError FileError::CannotRead(const std::filesystem::path& path, std::string_view reason) {
    return FileError(
        Sentence("Не удалось прочитать файл " + Quote(path) + ": " + std::string(reason)));
}

FileError FileError::CannotWrite(const std::filesystem::path& path, std::string_view reason) {
    return FileError(
        Sentence("Не удалось записать файл " + Quote(path) + ": " + std::string(reason)));
}

FileError FileError::CannotCreateFolder(const std::filesystem::path& path,
                                        std::string_view reason) {
    return FileError(
        Sentence("Не удалось создать папку " + Quote(path) + ": " + std::string(reason)));
}

FileError FileError::TooLarge(const std::filesystem::path& path, uint64_t limitBytes) {
    const bool inMegabytes = limitBytes >= (1u << 20) && limitBytes % (1u << 20) == 0;
    const std::string limit = inMegabytes              ? std::to_string(limitBytes >> 20) + " МБ"
                              : limitBytes % 1024 == 0 ? std::to_string(limitBytes >> 10) + " КБ"
                                                       : std::to_string(limitBytes) + " байт";
    return CannotRead(path, "файл слишком большой (больше " + limit + ")");
}

FileError FileError::AtLine(const std::filesystem::path& path, int64_t line,
                            std::string_view problem) {
    return FileError(Sentence("Файл " + Quote(path) + ", строка " + std::to_string(line) + ": " +
                              std::string(problem)));
}

FileError FileError::NotAnInteger(const std::filesystem::path& path, int64_t line,
                                  std::string_view token, bool cut) {
    return AtLine(path, line, "«" + ShownText(token, cut) + "» не является целым числом");
}

std::string SystemErrorReason(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "файл или папка не найдены";
        case EACCES:
        case EPERM:
            return "доступ запрещён";
        case ENOSPC:
            return "нет места на диске";
        case EROFS:
            return "файловая система только для чтения";
        case EISDIR:
            return "это папка, а не файл";
        case ENOTDIR:
            return "часть пути не является папкой";
        case ENAMETOOLONG:
            return "слишком длинное имя";
        case EEXIST:
            return "уже существует";
        case EAGAIN:
            return "нет данных для чтения";
        default:
            return std::strerror(errorNumber);
    }
}

}  // namespace orbista

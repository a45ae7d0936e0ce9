#include "model/errors.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace orbista {

namespace {

std::string Quote(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

}  // namespace

ConversionError::ConversionError(std::string control, std::string caption, std::string text)
    : std::runtime_error("Значение \"" + text + "\" в поле \"" + caption +
                         "\" не является целым числом."),
      control_(std::move(control)),
      caption_(std::move(caption)),
      text_(std::move(text)) {}

FileError FileError::CannotOpen(const std::filesystem::path& path, std::string_view reason) {
    return FileError("Не удалось открыть файл " + Quote(path) + ": " + std::string(reason));
}

FileError FileError::CannotRead(const std::filesystem::path& path, std::string_view reason) {
    return FileError("Не удалось прочитать файл " + Quote(path) + ": " + std::string(reason));
}

FileError FileError::CannotWrite(const std::filesystem::path& path, std::string_view reason) {
    return FileError("Не удалось записать файл " + Quote(path) + ": " + std::string(reason));
}

FileError FileError::CannotCreateFolder(const std::filesystem::path& path,
                                        std::string_view reason) {
    return FileError("Не удалось создать папку " + Quote(path) + ": " + std::string(reason));
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
        default:
            return std::strerror(errorNumber);
    }
}

std::string_view FirstLine(std::string_view text) {
    const auto end = text.find_first_of("\r\n");
    return end == std::string_view::npos ? text : text.substr(0, end);
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int32_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, 10);
    if (text.empty() || error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

int32_t ReadFieldNumber(std::string_view text, std::string_view control, std::string_view caption) {
    const std::string_view line = FirstLine(text);
    if (const auto value = ParseDecimal(line)) {
        return *value;
    }
    throw ConversionError(std::string(control), std::string(caption), std::string(line));
}

}  // namespace orbista

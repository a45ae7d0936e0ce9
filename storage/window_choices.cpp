#include "storage/window_choices.h"

#include <string>
#include <string_view>
#include <system_error>

#include "storage/text_file.h"

namespace orbista {

namespace {

constexpr uint64_t ChoicesFileByteLimit = 64 << 10;
constexpr std::string_view ForecastKey = "forecast=";

}  // namespace

WindowChoices ReadWindowChoices(const std::filesystem::path& folder) {
    WindowChoices choices;
    const std::filesystem::path path = folder / WindowChoicesFileName;
    std::error_code missing;
    if (!std::filesystem::exists(path, missing)) {
        return choices;
    }
    const std::string text = ReadWholeFile(path, ChoicesFileByteLimit);
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line == std::string(ForecastKey) + "0" || line == std::string(ForecastKey) + "1") {
            choices.forecast = line.back() == '1';
        }
    }
    return choices;
}

void WriteWindowChoices(const std::filesystem::path& folder, const WindowChoices& choices) {
    ReplaceFile(folder / WindowChoicesFileName,
                std::string(ForecastKey) + (choices.forecast ? "1" : "0") + "\n");
}

}  // namespace orbista

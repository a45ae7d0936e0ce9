#include "storage/autosave.h"

#include <cerrno>
#include <ctime>

#include "model/errors.h"
#include "storage/spin_file.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

// Far more games than can end in one second; the bound only makes sure the search ends.
constexpr int MaxCopiesPerSecond = 10000;

}  // namespace

LocalDateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string AutosaveFileName(const LocalDateTime& when, int copy) {
    std::string name = std::to_string(when.day) + "_" + std::to_string(when.month) + "_" +
                       std::to_string(when.year) + " " + std::to_string(when.hour) + "." +
                       std::to_string(when.minute) + "." + std::to_string(when.second);
    if (copy > 1) {
        name += " (" + std::to_string(copy) + ")";
    }
    return name + ".txt";
}

std::optional<std::filesystem::path> AutosaveSpins(const GameState& state,
                                                   const std::filesystem::path& folder,
                                                   const LocalDateTime& when,
                                                   FileSystem& fileSystem) {
    if (state.SpinCount <= 1) {
        return std::nullopt;
    }
    CreateFolder(folder);
    const std::string text = SpinListFormat(state);
    for (int copy = 1; copy <= MaxCopiesPerSecond; ++copy) {
        // A new file only: an earlier save is never opened, let alone truncated.
        const std::filesystem::path path = folder / AutosaveFileName(when, copy);
        if (CreateNewFile(path, text, fileSystem)) {
            return path;
        }
    }
    const std::filesystem::path last = folder / AutosaveFileName(when, MaxCopiesPerSecond);
    throw FileError::CannotWrite(last, SystemErrorReason(EEXIST));
}

}  // namespace orbista

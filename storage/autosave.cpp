#include "storage/autosave.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>

#include "model/errors.h"
#include "storage/spin_file.h"
#include "storage/text_file.h"

namespace orbista {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Far more games than can end in one second; the bound only makes sure the search ends.
constexpr int MaxCopiesPerSecond = 10000;

// Creates a file that does not exist yet ("x": never opens, let alone truncates, an earlier save).
FileHandle CreateNewFile(const std::filesystem::path& path) {
    return FileHandle(std::fopen(path.c_str(), "wbx"));
}

void WriteAndClose(FileHandle file, const std::filesystem::path& path, const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
    if (std::fclose(file.release()) != 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
}

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
                                                   const LocalDateTime& when) {
    if (state.SpinCount <= 1) {
        return std::nullopt;
    }
    CreateFolder(folder);
    const std::string text = SpinListFormat(state);
    for (int copy = 1; copy <= MaxCopiesPerSecond; ++copy) {
        const std::filesystem::path path = folder / AutosaveFileName(when, copy);
        FileHandle file = CreateNewFile(path);
        if (file) {
            WriteAndClose(std::move(file), path, text);
            return path;
        }
        if (errno != EEXIST) {
            throw FileError::CannotWrite(path, SystemErrorReason(errno));
        }
    }
    const std::filesystem::path last = folder / AutosaveFileName(when, MaxCopiesPerSecond);
    throw FileError::CannotWrite(last, SystemErrorReason(EEXIST));
}

}  // namespace orbista

#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "model/game_state.h"
#include "storage/text_file.h"

namespace orbista {

// A moment of local time, as the autosave names its files.
struct LocalDateTime {
    int32_t year = 0;
    int32_t month = 0;  // 1..12
    int32_t day = 0;    // 1..31
    int32_t hour = 0;   // 0..23
    int32_t minute = 0;
    int32_t second = 0;
};

// Where the autosave takes the time from; the tests and the simulator give a fixed one.
using LocalClock = std::function<LocalDateTime()>;

LocalDateTime LocalNow();

// "D_M_YYYY H.M.S.txt" without leading zeros; the second file of the same second is named
// "... (2).txt", the third "... (3).txt", and so on.
std::string AutosaveFileName(const LocalDateTime& when, int copy = 1);

// Saves a finished game of two or more spins into the folder (created with its parents) under a
// name of the given time. A game saved earlier in the same second is kept: the new file takes the
// next free " (2)", " (3)", ... name. Returns the file written, or nothing for a shorter game.
// FileError when the folder or the file cannot be created or written; a file begun then is
// removed again, so that a failed save neither leaves a stub nor takes a name.
std::optional<std::filesystem::path> AutosaveSpins(const GameState& state,
                                                   const std::filesystem::path& folder,
                                                   const LocalDateTime& when,
                                                   FileSystem& fileSystem = SystemFileSystem());

}  // namespace orbista

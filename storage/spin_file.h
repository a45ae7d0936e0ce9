#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "model/game_state.h"
#include "storage/text_file.h"

namespace orbista {

// The most numbers the window plays from one file; the rest of a longer file is left unread.
inline constexpr int32_t LoadedSpinCapacity = 1'000'000;

// The kept spins of the game, oldest first, in decimal, separated by two blanks, with no line
// break. A game longer than the history yields its newest KeptSpins spins.
std::string SpinListFormat(const GameState& state);

// Writes the game's spins to the chosen path with ".txt" appended (always, as the save dialog has
// always done); returns the path written. FileError on failure, and a file saved there before is
// then kept as it was.
std::filesystem::path SaveSpins(const GameState& state, const std::filesystem::path& chosenPath,
                                FileSystem& fileSystem = SystemFileSystem());

}  // namespace orbista

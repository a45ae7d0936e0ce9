#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/game_state.h"

namespace orbista {

// The most numbers a spin file is played with; the rest of a longer file is left unread.
inline constexpr int32_t LoadedSpinCapacity = 1'000'000;

// The numbers of the last opened spin file, in file order.
struct LoadedSpins {
    std::vector<int32_t> numbers;
    // The file held more than LoadedSpinCapacity numbers and only the first ones were kept.
    bool truncated = false;

    int32_t Count() const { return static_cast<int32_t>(numbers.size()); }
};

// The kept spins of the game, oldest first, in decimal, separated by two blanks, with no line
// break. A game longer than the history yields its newest KeptSpins spins.
std::string SpinListFormat(const GameState& state);

// Writes the game's spins to the chosen path with ".txt" appended (always, as the save dialog has
// always done); returns the path written. FileError on failure.
std::filesystem::path SaveSpins(const GameState& state, const std::filesystem::path& chosenPath);

// Reads a spin file: numbers 0..36 separated by blanks, tabs or line breaks. A token that is not a
// decimal integer or not a roulette number rejects the whole file with a FileError naming the
// line and the token, so nothing of a damaged file is ever played.
LoadedSpins ReadSpinFile(const std::filesystem::path& path);

}  // namespace orbista

#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>

namespace orbista {

// One spin of a game as the player's game CSV lists it.
struct GameCsvRow {
    int32_t number = 0;
    int64_t stake = 0;        // units on the table when the spin came
    int64_t result = 0;       // what the spin paid less that stake
    int64_t gameBalance = 0;  // the game balance after the spin
};

// The rows, oldest first, numbered from `firstSpin`, under Russian headings for a spreadsheet.
std::string GameCsv(const std::deque<GameCsvRow>& rows, int64_t firstSpin);

// The chosen name with ".csv" added when it has no extension of its own.
std::filesystem::path WithCsvExtension(std::filesystem::path path);

}  // namespace orbista

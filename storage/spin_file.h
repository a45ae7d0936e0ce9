#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "storage/text_file.h"
#include "storage/text_tokens.h"

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
// always done); returns the path written. FileError on failure, and a file saved there before is
// then kept as it was.
std::filesystem::path SaveSpins(const GameState& state, const std::filesystem::path& chosenPath,
                                FileSystem& fileSystem = SystemFileSystem());

// Collects the numbers of a spin file from its text, whatever the size of the pieces it is fed.
// A token that is not a decimal integer or not a roulette number rejects the whole file with a
// FileError naming the line and the token, so nothing of a damaged file is ever played; a token
// longer than any number is rejected as soon as it is, without reading the rest of it.
class SpinFileParser {
  public:
    // `path` is the file that the messages name.
    explicit SpinFileParser(std::filesystem::path path);

    // False once LoadedSpinCapacity numbers are kept and the text holds more.
    bool Feed(std::string_view piece);
    LoadedSpins Finish();

  private:
    bool Take(const TextToken& token);

    std::filesystem::path path_;
    TextTokenizer tokenizer_;
    LoadedSpins loaded_;
    bool full_ = false;
};

// What the player is told of a spin file longer than LoadedSpinCapacity: that only its first
// spins are played.
std::string CutSpinFileNote(const std::filesystem::path& path);

// Reads a spin file: numbers 0..36 separated by blanks, tabs or line breaks, as SpinFileParser
// takes them. The file is read in pieces and never beyond 64 MB, and a pipe is refused, so that
// reading it from the window cannot freeze the window.
LoadedSpins ReadSpinFile(const std::filesystem::path& path);

}  // namespace orbista

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orbista {

// Small file helpers that turn every failure into a FileError naming the file and the reason.

bool FileCanBeOpened(const std::filesystem::path& path);
// The whole file, which must not hold more than `limitBytes` (FileError "файл слишком большой"
// otherwise, found before reading when the file declares its size and after at most `limitBytes`
// when it does not).
std::string ReadWholeFile(const std::filesystem::path& path, uint64_t limitBytes);
// Creates or truncates the file and writes the text.
void WriteWholeFile(const std::filesystem::path& path, std::string_view text);
void CreateEmptyFile(const std::filesystem::path& path);
// Gives an existing file exactly this content (creating it when missing) by overwriting it in
// place and cutting it to length. The result is the same as WriteWholeFile's, but a file that is
// replaced at every spin is not emptied first, which some file systems answer with a flush to
// disk at every close.
void ReplaceFileContent(const std::filesystem::path& path, std::string_view text);
// Creates the folder and its missing parents.
void CreateFolder(const std::filesystem::path& path);

}  // namespace orbista

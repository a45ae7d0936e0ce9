#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "model/settings_model.h"

namespace orbista {

inline constexpr const char* SettingsFileName = "save8.dat";

struct SettingsRow {
    int32_t first = 0;
    int32_t second = 0;  // read when a line holds a second number; never written back
};

// The image of save8.dat: 60 rows, row k of the file at index k-1.
using StoredSettings = std::array<SettingsRow, StoredRowCount>;

// Reads a settings file into `rows` line by line (the k-th line fills row k). An empty line still
// counts as a row; lines past 60 and numbers past the second are ignored; trailing blanks and lone
// LF line ends are accepted. Throws FileError when the file cannot be opened or a token is not a
// decimal integer; the rows read until then stay in `rows`.
void ReadSettingsRows(const std::filesystem::path& path, StoredSettings& rows);

// The 60 rows taken from what the window shows (flags as 1/0, numbers converted, the system rows
// 1 for the checked radio button). Throws ConversionError at the first field that is no integer.
std::array<int32_t, StoredRowCount> CaptureRows(const SettingsModel& settings);

// Puts every stored field of `rows` into the window: a flag is on when its row holds exactly 1;
// the system rows are applied in ascending row order, a 1 selecting that system and anything else
// switching its radio button off; rows 10 and 11 set the series boxes as a click would.
void ShowSettings(SettingsModel& settings, const StoredSettings& rows);

// The text of a settings file holding the first column of the rows: 60 lines, CR LF.
std::string SettingsFileText(const StoredSettings& rows);

// save8.dat in a given folder, and what was last read from it or written to it.
class SettingsFile {
  public:
    explicit SettingsFile(std::filesystem::path folder);

    const std::filesystem::path& Path() const { return path_; }
    const StoredSettings& Stored() const { return stored_; }

    // Reads the file and shows it; when it cannot be opened, creates it from what the window
    // shows. Throws FileError (read or write) or ConversionError; the window then keeps what it
    // shows.
    void LoadSettings(SettingsModel& settings);
    // Writes the file only when the window differs from what was last read or written.
    void CaptureSettings(const SettingsModel& settings);
    void WriteSettingsFile() const;

  private:
    std::filesystem::path path_;
    StoredSettings stored_{};
};

}  // namespace orbista

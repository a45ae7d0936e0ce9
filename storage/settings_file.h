#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"
#include "model/settings_model.h"
#include "storage/text_file.h"

namespace orbista {

inline constexpr const char* SettingsFileName = "save8.dat";
// Where a settings file that could not be read is kept when new settings take its place.
inline constexpr const char* SettingsBackupFileName = "save8.dat.bak";

struct SettingsRow {
    int32_t first = 0;
    int32_t second = 0;  // read when a line holds a second number; never written back
};

// The image of save8.dat: 60 rows, row k of the file at index k-1.
using StoredSettings = std::array<SettingsRow, StoredRowCount>;

// Reads a settings file into `rows` line by line (the k-th line fills row k). An empty line still
// counts as a row; lines past 60 and numbers past the second are ignored; blanks, tabs and every
// kind of line end are accepted. Throws FileError when the file cannot be opened, is far larger
// than a settings file can be, or a token is not a decimal integer; the rows read until then stay
// in `rows`. The window refuses a pipe, whose writer it would wait for.
void ReadSettingsRows(const std::filesystem::path& path, StoredSettings& rows,
                      BoundedFile::Pipes pipes = BoundedFile::Pipes::Allowed);
// The same for the text of the file at `path` (which only the messages name).
void ReadSettingsText(const std::filesystem::path& path, std::string_view text,
                      StoredSettings& rows);

// The 60 rows taken from what the window shows (flags as 1/0, numbers converted, the system rows
// 1 for the checked radio button). Throws ConversionError at the first field that is no integer.
std::array<int32_t, StoredRowCount> CaptureRows(const SettingsModel& settings);

// The capture of the window's close, which must not cost the player the changes of the run for
// one field typed wrong: the rows as CaptureRows takes them, except that a field that holds no
// integer keeps its value from `stored`. `unsaved` names those fields, in row order.
struct CloseCapture {
    std::array<int32_t, StoredRowCount> rows{};
    std::vector<ConversionError> unsaved;
};
CloseCapture CaptureRowsKeepingStored(const SettingsModel& settings, const StoredSettings& stored);

// The message that tells the player which fields were not saved at the close, and why.
std::string UnsavedFieldsMessage(const std::vector<ConversionError>& unsaved);

// Puts every stored field of `rows` into the window: a flag is on when its row holds exactly 1;
// the system rows are applied in ascending row order, a 1 selecting that system and anything else
// switching its radio button off; rows 10 and 11 set the series boxes as a click would.
void ShowSettings(SettingsModel& settings, const StoredSettings& rows);

// The text of a settings file holding the first column of the rows: 60 lines, CR LF.
std::string SettingsFileText(const StoredSettings& rows);

// save8.dat in a given folder, and what was last read from it or written to it. The file is only
// ever replaced whole (ReplacedFile): a failed write leaves the previous file as it was.
class SettingsFile {
  public:
    explicit SettingsFile(std::filesystem::path folder,
                          FileSystem& fileSystem = SystemFileSystem());

    const std::filesystem::path& Path() const { return file_.Path(); }
    const std::filesystem::path& BackupPath() const { return backupPath_; }
    const StoredSettings& Stored() const { return stored_; }

    // Reads the file and shows it; when it cannot be opened, creates it from what the window
    // shows. Throws FileError (read or write) or ConversionError; the window then keeps what it
    // shows. A file that cannot be read is not lost: the first write of the run keeps it as
    // save8.dat.bak, and the error says so.
    void LoadSettings(SettingsModel& settings);
    // Writes the file only when the window differs from what was last read or written; throws
    // ConversionError, writing nothing, at the first field that holds no integer.
    void CaptureSettings(const SettingsModel& settings);
    // Takes the captured rows as what is stored and writes the file when any differs.
    void StoreRows(const std::array<int32_t, StoredRowCount>& rows);
    void WriteSettingsFile();

  private:
    ReplacedFile file_;
    std::filesystem::path backupPath_;
    bool keepUnreadFile_ = false;
    StoredSettings stored_{};
};

}  // namespace orbista

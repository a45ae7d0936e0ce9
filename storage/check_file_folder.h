#pragma once

#include <filesystem>
#include <string_view>
#include <variant>

#include "model/check_file.h"
#include "model/main_window_view.h"
#include "storage/text_file.h"

namespace orbista {

// How the check files take each spin's text.
enum class CheckFileWrites {
    // Whole, through a temporary file (ReplacedFile): a reader never sees a torn file.
    Replaced,
    // Over the old text, through a descriptor kept open (RewrittenFile).
    InPlace,
};

// The check files, written into a folder (the current directory, as the window has always done).
// A check file only lets the player follow the system's choice, so a folder that refuses it must
// not stop the game, nor ask for the player's attention at every spin: the first failure of a run
// is reported through `view`, which must outlive this object, and later ones are dropped.
//
// The window replaces its check files whole: the player may have one open while playing, and the
// window writes at most a few hundred a second, so the temporary file's cost does not matter. A
// headless run writes them in place: it is a batch run that may rewrite a check file hundreds of
// thousands of times a second, nobody reads the file before the run ends, and the file only
// explains the last spin, so a torn file after a failure loses nothing that the temporary file
// would have kept, while the replacement would cost several times the spin itself.
class CheckFileFolder : public CheckFileSink {
  public:
    explicit CheckFileFolder(MainWindowView& view, std::filesystem::path folder = ".",
                             CheckFileWrites writes = CheckFileWrites::Replaced);

    void SetFolder(std::filesystem::path folder);
    // Off: the systems write no check file (for batch runs; the window always writes them).
    void SetWritten(bool written);
    // Where the files are written (the operating system's files unless set); it must outlive
    // this object.
    void SetFileSystem(FileSystem& fileSystem);

    void WriteCheckFile(std::string_view fileName, std::string_view content) override;
    bool WritesCheckFiles() const override { return written_; }

  private:
    using Files = std::variant<ReplacedFolder, RewrittenFolder>;

    // The files of that folder, written in this object's way, none of them written yet.
    Files FilesIn(std::filesystem::path folder) const;
    const std::filesystem::path& Folder() const;

    MainWindowView& view_;
    FileSystem* fileSystem_;
    CheckFileWrites writes_;
    Files files_;
    bool written_ = true;
    bool failureReported_ = false;
};

}  // namespace orbista

#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "model/check_file.h"
#include "model/main_window_view.h"
#include "storage/text_file.h"

namespace orbista {

// The check files, written into a folder (the current directory, as the window has always done).
// A check file only lets the player follow the system's choice, so a folder that refuses it must
// not stop the game, nor ask for the player's attention at every spin: the first failure of a run
// is reported through `view`, which must outlive this object, and later ones are dropped.
class CheckFileFolder : public CheckFileSink {
  public:
    explicit CheckFileFolder(MainWindowView& view, std::filesystem::path folder = ".");

    void SetFolder(std::filesystem::path folder);
    // Off: the systems write no check file (for batch runs; the window always writes them).
    void SetWritten(bool written);
    // Where the files are written (the operating system's files unless set); it must outlive
    // this object.
    void SetFileSystem(FileSystem& fileSystem);

    void WriteCheckFile(std::string_view fileName, std::string_view content) override;
    bool WritesCheckFiles() const override { return written_; }

  private:
    MainWindowView& view_;
    FileSystem* fileSystem_;
    std::unique_ptr<ReplacedFolder> files_;
    bool written_ = true;
    bool failureReported_ = false;
};

}  // namespace orbista

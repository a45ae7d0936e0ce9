#include "storage/check_file_folder.h"

#include <utility>

#include "model/errors.h"

namespace orbista {

CheckFileFolder::CheckFileFolder(MainWindowView& view, std::filesystem::path folder)
    : view_(view),
      fileSystem_(&SystemFileSystem()),
      files_(std::make_unique<ReplacedFolder>(std::move(folder), *fileSystem_)) {}

void CheckFileFolder::SetFolder(std::filesystem::path folder) {
    files_ = std::make_unique<ReplacedFolder>(std::move(folder), *fileSystem_);
}

void CheckFileFolder::SetWritten(bool written) {
    written_ = written;
}

void CheckFileFolder::SetFileSystem(FileSystem& fileSystem) {
    fileSystem_ = &fileSystem;
    files_ = std::make_unique<ReplacedFolder>(files_->Folder(), *fileSystem_);
}

void CheckFileFolder::WriteCheckFile(std::string_view fileName, std::string_view content) {
    if (!written_) {
        return;
    }
    try {
        files_->Replace(fileName, content);
    } catch (const FileError& error) {
        if (!failureReported_) {
            failureReported_ = true;
            view_.ReportError(error.what());
        }
    }
}

}  // namespace orbista

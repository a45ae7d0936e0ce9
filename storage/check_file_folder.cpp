#include "storage/check_file_folder.h"

#include <utility>

#include "model/errors.h"

namespace orbista {

namespace {

void WriteWhole(ReplacedFile& file, std::string_view text) {
    file.Replace(text);
}

void WriteWhole(RewrittenFile& file, std::string_view text) {
    file.Rewrite(text);
}

}  // namespace

CheckFileFolder::CheckFileFolder(MainWindowView& view, std::filesystem::path folder,
                                 CheckFileWrites writes)
    : view_(view),
      fileSystem_(&SystemFileSystem()),
      writes_(writes),
      files_(FilesIn(std::move(folder))) {}

void CheckFileFolder::SetFolder(std::filesystem::path folder) {
    files_ = FilesIn(std::move(folder));
}

void CheckFileFolder::SetWritten(bool written) {
    written_ = written;
}

void CheckFileFolder::SetFileSystem(FileSystem& fileSystem) {
    fileSystem_ = &fileSystem;
    files_ = FilesIn(Folder());
}

void CheckFileFolder::WriteCheckFile(std::string_view fileName, std::string_view content) {
    if (!written_) {
        return;
    }
    try {
        std::visit([&](auto& files) { WriteWhole(files.Named(fileName), content); }, files_);
    } catch (const FileError& error) {
        if (!failureReported_) {
            failureReported_ = true;
            view_.ReportError(error.what());
        }
    }
}

CheckFileFolder::Files CheckFileFolder::FilesIn(std::filesystem::path folder) const {
    if (writes_ == CheckFileWrites::InPlace) {
        return RewrittenFolder(std::move(folder), *fileSystem_);
    }
    return ReplacedFolder(std::move(folder), *fileSystem_);
}

const std::filesystem::path& CheckFileFolder::Folder() const {
    return std::visit(
        [](const auto& files) -> const std::filesystem::path& { return files.Folder(); }, files_);
}

}  // namespace orbista

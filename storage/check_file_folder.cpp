#include "storage/check_file_folder.h"

#include <utility>

#include "model/errors.h"
#include "storage/text_file.h"

namespace orbista {

CheckFileFolder::CheckFileFolder(MainWindowView& view, std::filesystem::path folder)
    : view_(view), folder_(std::move(folder)) {}

void CheckFileFolder::SetFolder(std::filesystem::path folder) {
    folder_ = std::move(folder);
}

void CheckFileFolder::WriteCheckFile(std::string_view fileName, std::string_view content) {
    try {
        ReplaceFileContent(folder_ / std::filesystem::path(fileName), content);
    } catch (const FileError& error) {
        if (!failureReported_) {
            failureReported_ = true;
            view_.ReportError(error.what());
        }
    }
}

}  // namespace orbista

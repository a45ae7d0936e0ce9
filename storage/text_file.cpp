#include "storage/text_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "model/errors.h"

namespace orbista {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle Open(const std::filesystem::path& path, const char* mode) {
    return FileHandle(std::fopen(path.c_str(), mode));
}

}  // namespace

bool FileCanBeOpened(const std::filesystem::path& path) {
    std::error_code error;
    return !std::filesystem::is_directory(path, error) && Open(path, "rb") != nullptr;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw FileError::CannotOpen(path, SystemErrorReason(EISDIR));
    }
    FileHandle file = Open(path, "rb");
    if (!file) {
        throw FileError::CannotOpen(path, SystemErrorReason(errno));
    }
    std::string text;
    char buffer[1 << 16];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        throw FileError::CannotRead(path, SystemErrorReason(errno));
    }
    return text;
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view text) {
    FileHandle file = Open(path, "wb");
    if (!file) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
    if (std::fclose(file.release()) != 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
}

void ReplaceFileContent(const std::filesystem::path& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t got = ::write(fd, text.data() + written, text.size() - written);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            const int error = errno;
            ::close(fd);
            throw FileError::CannotWrite(path, SystemErrorReason(error));
        }
        written += static_cast<size_t>(got);
    }
    if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
        const int error = errno;
        ::close(fd);
        throw FileError::CannotWrite(path, SystemErrorReason(error));
    }
    if (::close(fd) != 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(errno));
    }
}

void CreateEmptyFile(const std::filesystem::path& path) {
    WriteWholeFile(path, {});
}

void CreateFolder(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        throw FileError::CannotCreateFolder(path, SystemErrorReason(error.value()));
    }
}

}  // namespace orbista

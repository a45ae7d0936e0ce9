#include "storage/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/errors.h"

namespace orbista {

namespace {

constexpr size_t PieceBytes = 1 << 16;

}  // namespace

BoundedFile::BoundedFile(const std::filesystem::path& path, uint64_t limitBytes, Pipes pipes)
    : path_(path), limitBytes_(limitBytes), buffer_(PieceBytes, '\0') {
    // Without O_NONBLOCK, opening a pipe waits for its writer.
    const int flags = O_RDONLY | O_CLOEXEC | (pipes == Pipes::Refused ? O_NONBLOCK : 0);
    fd_ = ::open(path.c_str(), flags);
    if (fd_ < 0) {
        throw FileError::CannotOpen(path, SystemErrorReason(errno));
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        const int error = errno;
        ::close(fd_);
        throw FileError::CannotOpen(path, SystemErrorReason(error));
    }
    const char* refusal = nullptr;
    if (S_ISDIR(status.st_mode)) {
        refusal = "это папка, а не файл";
    } else if (pipes == Pipes::Refused && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))) {
        refusal = "это канал, а не файл";
    }
    if (refusal != nullptr) {
        ::close(fd_);
        throw FileError::CannotOpen(path, refusal);
    }
    if (S_ISREG(status.st_mode)) {
        declaredSize_ = static_cast<uint64_t>(status.st_size);
    }
}

BoundedFile::~BoundedFile() {
    ::close(fd_);
}

std::string_view BoundedFile::NextPiece() {
    ssize_t got = 0;
    do {
        got = ::read(fd_, buffer_.data(), buffer_.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        throw FileError::CannotRead(path_, SystemErrorReason(errno));
    }
    readBytes_ += static_cast<uint64_t>(got);
    if (readBytes_ > limitBytes_) {
        throw FileError::TooLarge(path_, limitBytes_);
    }
    return std::string_view(buffer_.data(), static_cast<size_t>(got));
}

}  // namespace orbista

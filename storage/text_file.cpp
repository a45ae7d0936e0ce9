#include "storage/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

#include "model/errors.h"
#include "storage/bounded_file.h"

namespace orbista {

bool FileCanBeOpened(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return false;
    }
    // Without O_NONBLOCK, opening a pipe would wait for a writer that may never come.
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        return false;
    }
    close(file);
    return true;
}

std::string ReadWholeFile(const std::filesystem::path& path, uint64_t limitBytes,
                          BoundedFile::Pipes pipes) {
    BoundedFile file(path, limitBytes, pipes);
    if (file.DeclaredSize() > limitBytes) {
        throw FileError::TooLarge(path, limitBytes);
    }
    std::string text;
    text.reserve(static_cast<size_t>(file.DeclaredSize()));
    for (std::string_view piece = file.NextPiece(); !piece.empty(); piece = file.NextPiece()) {
        text += piece;
    }
    return text;
}

void CreateFolder(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) {
        throw FileError::CannotCreateFolder(path, SystemErrorReason(error.value()));
    }
}

void PrepareFolderForWriting(const std::filesystem::path& path) {
    CreateFolder(path);
    if (::access(path.c_str(), W_OK | X_OK) != 0) {
        throw FileError::CannotWriteInFolder(path, SystemErrorReason(errno));
    }
}

// ---- Writing

namespace {

// The errors of a file system that cannot give a file a second name.
bool HasNoLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK;
}

// Enough for any chain of links the system itself would follow.
constexpr int MaxLinksFollowed = 40;

// What a streamed file gathers before it writes: few system calls, little memory.
constexpr size_t StreamedPieceBytes = 64 << 10;

// 0, or the error number of writing the text: where the descriptor stands, or from `offset` on.
int WriteAll(FileSystem& fileSystem, int descriptor, std::string_view text,
             std::optional<off_t> offset = std::nullopt) {
    size_t written = 0;
    while (written < text.size()) {
        const char* rest = text.data() + written;
        const size_t restSize = text.size() - written;
        const ssize_t got = offset ? fileSystem.WriteAt(descriptor, rest, restSize,
                                                        *offset + static_cast<off_t>(written))
                                   : fileSystem.Write(descriptor, rest, restSize);
        if (got == -EINTR) {
            continue;
        }
        if (got < 0) {
            return static_cast<int>(-got);
        }
        if (got == 0) {
            return ENOSPC;  // a regular file that takes no byte has no room left
        }
        written += static_cast<size_t>(got);
    }
    return 0;
}

// Whether a path written in a link names a descriptor of the process rather than a file.
bool NamesADescriptor(const std::string& path) {
    return path.starts_with("/proc/") || path.starts_with("/dev/fd/") || path == "/dev/stdout" ||
           path == "/dev/stderr";
}

// What stands at the path now, following symbolic links to the file they name.
struct Target {
    std::filesystem::path resolved;  // empty: the path itself, not a link
    bool exists = false;
    bool straight = false;  // written straight into: a device, a pipe, a descriptor's file
    mode_t mode = 0;
    size_t size = 0;
    int error = 0;
};

Target InspectTarget(const std::filesystem::path& path) {
    Target target;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) &&
        !S_ISDIR(status.st_mode)) {
        target.exists = true;
        target.straight = true;
        target.mode = status.st_mode;
        return target;
    }
    target.straight = NamesADescriptor(path.string());
    std::filesystem::path current = path;
    for (int links = 0; ::lstat(current.c_str(), &status) == 0; ++links) {
        if (!S_ISLNK(status.st_mode)) {
            target.exists = true;
            target.mode = status.st_mode;
            target.size = static_cast<size_t>(status.st_size);
            return target;
        }
        std::error_code error;
        const std::filesystem::path linked = std::filesystem::read_symlink(current, error);
        if (error || links == MaxLinksFollowed) {
            target.error = error ? error.value() : ELOOP;
            return target;
        }
        target.straight = target.straight || NamesADescriptor(linked.string());
        current = linked.is_absolute() ? linked : current.parent_path() / linked;
        target.resolved = current;
    }
    if (errno != ENOENT) {
        target.error = errno;
    }
    return target;
}

// 0, or why the file at the path may not be written: the program never writes over a file that
// it could not have opened for writing.
int ReasonNotToWrite(const char* path, const Target& target) {
    if (target.error != 0) {
        return target.error;
    }
    if (!target.exists) {
        return 0;
    }
    if (S_ISDIR(target.mode)) {
        return EISDIR;
    }
    return ::access(path, W_OK) == 0 ? 0 : errno;
}

// The descriptor of a file written straight into, or the error. A pipe that nobody reads is
// refused at once (ENXIO); one that is read is then written at the reader's pace when `waits`.
int OpenStraight(FileSystem& fileSystem, const char* path, bool waits) {
    const int descriptor = fileSystem.Open(path, FileSystem::Opening::Overwritten);
    if (descriptor >= 0 && waits) {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    }
    return descriptor;
}

// 0, or the error of writing the text straight into the file.
int WriteStraight(FileSystem& fileSystem, const char* path, std::string_view text) {
    const int descriptor = OpenStraight(fileSystem, path, false);
    if (descriptor < 0) {
        return -descriptor;
    }
    const int error = WriteAll(fileSystem, descriptor, text);
    const int closed = -fileSystem.Close(descriptor);
    return error != 0 ? error : closed;
}

// CreateNewFile where a file cannot have a second name: the file is made at its name and written
// there, and removed again when that fails.
bool CreateNewFileInPlace(const std::filesystem::path& path, std::string_view text,
                          FileSystem& fileSystem) {
    const int descriptor = fileSystem.Open(path.c_str(), FileSystem::Opening::New);
    if (descriptor == -EEXIST) {
        return false;
    }
    if (descriptor < 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(-descriptor));
    }
    int error = WriteAll(fileSystem, descriptor, text);
    if (error == 0) {
        error = -fileSystem.Sync(descriptor);
    }
    const int closed = -fileSystem.Close(descriptor);
    error = error != 0 ? error : closed;
    if (error != 0) {
        fileSystem.Remove(path.c_str());
        throw FileError::CannotWrite(path, SystemErrorReason(error));
    }
    return true;
}

}  // namespace

ReplacedFile::ReplacedFile(std::filesystem::path path, FileSystem& fileSystem, Rewrites rewrites)
    : path_(std::move(path)), fileSystem_(fileSystem), rewrites_(rewrites) {}

ReplacedFile::~ReplacedFile() = default;

void ReplacedFile::Replace(std::string_view text) {
    Replace(text, {});
}

void ReplacedFile::Replace(std::string_view text, const std::filesystem::path& keptAs) {
    const Target target = InspectTarget(path_);
    const bool linked = !target.resolved.empty();
    const std::string linkedTarget = linked ? target.resolved.string() : std::string();
    const char* file = linked ? linkedTarget.c_str() : path_.c_str();
    const bool keepOld = !keptAs.empty() && target.exists;
    if (target.straight && !keepOld) {
        if (const int error = WriteStraight(fileSystem_, path_.c_str(), text)) {
            Fail(error);
        }
        return;
    }
    if (const int error = ReasonNotToWrite(file, target)) {
        Fail(error);
    }
    const Kept old{target.mode, target.size};
    // A link's temporary file lies beside the file it names, which may change: it is not kept.
    const bool often = rewrites_ == Rewrites::EverySpin;
    std::unique_ptr<TemporaryFile> temporary;
    bool reused = false;
    if (often && !linked && kept_ && kept_->Reopen() == 0) {
        temporary = std::move(kept_);
        reused = true;
    } else {
        kept_.reset();
        temporary = std::make_unique<TemporaryFile>(file, fileSystem_);
        if (const int error = temporary->Error()) {
            Fail(error);
        }
    }
    if (const int error =
            WriteTemporary(*temporary, text, target.exists ? &old : nullptr, reused)) {
        Fail(error);
    }
    bool movedAway = false;
    if (keepOld) {
        // A second name keeps the old file in its place until the new one takes it; only a file
        // system without such names needs the old file moved away (and back after a failure).
        fileSystem_.Remove(keptAs.c_str());
        int error = -fileSystem_.Link(file, keptAs.c_str());
        if (HasNoLinks(error)) {
            error = -fileSystem_.Rename(file, keptAs.c_str());
            movedAway = error == 0;
        }
        if (error != 0) {
            Fail(error);
        }
    }
    if (often && target.exists && !keepOld && !linked) {
        // The old content stays in the temporary file, to be written over next time.
        const int exchanged = -fileSystem_.Exchange(temporary->Path().c_str(), file);
        if (exchanged == 0) {
            keptState_ = old;
            kept_ = std::move(temporary);
            return;
        }
        if (exchanged != EINVAL && exchanged != ENOSYS) {
            Fail(exchanged);
        }
    }
    if (const int error = -fileSystem_.Rename(temporary->Path().c_str(), file)) {
        if (movedAway) {
            fileSystem_.Rename(keptAs.c_str(), file);
        }
        Fail(error);
    }
    temporary->Release();
}

int ReplacedFile::WriteTemporary(TemporaryFile& temporary, std::string_view text, const Kept* old,
                                 bool reused) {
    // A temporary file kept from the last write is written over rather than emptied: some file
    // systems answer the emptying of a file with a flush to the disk at its close.
    const bool often = rewrites_ == Rewrites::EverySpin;
    const int descriptor = temporary.Descriptor();
    if (old != nullptr && !(reused && keptState_.mode == old->mode)) {
        // Permissions only follow the content; a file system without them still takes the text.
        ::fchmod(descriptor, old->mode & 07777);
    }
    int error = WriteAll(fileSystem_, descriptor, text);
    if (error == 0 && reused && text.size() < keptState_.size) {
        error = -fileSystem_.Truncate(descriptor, text.size());
    }
    if (error == 0 && !often) {
        error = -fileSystem_.Sync(descriptor);
    }
    const int closed = temporary.Close();
    return error != 0 ? error : closed;
}

void ReplacedFile::Fail(int error) const {
    throw FileError::CannotWrite(path_, SystemErrorReason(error));
}

StreamedFile::StreamedFile(std::filesystem::path path, FileSystem& fileSystem)
    : path_(std::move(path)), fileSystem_(fileSystem) {
    const Target target = InspectTarget(path_);
    file_ = target.resolved.empty() ? path_.string() : target.resolved.string();
    if (target.straight) {
        straight_ = OpenStraight(fileSystem_, path_.c_str(), true);
        if (straight_ < 0) {
            Fail(-straight_);
        }
        return;
    }
    if (const int error = ReasonNotToWrite(file_.c_str(), target)) {
        Fail(error);
    }
    temporary_ = std::make_unique<TemporaryFile>(file_, fileSystem_);
    if (const int error = temporary_->Error()) {
        Fail(error);
    }
    if (target.exists) {
        ::fchmod(temporary_->Descriptor(), target.mode & 07777);
    }
    gathered_.reserve(StreamedPieceBytes);
}

StreamedFile::~StreamedFile() {
    if (straight_ >= 0) {
        fileSystem_.Close(straight_);
    }
}

void StreamedFile::Write(std::string_view piece) {
    gathered_ += piece;
    if (gathered_.size() >= StreamedPieceBytes) {
        if (const int error = Flush()) {
            Fail(error);
        }
    }
}

void StreamedFile::Commit() {
    int error = Flush();
    if (straight_ >= 0) {
        const int closed = -fileSystem_.Close(straight_);
        straight_ = -1;
        if (error != 0 || closed != 0) {
            Fail(error != 0 ? error : closed);
        }
        return;
    }
    if (error == 0) {
        error = -fileSystem_.Sync(temporary_->Descriptor());
    }
    const int closed = temporary_->Close();
    error = error != 0 ? error : closed;
    if (error == 0) {
        error = -fileSystem_.Rename(temporary_->Path().c_str(), file_.c_str());
    }
    if (error != 0) {
        Fail(error);
    }
    temporary_->Release();
    temporary_.reset();
}

int StreamedFile::Flush() {
    if (straight_ < 0 && !temporary_) {
        return EBADF;  // a write failed already, and the file was let go
    }
    const int descriptor = straight_ >= 0 ? straight_ : temporary_->Descriptor();
    const int error = WriteAll(fileSystem_, descriptor, gathered_);
    gathered_.clear();
    return error;
}

void StreamedFile::Fail(int error) {
    // The file stays as it was: the temporary file goes, and a file written into is let go.
    temporary_.reset();
    if (straight_ >= 0) {
        fileSystem_.Close(straight_);
        straight_ = -1;
    }
    throw FileError::CannotWrite(path_, SystemErrorReason(error));
}

RewrittenFile::RewrittenFile(std::filesystem::path path, FileSystem& fileSystem)
    : path_(std::move(path)), fileSystem_(fileSystem) {}

RewrittenFile::~RewrittenFile() {
    // Every byte was handed over by the writes, whose errors were reported; what a close could
    // still tell (a network file system's late failure) has nobody left to be told to.
    Close();
}

void RewrittenFile::Rewrite(std::string_view text) {
    if (descriptor_ >= 0 && writesLeft_ == 0) {
        // Opening again finds the file that stands at the path now (see the class comment).
        if (const int error = Close()) {
            Fail(error);
        }
    }
    if (descriptor_ < 0) {
        const int opened = fileSystem_.Open(path_.c_str(), FileSystem::Opening::Overwritten);
        if (opened < 0) {
            Fail(-opened);
        }
        descriptor_ = opened;
        held_.reset();
        writesLeft_ = WritesPerOpening;
    }
    if (const int error = WriteOver(text)) {
        Close();  // the write's own error is the one worth telling
        Fail(error);
    }
    --writesLeft_;
}

int RewrittenFile::WriteOver(std::string_view text) {
    if (const int error = WriteAll(fileSystem_, descriptor_, text, 0)) {
        return error;
    }
    // Right after opening, the file may hold anything: it is cut once to learn its length.
    if (!held_ || text.size() < *held_) {
        if (const int error = -fileSystem_.Truncate(descriptor_, text.size())) {
            return error;
        }
    }
    held_ = text.size();
    return 0;
}

int RewrittenFile::Close() {
    if (descriptor_ < 0) {
        return 0;
    }
    const int error = -fileSystem_.Close(descriptor_);
    descriptor_ = -1;
    return error;
}

void RewrittenFile::Fail(int error) const {
    throw FileError::CannotWrite(path_, SystemErrorReason(error));
}

void ReplaceFile(const std::filesystem::path& path, std::string_view text, FileSystem& fileSystem) {
    ReplacedFile(path, fileSystem).Replace(text);
}

bool CreateNewFile(const std::filesystem::path& path, std::string_view text,
                   FileSystem& fileSystem) {
    TemporaryFile temporary(path, fileSystem);
    if (temporary.Error() != 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(temporary.Error()));
    }
    int error = WriteAll(fileSystem, temporary.Descriptor(), text);
    if (error == 0) {
        error = -fileSystem.Sync(temporary.Descriptor());
    }
    const int closed = temporary.Close();
    error = error != 0 ? error : closed;
    if (error == 0) {
        // A second name, which a file of that name refuses; the temporary name then goes.
        error = -fileSystem.Link(temporary.Path().c_str(), path.c_str());
        if (HasNoLinks(error)) {
            return CreateNewFileInPlace(path, text, fileSystem);
        }
    }
    if (error == EEXIST) {
        return false;
    }
    if (error != 0) {
        throw FileError::CannotWrite(path, SystemErrorReason(error));
    }
    return true;
}

}  // namespace orbista

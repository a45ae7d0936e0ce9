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

// ---- Writing

namespace {

// The errors of a file system that cannot give a file a second name.
bool HasNoLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK;
}

// Enough for any chain of links the system itself would follow.
constexpr int MaxLinksFollowed = 40;

// Hidden, and named after the process, so that two runs writing into one folder never share one.
std::string TemporaryPathBeside(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary.replace_filename("." + path.filename().string() + "." + std::to_string(::getpid()) +
                               ".tmp");
    return temporary.string();
}

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

// What stands at the path now, following symbolic links to the file they name.
struct Target {
    std::filesystem::path resolved;  // empty: the path itself, not a link
    bool exists = false;
    mode_t mode = 0;
    size_t size = 0;
    int error = 0;
};

Target InspectTarget(const std::filesystem::path& path) {
    Target target;
    struct stat status {};
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
        current = linked.is_absolute() ? linked : current.parent_path() / linked;
        target.resolved = current;
    }
    if (errno != ENOENT) {
        target.error = errno;
    }
    return target;
}

// 0, or why the file at the path may not be replaced: the program never writes over a file that
// it could not have opened for writing.
int ReasonNotToReplace(const char* path, const Target& target) {
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

}  // namespace

ReplacedFile::ReplacedFile(std::filesystem::path path, FileSystem& fileSystem, Rewrites rewrites)
    : path_(std::move(path)),
      temporary_(TemporaryPathBeside(path_)),
      fileSystem_(fileSystem),
      rewrites_(rewrites) {}

ReplacedFile::~ReplacedFile() {
    if (kept_.present) {
        fileSystem_.Remove(temporary_.c_str());
    }
}

void ReplacedFile::Replace(std::string_view text) {
    Replace(text, {});
}

void ReplacedFile::Replace(std::string_view text, const std::filesystem::path& keptAs) {
    const Target target = InspectTarget(path_);
    const bool linked = !target.resolved.empty();
    const std::string linkedTarget = linked ? target.resolved.string() : std::string();
    const char* file = linked ? linkedTarget.c_str() : path_.c_str();
    if (const int error = ReasonNotToReplace(file, target)) {
        Fail(error);
    }
    // A link's temporary file lies beside the file it names, which may change: it is not kept.
    const std::string linkedTemporary = linked ? TemporaryPathBeside(target.resolved) : "";
    const std::string& temporary = linked ? linkedTemporary : temporary_;
    const Kept old{target.exists, target.mode, target.size};
    if (const int error = WriteTemporary(temporary, text, old, !linked)) {
        Fail(error);
    }
    const bool keepOld = !keptAs.empty() && target.exists;
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
            fileSystem_.Remove(temporary.c_str());
            Fail(error);
        }
    }
    const bool exchange = rewrites_ == Rewrites::EverySpin && target.exists && !keepOld && !linked;
    if (const int error = PutInPlace(temporary, file, exchange ? &old : nullptr)) {
        if (movedAway) {
            fileSystem_.Rename(keptAs.c_str(), file);
        }
        fileSystem_.Remove(temporary.c_str());
        Fail(error);
    }
}

int ReplacedFile::WriteTemporary(const std::string& temporary, std::string_view text,
                                 const Kept& old, bool ownTemporary) {
    // A temporary file kept from the last write is written over rather than emptied: some file
    // systems answer the emptying of a file with a flush to the disk at its close.
    const bool often = rewrites_ == Rewrites::EverySpin;
    const bool reused = often && ownTemporary && kept_.present;
    const int descriptor = fileSystem_.Open(
        temporary.c_str(), often ? FileSystem::Opening::Overwritten : FileSystem::Opening::Emptied);
    if (descriptor < 0) {
        return -descriptor;
    }
    if (old.present && !(reused && kept_.mode == old.mode)) {
        // Permissions only follow the content; a file system without them still takes the text.
        ::fchmod(descriptor, old.mode & 07777);
    }
    int error = WriteAll(fileSystem_, descriptor, text);
    if (error == 0 && often && !(reused && text.size() >= kept_.size)) {
        error = -fileSystem_.Truncate(descriptor, text.size());
    }
    if (error == 0 && !often) {
        error = -fileSystem_.Sync(descriptor);
    }
    const int closed = -fileSystem_.Close(descriptor);
    error = error != 0 ? error : closed;
    if (error != 0) {
        fileSystem_.Remove(temporary.c_str());
        kept_.present = kept_.present && !ownTemporary;
    }
    return error;
}

int ReplacedFile::PutInPlace(const std::string& temporary, const char* file, const Kept* old) {
    if (old != nullptr) {
        // The old content stays in the temporary file, to be written over next time.
        const int exchanged = -fileSystem_.Exchange(temporary.c_str(), file);
        kept_ = *old;
        kept_.present = exchanged == 0;
        if (exchanged != EINVAL && exchanged != ENOSYS) {
            return exchanged;
        }
    }
    if (&temporary == &temporary_) {
        kept_.present = false;
    }
    return -fileSystem_.Rename(temporary.c_str(), file);
}

void ReplacedFile::Fail(int error) const {
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

}  // namespace orbista

#pragma once

#include <sys/types.h>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/bounded_file.h"
#include "storage/file_system.h"

namespace orbista {

// Small file helpers that turn every failure into a FileError naming the file and the reason.

// Whether the file exists and may be opened for reading; a folder cannot. Never waits, even for a
// pipe.
bool FileCanBeOpened(const std::filesystem::path& path);
// The whole file, which must not hold more than `limitBytes` (FileError "файл слишком большой"
// otherwise, found before reading when the file declares its size and after at most `limitBytes`
// when it does not).
std::string ReadWholeFile(const std::filesystem::path& path, uint64_t limitBytes,
                          BoundedFile::Pipes pipes = BoundedFile::Pipes::Allowed);
// Creates the folder and its missing parents.
void CreateFolder(const std::filesystem::path& path);

// How often a file is replaced, which decides what its writes cost.
enum class Rewrites {
    // The player's files: each write waits for the disk, so that a power cut right after a save
    // still finds the file.
    Seldom,
    // A check file, rewritten at every spin and only explaining the last one: it does not wait
    // for the disk, and its temporary file is kept between writes and swapped with the file,
    // since a file system that sees a file renamed over another flushes it to the disk at once.
    EverySpin,
};

// A file that is only ever replaced whole. The new content goes to a temporary file beside it,
// which is written, flushed and then put in the place of the old one in one step, so the file
// holds either the old or the new content at every moment, even when the program is killed
// half-way. A failure at any point leaves the old file byte for byte as it was, removes the
// temporary file and throws FileError naming the file.
//
// The paths are built once, so a file that is replaced at every spin costs no allocation per
// write. A file that could not be opened for writing (read-only, a folder) is refused as it always
// was; a file that is replaced keeps its permissions; a symbolic link is followed, and the file it
// names is replaced.
class ReplacedFile {
  public:
    explicit ReplacedFile(std::filesystem::path path, FileSystem& fileSystem = SystemFileSystem(),
                          Rewrites rewrites = Rewrites::Seldom);
    ~ReplacedFile();
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    void Replace(std::string_view text);
    // The same, but the old file is not dropped: it is also `keptAs` (replacing an older file of
    // that name) before the new one takes its place.
    void Replace(std::string_view text, const std::filesystem::path& keptAs);

  private:
    // A file as it stood: the old file before a write, or the temporary file kept after one.
    struct Kept {
        bool present = false;
        unsigned mode = 0;
        size_t size = 0;
    };

    // 0, or the error of writing the text into the temporary file (given the old file's mode),
    // which is then removed. Only this file's own temporary file is ever kept between writes.
    int WriteTemporary(const std::string& temporary, std::string_view text, const Kept& old,
                       bool ownTemporary);
    // 0, or the error of putting the temporary file in the place of the file: swapped with the
    // `old` file when given and the file system can, else renamed over it.
    int PutInPlace(const std::string& temporary, const char* file, const Kept* old);
    [[noreturn]] void Fail(int error) const;

    std::filesystem::path path_;
    std::string temporary_;
    FileSystem& fileSystem_;
    Rewrites rewrites_;
    Kept kept_;
};

// A file rewritten in place at every spin: each text is written over the old one from the file's
// start through a descriptor kept open between writes, and the file is cut to the text's length
// only when it held more. A write is one or two system calls, where ReplacedFile needs six; the
// price is that a reader, or a failure half-way, may see a mixture of the old and the new text. So
// it is only for a file that nobody reads while it is written, and that a failed write may leave
// torn: the check files of a batch run, which only explain its last spin.
//
// The descriptor is opened at the first write without emptying the file, so a file that cannot be
// opened for writing (read-only, a folder) is refused as ReplacedFile refuses it, and a symbolic
// link is followed. After a failure it is closed and the next write starts afresh by opening the
// file again, so a folder that came back works again. The file is assumed to be this writer's
// alone: another writer's longer text would not be cut off.
//
// A file removed or replaced behind the writer's back is not looked for at every write, which
// would cost as much as the write itself: the writes go on into the file as it was opened, and the
// file is opened again every WritesPerOpening writes, so the file at the path holds the last text
// again at the latest that many writes later (or at the next write after a failure).
class RewrittenFile {
  public:
    static constexpr int WritesPerOpening = 1024;

    explicit RewrittenFile(std::filesystem::path path, FileSystem& fileSystem = SystemFileSystem());
    ~RewrittenFile();
    RewrittenFile(const RewrittenFile&) = delete;
    RewrittenFile& operator=(const RewrittenFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    void Rewrite(std::string_view text);

  private:
    // 0, or the error of writing the text over the open file's content.
    int WriteOver(std::string_view text);
    // 0, or the error of closing the descriptor, which is dropped either way.
    int Close();
    [[noreturn]] void Fail(int error) const;

    std::filesystem::path path_;
    FileSystem& fileSystem_;
    int descriptor_ = -1;
    // What the open file holds; unknown right after opening, when it may be anything.
    std::optional<size_t> held_;
    int writesLeft_ = 0;
};

// The files of one folder that are written at every spin, by their names. Each file is made at its
// first write, from its path, the file system and `Arguments`, and kept for the later ones, so
// that a write costs no allocation.
template <typename File, auto... Arguments>
class FilesByName {
  public:
    explicit FilesByName(std::filesystem::path folder, FileSystem& fileSystem = SystemFileSystem())
        : folder_(std::move(folder)), fileSystem_(&fileSystem) {}

    const std::filesystem::path& Folder() const { return folder_; }

    File& Named(std::string_view fileName) {
        for (const NamedFile& named : files_) {
            if (named.name == fileName) {
                return *named.file;
            }
        }
        auto file = std::make_unique<File>(folder_ / std::filesystem::path(fileName), *fileSystem_,
                                           Arguments...);
        files_.push_back({std::string(fileName), std::move(file)});
        return *files_.back().file;
    }

  private:
    struct NamedFile {
        std::string name;
        std::unique_ptr<File> file;
    };

    std::filesystem::path folder_;
    FileSystem* fileSystem_;
    std::vector<NamedFile> files_;
};

using ReplacedFolder = FilesByName<ReplacedFile, Rewrites::EverySpin>;
using RewrittenFolder = FilesByName<RewrittenFile>;

// Gives the file this content, as ReplacedFile does, for a file written once.
void ReplaceFile(const std::filesystem::path& path, std::string_view text,
                 FileSystem& fileSystem = SystemFileSystem());

// Creates a file that does not exist yet and writes the text into it, flushed to the disk.
// Returns false, touching nothing, when a file of that name exists. On a failure the file created
// is removed again and FileError is thrown.
bool CreateNewFile(const std::filesystem::path& path, std::string_view text,
                   FileSystem& fileSystem = SystemFileSystem());

}  // namespace orbista

#pragma once

#include <sys/types.h>
#include <cstddef>

namespace orbista {

// The file-system calls through which every file is written. The program uses the operating
// system's (SystemFileSystem()); a test hands in one that fails where a full disk, a vanished
// folder or a failing device would. Each call answers as the system call does, except that a
// failure is returned as the negated error number instead of through errno.
class FileSystem {
  public:
    enum class Opening {
        Emptied,      // created, or emptied when it exists
        New,          // created; -EEXIST when it exists
        Overwritten,  // created, or kept as it is for writing over from its start
    };

    virtual ~FileSystem() = default;

    // A descriptor open for writing.
    virtual int Open(const char* path, Opening opening) = 0;
    // The bytes written (possibly fewer than asked), or the error.
    virtual ssize_t Write(int descriptor, const char* data, size_t size) = 0;
    // The same, at `offset` from the file's start, whatever the descriptor's position.
    virtual ssize_t WriteAt(int descriptor, const char* data, size_t size, off_t offset) = 0;
    virtual int Truncate(int descriptor, size_t size) = 0;
    // Returns when what was written is on the disk.
    virtual int Sync(int descriptor) = 0;
    virtual int Close(int descriptor) = 0;
    // Puts `from` in the place of `to` in one step: whoever looks sees the one or the other.
    virtual int Rename(const char* from, const char* to) = 0;
    // Swaps the two files in one step; -EINVAL where the file system cannot.
    virtual int Exchange(const char* first, const char* second) = 0;
    // A second name for an existing file; -EPERM where the file system has no such thing.
    virtual int Link(const char* existing, const char* name) = 0;
    virtual int Remove(const char* path) = 0;
};

FileSystem& SystemFileSystem();

}  // namespace orbista

#pragma once

#include <filesystem>
#include <string>

#include "storage/file_system.h"

namespace orbista {

// A file written beside the file it will become, under a name of its own: ".NAME.PID.tmp" (or
// ".NAME.PID.K.tmp" when that one is taken), hidden, and named after this process so that another
// run writing the same file never meets it. It is created new (O_EXCL), so a file or a link that
// stands at the name is never opened, let alone written through.
//
// While it exists its name is listed for RemoveTemporaryFilesNow, so that a signal that ends the
// program removes it. A kill that cannot be caught leaves it behind: the next TemporaryFile of the
// same target removes the ones whose process no longer exists.
class TemporaryFile {
  public:
    // Creates the file, open for writing, or tells why it could not (Error).
    TemporaryFile(const std::filesystem::path& target, FileSystem& fileSystem);
    // Removes the file unless it was Released.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // 0, or the error that kept the file from being made.
    int Error() const { return error_; }
    const std::string& Path() const { return path_; }
    // The open descriptor; -1 once closed.
    int Descriptor() const { return descriptor_; }
    // 0, or the error of closing the descriptor.
    int Close();
    // 0, or the error of opening the file again for writing over it, never through a link that
    // took its name.
    int Reopen();
    // The file has taken its target's name (or been linked there and removed): nothing is left
    // to remove.
    void Release();

  private:
    FileSystem& fileSystem_;
    std::string path_;
    int descriptor_ = -1;
    int listed_ = -1;
    int error_ = 0;
    bool released_ = false;
};

// Removes the temporary files that ".NAME.PID[.K].tmp" names left beside `target` by processes
// that no longer run. A name of a running process, or of another file, is left alone.
void RemoveStaleTemporaryFiles(const std::filesystem::path& target, FileSystem& fileSystem);

// Removes every temporary file this process has open. Safe to call from a signal handler.
void RemoveTemporaryFilesNow();

// Lists a file that a signal ending the program must remove (a temporary file kept between
// writes); returns its place for Unlist, or -1 when the list is full. Unlist(-1) does nothing.
int ListTemporaryFile(const char* path);
void UnlistTemporaryFile(int place);

}  // namespace orbista

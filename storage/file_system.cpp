#include "storage/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace orbista {
namespace {

int ResultOf(int result) {
    return result < 0 ? -errno : result;
}

int OpenFlags(FileSystem::Opening opening) {
    switch (opening) {
        case FileSystem::Opening::Emptied:
            return O_CREAT | O_TRUNC;
        case FileSystem::Opening::New:
            return O_CREAT | O_EXCL;
        case FileSystem::Opening::Overwritten:
            return O_CREAT;
    }
    return O_CREAT;
}

class OperatingSystemFiles final : public FileSystem {
  public:
    // Without O_NONBLOCK, opening a pipe that nobody reads would wait for good; a regular file
    // is written as ever.
    int Open(const char* path, Opening opening) override {
        return ResultOf(::open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK | OpenFlags(opening), 0666));
    }
    ssize_t Write(int descriptor, const char* data, size_t size) override {
        const ssize_t written = ::write(descriptor, data, size);
        return written < 0 ? -errno : written;
    }
    ssize_t WriteAt(int descriptor, const char* data, size_t size, off_t offset) override {
        const ssize_t written = ::pwrite(descriptor, data, size, offset);
        return written < 0 ? -errno : written;
    }
    int Truncate(int descriptor, size_t size) override {
        return ResultOf(::ftruncate(descriptor, static_cast<off_t>(size)));
    }
    int Sync(int descriptor) override { return ResultOf(::fsync(descriptor)); }
    int Close(int descriptor) override { return ResultOf(::close(descriptor)); }
    int Rename(const char* from, const char* to) override { return ResultOf(::rename(from, to)); }
    int Exchange(const char* first, const char* second) override {
        return ResultOf(::renameat2(AT_FDCWD, first, AT_FDCWD, second, RENAME_EXCHANGE));
    }
    int Link(const char* existing, const char* name) override {
        return ResultOf(::link(existing, name));
    }
    int Remove(const char* path) override { return ResultOf(::unlink(path)); }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static OperatingSystemFiles files;
    return files;
}

}  // namespace orbista

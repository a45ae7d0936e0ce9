#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orbista {

// A file opened for reading that gives at most a fixed number of bytes, so that no input (a
// device that never ends, a file of gigabytes) can exhaust the memory or keep a reader busy for
// long. Every failure is a FileError naming the file.
class BoundedFile {
  public:
    // Whether a pipe may be read: the simulator may read its script from one, while the window
    // must never wait for a writer that may not come.
    enum class Pipes { Allowed, Refused };

    BoundedFile(const std::filesystem::path& path, uint64_t limitBytes, Pipes pipes);
    ~BoundedFile();
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    // The size a regular file declares (0 for devices and pipes, whose size is only known by
    // reading them).
    uint64_t DeclaredSize() const { return declaredSize_; }
    // The next piece of the file; empty at its end. FileError once the file gives more than the
    // limit.
    std::string_view NextPiece();

  private:
    std::filesystem::path path_;
    uint64_t limitBytes_;
    uint64_t readBytes_ = 0;
    uint64_t declaredSize_ = 0;
    int fd_ = -1;
    std::string buffer_;
};

}  // namespace orbista

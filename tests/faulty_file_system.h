#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "storage/text_file.h"

namespace orbista {

// The operating system's files, without waiting for the disk, and with a fault where a test asks
// for one: a disk that fills up at a given byte, or a device that starts failing at a given call.
// A fault stays once it has come, as a full disk or a broken device would. Removing a file never
// fails, so that a test can see what a failed write left behind.
class FaultyFileSystem final : public FileSystem {
  public:
    // Once `bytes` more bytes are written, a write stores what still fits and fails with ENOSPC.
    void FillUpAfter(size_t bytes) { bytesLeft_ = bytes; }
    // The `call`-th call from now (0: the next one), whatever its kind, and every later call of
    // that kind, fail with EIO.
    void FailFromCall(int call) { failingCall_ = calls_ + call; }
    // The process ends (_exit) at the `step`-th call from now (0: the next one), of any kind,
    // removals included, before the call is made: a kill between two calls.
    void DieAtStep(int step) { dyingStep_ = steps_ + step; }
    int Steps() const { return steps_; }

    // No more faults, as after the disk was cleared or the device replaced.
    void Heal() {
        bytesLeft_.reset();
        failingCall_ = -1;
        failingKind_.reset();
    }

    // The calls that could have failed so far, how many did, and the bytes written.
    int Calls() const { return calls_; }
    int Failures() const { return failures_; }
    size_t BytesWritten() const { return bytesWritten_; }

    int Open(const char* path, Opening opening) override {
        return Fails(Kind::Open) ? -EIO : system_.Open(path, opening);
    }
    ssize_t Write(int descriptor, const char* data, size_t size) override {
        return Stored(size, [&](size_t fits) { return system_.Write(descriptor, data, fits); });
    }
    ssize_t WriteAt(int descriptor, const char* data, size_t size, off_t offset) override {
        return Stored(size,
                      [&](size_t fits) { return system_.WriteAt(descriptor, data, fits, offset); });
    }
    int Truncate(int descriptor, size_t size) override {
        return Fails(Kind::Truncate) ? -EIO : system_.Truncate(descriptor, size);
    }
    int Sync(int) override { return Fails(Kind::Sync) ? -EIO : 0; }
    int Close(int descriptor) override {
        // The descriptor is closed all the same, as the system does when a close reports an error.
        const int closed = system_.Close(descriptor);
        return Fails(Kind::Close) ? -EIO : closed;
    }
    int Rename(const char* from, const char* to) override {
        return Fails(Kind::Rename) ? -EIO : system_.Rename(from, to);
    }
    int Exchange(const char* first, const char* second) override {
        return Fails(Kind::Rename) ? -EIO : system_.Exchange(first, second);
    }
    int Link(const char* existing, const char* name) override {
        return Fails(Kind::Link) ? -EIO : system_.Link(existing, name);
    }
    int Remove(const char* path) override {
        Step();
        return system_.Remove(path);
    }

  private:
    enum class Kind { Open, Write, Truncate, Sync, Close, Rename, Link };

    void Step() {
        if (steps_++ == dyingStep_) {
            ::_exit(0);
        }
    }

    bool Fails(Kind kind) {
        Step();
        const int call = calls_++;
        if (call == failingCall_) {
            failingKind_ = kind;
        }
        if (failingKind_ != kind) {
            return false;
        }
        ++failures_;
        return true;
    }

    // A write of `size` bytes, of which `write(bytes)` stores what still fits on the disk.
    template <typename Write>
    ssize_t Stored(size_t size, Write write) {
        if (Fails(Kind::Write)) {
            return -EIO;
        }
        if (bytesLeft_ && size > *bytesLeft_) {
            size = *bytesLeft_;
            if (size == 0) {
                ++failures_;
                return -ENOSPC;
            }
        }
        const ssize_t written = write(size);
        if (written > 0) {
            bytesWritten_ += static_cast<size_t>(written);
            if (bytesLeft_) {
                *bytesLeft_ -= static_cast<size_t>(written);
            }
        }
        return written;
    }

    FileSystem& system_ = SystemFileSystem();
    std::optional<size_t> bytesLeft_;
    int calls_ = 0;
    int steps_ = 0;
    int dyingStep_ = -1;
    int failingCall_ = -1;
    std::optional<Kind> failingKind_;
    int failures_ = 0;
    size_t bytesWritten_ = 0;
};

// One way a write can fail.
struct Fault {
    std::optional<size_t> fullAfter;  // the disk fills up after this many bytes
    std::optional<int> failingCall;   // this call, and the later ones of its kind, fail

    void Apply(FaultyFileSystem& files) const {
        if (fullAfter) {
            files.FillUpAfter(*fullAfter);
        }
        if (failingCall) {
            files.FailFromCall(*failingCall);
        }
    }
    std::string Describe() const {
        return fullAfter ? "disk full after byte " + std::to_string(*fullAfter)
                         : "failure from call " + std::to_string(*failingCall);
    }
};

// Every fault that a write can meet, given the calls and bytes it takes when nothing fails: the
// disk full after each of its bytes, and a failure at each of its calls.
inline std::vector<Fault> EveryFault(int calls, size_t bytes) {
    std::vector<Fault> faults;
    for (size_t byte = 0; byte < bytes; ++byte) {
        faults.push_back({byte, std::nullopt});
    }
    for (int call = 0; call < calls; ++call) {
        faults.push_back({std::nullopt, call});
    }
    return faults;
}

}  // namespace orbista

#include "storage/temporary_file.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>

namespace orbista {

namespace {

// Far more than a folder holds of one file's temporary files; the bound only ends the search.
constexpr int MostAttempts = 100;

// The temporary files of this process, by name, where a signal handler can find them. This is
// the program's one mutable global: a handler can reach nothing else, and may not allocate or
// lock, so the names are copied into fixed places that a flag marks as taken.
constexpr int ListCapacity = 64;
constexpr size_t ListedPathBytes = 4096;

struct ListedFile {
    enum : int { Free, Filling, Listed };
    std::atomic<int> state{Free};
    char path[ListedPathBytes];
};

ListedFile listedFiles[ListCapacity];

std::string TemporaryName(const std::filesystem::path& target, int attempt) {
    std::string name = "." + target.filename().string() + "." + std::to_string(::getpid());
    if (attempt > 1) {
        name += "." + std::to_string(attempt);
    }
    return (target.parent_path() / (name + ".tmp")).string();
}

// The process that a temporary file name of `target`'s names ("PID" or "PID.K" between the
// target's name and ".tmp"); none for any other name.
std::optional<pid_t> ProcessOfTemporaryName(std::string_view name, std::string_view targetName) {
    const std::string prefix = "." + std::string(targetName) + ".";
    if (!name.starts_with(prefix) || !name.ends_with(".tmp")) {
        return std::nullopt;
    }
    std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(middle.data(), middle.data() + middle.size(), pid);
    if (error != std::errc() || end == middle.data() || pid <= 0) {
        return std::nullopt;
    }
    middle.remove_prefix(static_cast<size_t>(end - middle.data()));
    if (!middle.empty()) {
        int attempt = 0;
        const auto [attemptEnd, attemptError] =
            std::from_chars(middle.data() + 1, middle.data() + middle.size(), attempt);
        if (middle[0] != '.' || attemptError != std::errc() ||
            attemptEnd != middle.data() + middle.size()) {
            return std::nullopt;
        }
    }
    return pid;
}

bool ProcessIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path& target, FileSystem& fileSystem)
    : fileSystem_(fileSystem) {
    RemoveStaleTemporaryFiles(target, fileSystem);
    for (int attempt = 1; attempt <= MostAttempts; ++attempt) {
        path_ = TemporaryName(target, attempt);
        descriptor_ = fileSystem_.Open(path_.c_str(), FileSystem::Opening::New);
        if (descriptor_ != -EEXIST) {
            break;
        }
    }
    if (descriptor_ < 0) {
        error_ = -descriptor_;
        descriptor_ = -1;
        released_ = true;  // nothing was made
        return;
    }
    listed_ = ListTemporaryFile(path_.c_str());
}

TemporaryFile::~TemporaryFile() {
    if (!released_) {
        Close();
        fileSystem_.Remove(path_.c_str());
        UnlistTemporaryFile(listed_);
    }
}

int TemporaryFile::Reopen() {
    Close();
    const int opened = fileSystem_.Open(path_.c_str(), FileSystem::Opening::Kept);
    descriptor_ = opened < 0 ? -1 : opened;
    return opened < 0 ? -opened : 0;
}

int TemporaryFile::Close() {
    if (descriptor_ < 0) {
        return 0;
    }
    const int error = -fileSystem_.Close(descriptor_);
    descriptor_ = -1;
    return error;
}

void TemporaryFile::Release() {
    Close();
    UnlistTemporaryFile(listed_);
    released_ = true;
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& target, FileSystem& fileSystem) {
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    const std::string targetName = target.filename().string();
    std::error_code error;
    for (std::filesystem::directory_iterator entries(folder, error), end; !error && entries != end;
         entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        const std::optional<pid_t> pid = ProcessOfTemporaryName(name, targetName);
        if (pid && *pid != ::getpid() && ProcessIsGone(*pid)) {
            fileSystem.Remove((target.parent_path() / name).c_str());
        }
    }
}

void RemoveTemporaryFilesNow() {
    for (ListedFile& file : listedFiles) {
        if (file.state.load(std::memory_order_acquire) == ListedFile::Listed) {
            ::unlink(file.path);
        }
    }
}

int ListTemporaryFile(const char* path) {
    const size_t length = std::strlen(path);
    if (length >= ListedPathBytes) {
        return -1;
    }
    for (int place = 0; place < ListCapacity; ++place) {
        ListedFile& file = listedFiles[place];
        int free = ListedFile::Free;
        if (file.state.compare_exchange_strong(free, ListedFile::Filling)) {
            std::memcpy(file.path, path, length + 1);
            file.state.store(ListedFile::Listed, std::memory_order_release);
            return place;
        }
    }
    return -1;
}

void UnlistTemporaryFile(int place) {
    if (place >= 0) {
        listedFiles[place].state.store(ListedFile::Free, std::memory_order_release);
    }
}

}  // namespace orbista

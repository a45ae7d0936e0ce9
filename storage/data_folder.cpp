#include "storage/data_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace orbista {

namespace {

constexpr const char* ProgramFolderName = "orbista";
constexpr const char* SystemProgramsFolders[] = {"/bin",       "/sbin",           "/usr/bin",
                                                 "/usr/sbin",  "/usr/local/bin",  "/usr/local/sbin",
                                                 "/usr/games", "/usr/local/games"};

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

UserFolders UserFolders::FromEnvironment() {
    return {Variable("XDG_DATA_HOME"), Variable("HOME")};
}

bool FolderIsWritable(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / (".orbista-write-test-" + std::to_string(::getpid()));
    const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return false;
    }
    ::close(descriptor);
    ::unlink(probe.c_str());
    return true;
}

bool IsSystemProgramsFolder(const std::filesystem::path& folder) {
    std::error_code unresolved;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(folder, unresolved);
    if (unresolved) {
        resolved = folder.lexically_normal();
    }
    // /bin is often a link to /usr/bin: both spellings, resolved or not, are the system's.
    for (const char* system : SystemProgramsFolders) {
        if (resolved == system || folder.lexically_normal() == system ||
            std::filesystem::weakly_canonical(system, unresolved) == resolved) {
            return true;
        }
    }
    return false;
}

std::filesystem::path UserDataFolder(const UserFolders& user) {
    const std::filesystem::path dataHome(user.dataHome);
    if (dataHome.is_absolute()) {
        return dataHome / ProgramFolderName;
    }
    const std::filesystem::path home(user.home);
    if (home.is_absolute()) {
        return home / ".local" / "share" / ProgramFolderName;
    }
    return {};
}

std::filesystem::path ProgramFilesFolder(const std::filesystem::path& executableFolder,
                                         const UserFolders& user) {
    if (!IsSystemProgramsFolder(executableFolder) && FolderIsWritable(executableFolder)) {
        return executableFolder;
    }
    const std::filesystem::path data = UserDataFolder(user);
    if (data.empty()) {
        return executableFolder;
    }
    std::error_code reportedLater;
    std::filesystem::create_directories(data, reportedLater);
    return data;
}

std::filesystem::path CheckFilesFolder(const std::filesystem::path& currentFolder,
                                       const std::filesystem::path& programFilesFolder,
                                       const std::filesystem::path& executableFolder) {
    if (programFilesFolder != executableFolder) {
        return programFilesFolder;
    }
    return FolderIsWritable(currentFolder) ? currentFolder : programFilesFolder;
}

}  // namespace orbista

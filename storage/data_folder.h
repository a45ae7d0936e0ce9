#pragma once

#include <filesystem>
#include <string>

namespace orbista {

// The user's folders the program may fall back to, as the environment names them.
struct UserFolders {
    std::string dataHome;  // $XDG_DATA_HOME
    std::string home;      // $HOME

    static UserFolders FromEnvironment();
};

// Whether a file can be created in the folder now: tried for real, since permission bits do not
// tell (a read-only mount, or a folder that is not there).
bool FolderIsWritable(const std::filesystem::path& folder);

// The program's own folder in the user's data folder: $XDG_DATA_HOME/orbista, or
// ~/.local/share/orbista when that is unset or not absolute. Empty when neither is known.
std::filesystem::path UserDataFolder(const UserFolders& user);

// A folder of the system that holds every installed program (/usr/bin and the like). Even where
// it is writable, as it is for root, the program's files do not belong there.
bool IsSystemProgramsFolder(const std::filesystem::path& folder);

// Where save8.dat and Autosave live: beside the executable while that folder is writable and the
// program's own (the build tree, a copy of the program in a folder of its own), else in the user's
// data folder, created when missing. A data folder that cannot be created is still returned: the
// first write reports why.
std::filesystem::path ProgramFilesFolder(const std::filesystem::path& executableFolder,
                                         const UserFolders& user);

// Where the systems' check files go: beside save8.dat and Autosave when those have gone to the
// user's data folder (an installed program, started from anywhere), else, beside the executable,
// the current folder while it is writable, else the program's files folder.
std::filesystem::path CheckFilesFolder(const std::filesystem::path& currentFolder,
                                       const std::filesystem::path& programFilesFolder,
                                       const std::filesystem::path& executableFolder);

}  // namespace orbista

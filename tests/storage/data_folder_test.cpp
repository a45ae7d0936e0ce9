#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "storage/data_folder.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

// No one may create a file in /proc, not even root, so it stands for a program folder the user
// cannot write (an installed package) wherever the tests run.
const fs::path ReadOnlyFolder = "/proc";

bool FolderIsEmpty(const fs::path& folder) {
    return fs::directory_iterator(folder) == fs::directory_iterator();
}

TEST(DataFolder, AWritableProgramFolderKeepsItsFilesAndTheProbeLeavesNothing) {
    TestFolder program;
    TestFolder data;
    EXPECT_EQ(ProgramFilesFolder(program.Path(), {data.Path().string(), "/nonexistent"}),
              program.Path());
    EXPECT_TRUE(FolderIsEmpty(program.Path()));
    EXPECT_TRUE(FolderIsEmpty(data.Path()));
}

TEST(DataFolder, AReadOnlyProgramFolderFallsBackToTheUsersDataFolderCreatedWhenMissing) {
    TestFolder data;
    const fs::path chosen = ProgramFilesFolder(ReadOnlyFolder, {data.Path().string(), ""});
    EXPECT_EQ(chosen, data.Path() / "orbista");
    EXPECT_TRUE(fs::is_directory(chosen));
    EXPECT_TRUE(FolderIsWritable(chosen));
}

TEST(DataFolder, TheSystemsProgramFoldersAreNeverThePrograms) {
    // Root may write into /usr/bin, but an installed program must not litter it.
    TestFolder data;
    EXPECT_EQ(ProgramFilesFolder("/usr/bin", {data.Path().string(), ""}), data.Path() / "orbista");
    EXPECT_TRUE(IsSystemProgramsFolder("/usr/bin/"));
    EXPECT_TRUE(IsSystemProgramsFolder("/usr/local/bin"));
    EXPECT_FALSE(IsSystemProgramsFolder("/usr/share"));
    EXPECT_FALSE(IsSystemProgramsFolder(data.Path()));
}

TEST(DataFolder, APermissionlessFolderIsNotWritableForAnOrdinaryUser) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into any folder whatever its permissions";
    }
    TestFolder program;
    fs::permissions(program.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    TestFolder home;
    EXPECT_EQ(ProgramFilesFolder(program.Path(), {"", home.Path().string()}),
              home.Path() / ".local/share/orbista");
}

TEST(DataFolder, TheDataFolderFollowsXdgAndFallsBackToHomeForUnsetOrRelativeValues) {
    EXPECT_EQ(UserDataFolder({"/data", "/home/player"}), fs::path("/data/orbista"));
    EXPECT_EQ(UserDataFolder({"", "/home/player"}), fs::path("/home/player/.local/share/orbista"));
    EXPECT_EQ(UserDataFolder({"relative/data", "/home/player"}),
              fs::path("/home/player/.local/share/orbista"));
    EXPECT_EQ(UserDataFolder({"", ""}), fs::path());
    // Nowhere else to go: the program folder stays, and its first write reports the failure.
    EXPECT_EQ(ProgramFilesFolder(ReadOnlyFolder, {"", ""}), ReadOnlyFolder);
}

TEST(DataFolder, CheckFilesGoBesideTheSettingsInTheDataFolderElseToAWritableCurrentFolder) {
    TestFolder current;
    TestFolder program;
    TestFolder data;
    // Installed: the home folder the menu starts the program in stays clean.
    EXPECT_EQ(CheckFilesFolder(current.Path(), data.Path(), "/usr/bin"), data.Path());
    // Beside the executable, as it always was.
    EXPECT_EQ(CheckFilesFolder(current.Path(), program.Path(), program.Path()), current.Path());
    EXPECT_EQ(CheckFilesFolder(ReadOnlyFolder, program.Path(), program.Path()), program.Path());
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "model/errors.h"
#include "storage/text_file.h"
#include "tests/faulty_file_system.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

// The messages of the FileErrors that `write` throws (it is run once).
std::vector<std::string> Errors(const std::function<void()>& write) {
    try {
        write();
    } catch (const FileError& error) {
        return {error.what()};
    }
    return {};
}

const std::string OldText = "1\r\n500\r\n1\r\n";
const std::string NewText = "0\r\n250\r\n0\r\n20\r\n";

TEST(ReplacedFile, ReplacesTheWholeFileKeepingItsPermissionsAndLinks) {
    TestFolder folder;
    folder.Write("save8.dat", OldText + OldText);
    fs::permissions(folder.Path() / "save8.dat", fs::perms::owner_read | fs::perms::owner_write);
    ReplacedFile file(folder.Path() / "save8.dat");
    file.Replace(NewText);
    EXPECT_EQ(folder.Read("save8.dat"), NewText);
    EXPECT_EQ(fs::status(folder.Path() / "save8.dat").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"save8.dat"});

    fs::create_directory(folder.Path() / "real");
    fs::create_symlink("real/spins.txt", folder.Path() / "spins.txt");
    ReplaceFile(folder.Path() / "spins.txt", "7  0  32");
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "spins.txt"));
    EXPECT_EQ(folder.Read("real/spins.txt"), "7  0  32");
    EXPECT_EQ(NamesIn(folder.Path() / "real"), std::set<std::string>{"spins.txt"});
}

TEST(ReplacedFile, AFileRewrittenAtEverySpinHoldsEachTextExactlyAndLeavesNothingBehind) {
    TestFolder folder;
    {
        ReplacedFile file(folder.Path() / "test.txt", SystemFileSystem(), Rewrites::EverySpin);
        // Longer, shorter, equal, empty: the temporary file kept between writes is written over.
        for (const std::string text :
             {"12\r\n", "12\r\n30\r\n7\r\n", "5\r\n", "6\r\n", "", "ставки\r\n1\r\n"}) {
            file.Replace(text);
            EXPECT_EQ(folder.Read("test.txt"), text);
        }
    }
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"test.txt"});
}

TEST(ReplacedFile, RefusesWhatCouldNotBeOpenedForWriting) {
    TestFolder folder;
    fs::create_directory(folder.Path() / "save8.dat");
    const auto errors = Errors([&] { ReplaceFile(folder.Path() / "save8.dat", NewText); });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("это папка"), std::string::npos);
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"save8.dat"});
}

TEST(Unprivileged, AReplacedOrStreamedFileRefusesAReadOnlyFileAtOnce) {
    REQUIRE_AN_UNPRIVILEGED_USER();
    TestFolder folder;
    folder.Write("spins.txt", OldText);
    fs::permissions(folder.Path() / "spins.txt", fs::perms::owner_read);
    EXPECT_EQ(Errors([&] { ReplaceFile(folder.Path() / "spins.txt", NewText); }).size(), 1u);
    EXPECT_EQ(Errors([&] { StreamedFile(folder.Path() / "spins.txt"); }).size(), 1u);
    EXPECT_EQ(folder.Read("spins.txt"), OldText);
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"spins.txt"});
}

// Every fault of one write, in either way of writing and with the old file kept or not: the old
// file stays byte for byte, nothing else is left in the folder, and the failure is told once.
TEST(ReplacedFile, NoFailureAtAnyPointLosesTheOldFile) {
    for (const Rewrites rewrites : {Rewrites::Seldom, Rewrites::EverySpin}) {
        for (const bool keepOld : {false, true}) {
            TestFolder folder;
            const fs::path path = folder.Path() / "save8.dat";
            const fs::path kept = folder.Path() / "save8.dat.bak";
            FaultyFileSystem files;
            ReplacedFile file(path, files, rewrites);
            // A first write, so that a file rewritten at every spin has its temporary file.
            file.Replace(OldText);
            const auto replace = [&] {
                keepOld ? file.Replace(NewText, kept) : file.Replace(NewText);
            };
            const int before = files.Calls();
            replace();
            const int calls = files.Calls() - before;
            file.Replace(OldText);
            fs::remove(kept);
            const std::set<std::string> left = NamesIn(folder.Path());

            for (const Fault& fault : EveryFault(calls, NewText.size())) {
                SCOPED_TRACE(fault.Describe() + (keepOld ? ", old file kept" : "") +
                             (rewrites == Rewrites::EverySpin ? ", every spin" : ""));
                const int failures = files.Failures();
                fault.Apply(files);
                const auto errors = Errors(replace);
                files.Heal();
                if (files.Failures() == failures) {
                    // This write takes fewer calls than the one counted: nothing failed.
                    EXPECT_TRUE(errors.empty());
                    file.Replace(OldText);
                    fs::remove(kept);
                    continue;
                }
                ASSERT_EQ(errors.size(), 1u);
                EXPECT_NE(errors[0].find(path.string()), std::string::npos);
                EXPECT_EQ(folder.Read("save8.dat"), OldText);
                std::set<std::string> names = NamesIn(folder.Path());
                if (keepOld && names.erase("save8.dat.bak") == 1) {
                    EXPECT_EQ(folder.Read("save8.dat.bak"), OldText);
                }
                EXPECT_TRUE(std::includes(left.begin(), left.end(), names.begin(), names.end()));
                file.Replace(OldText);
                fs::remove(kept);
            }
            EXPECT_EQ(NamesIn(folder.Path()), left);
        }
    }
}

TEST(ReplacedFile, TheOldFileCanBeKeptUnderAnotherName) {
    TestFolder folder;
    folder.Write("save8.dat", OldText);
    folder.Write("save8.dat.bak", "an older one");
    ReplacedFile file(folder.Path() / "save8.dat");
    file.Replace(NewText, folder.Path() / "save8.dat.bak");
    EXPECT_EQ(folder.Read("save8.dat"), NewText);
    EXPECT_EQ(folder.Read("save8.dat.bak"), OldText);
    EXPECT_EQ(NamesIn(folder.Path()), (std::set<std::string>{"save8.dat", "save8.dat.bak"}));
}

TEST(CreateNewFile, NeverTouchesAFileOfTheNameAndLeavesNothingWhenItFails) {
    TestFolder folder;
    folder.Write("5_1_2027 1.2.3.txt", "5  23");
    EXPECT_FALSE(CreateNewFile(folder.Path() / "5_1_2027 1.2.3.txt", "1  2  3"));
    EXPECT_EQ(folder.Read("5_1_2027 1.2.3.txt"), "5  23");

    const fs::path path = folder.Path() / "5_1_2027 1.2.3 (2).txt";
    const std::string text = "1  2  3  4";
    FaultyFileSystem counting;
    ASSERT_TRUE(CreateNewFile(path, text, counting));
    EXPECT_EQ(folder.Read(path.filename()), text);
    fs::remove(path);
    for (const Fault& fault : EveryFault(counting.Calls(), text.size())) {
        SCOPED_TRACE(fault.Describe());
        FaultyFileSystem files;
        fault.Apply(files);
        EXPECT_EQ(Errors([&] { CreateNewFile(path, text, files); }).size(), 1u);
        EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"5_1_2027 1.2.3.txt"});
    }
}

}  // namespace
}  // namespace orbista

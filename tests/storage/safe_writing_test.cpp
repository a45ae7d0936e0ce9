#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "model/errors.h"
#include "storage/temporary_file.h"
#include "storage/text_file.h"
#include "tests/faulty_file_system.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

const std::string OldText = "spin,number\n1,5\n";
const std::string NewText = "spin,number\n1,17\n2,0\n3,32\n";

// Streams the new text in two pieces and puts it in place.
void Stream(const fs::path& path, FileSystem& files) {
    StreamedFile file(path, files);
    file.Write(NewText.substr(0, 12));
    file.Write(NewText.substr(12));
    file.Commit();
}

bool Fails(const std::function<void()>& write) {
    try {
        write();
    } catch (const FileError&) {
        return true;
    }
    return false;
}

TEST(StreamedFile, TheFileStaysAsItWasUntilTheStreamIsCommitted) {
    TestFolder folder;
    const fs::path path = folder.Path() / "log.csv";
    folder.Write("log.csv", OldText);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    {
        StreamedFile file(path);
        file.Write(NewText);
        EXPECT_EQ(folder.Read("log.csv"), OldText);
        file.Commit();
    }
    EXPECT_EQ(folder.Read("log.csv"), NewText);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    {
        StreamedFile abandoned(path);
        abandoned.Write(OldText);
    }
    EXPECT_EQ(folder.Read("log.csv"), NewText);
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"log.csv"});

    EXPECT_TRUE(Fails([&] { StreamedFile(folder.Path()); }));
    EXPECT_TRUE(Fails([&] { StreamedFile(folder.Path() / "missing" / "log.csv"); }));
}

// A failure at every call (open, write, sync, rename) and the disk full after every byte: the old
// file stays byte for byte, and no temporary file is left.
TEST(StreamedFile, NoFailureAtAnyPointLosesTheOldFile) {
    TestFolder folder;
    const fs::path path = folder.Path() / "log.csv";
    FaultyFileSystem counting;
    Stream(path, counting);
    for (const Fault& fault : EveryFault(counting.Calls(), NewText.size())) {
        SCOPED_TRACE(fault.Describe());
        folder.Write("log.csv", OldText);
        FaultyFileSystem files;
        fault.Apply(files);
        EXPECT_TRUE(Fails([&] { Stream(path, files); }));
        EXPECT_EQ(folder.Read("log.csv"), OldText);
        EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"log.csv"});
    }
}

// A kill between any two calls of any writer leaves the file whole, old or new (a new file: none
// or whole), and the temporary file it leaves is removed by the next write beside it.
TEST(SafeWriting, AKillBetweenAnyTwoCallsLeavesTheFileWholeAndTheLitterIsSweptLater) {
    const std::vector<std::pair<std::string, std::function<void(const fs::path&, FileSystem&)>>>
        writers = {
            {"streamed", Stream},
            {"replaced",
             [](const fs::path& path, FileSystem& files) { ReplaceFile(path, NewText, files); }},
            {"new",
             [](const fs::path& path, FileSystem& files) { CreateNewFile(path, NewText, files); }},
        };
    for (const auto& [name, write] : writers) {
        TestFolder folder;
        const fs::path path = folder.Path() / "file.txt";
        const std::string old = name == "new" ? "" : OldText;
        FaultyFileSystem counting;
        write(path, counting);
        for (int step = 0; step <= counting.Steps(); ++step) {
            SCOPED_TRACE(name + ", killed at step " + std::to_string(step));
            fs::remove(path);
            if (!old.empty()) {
                folder.Write("file.txt", old);
            }
            const pid_t child = ::fork();
            if (child == 0) {
                FaultyFileSystem files;
                files.DieAtStep(step);
                write(path, files);
                ::_exit(0);
            }
            ::waitpid(child, nullptr, 0);
            const std::string left = fs::exists(path) ? folder.Read("file.txt") : "";
            EXPECT_TRUE(left == old || left == NewText) << left;
            RemoveStaleTemporaryFiles(path, SystemFileSystem());
            std::set<std::string> names = NamesIn(folder.Path());
            names.erase("file.txt");
            EXPECT_TRUE(names.empty()) << *names.begin();
        }
    }
}

// Names beside the file that are not this writer's own are never touched: a file of the old
// fixed temporary name, a link at the writer's own first choice, a running process's file.
TEST(SafeWriting, OnlyTheWritersOwnTemporaryFilesAreEverTouched) {
    TestFolder folder;
    const fs::path path = folder.Path() / "notes.csv";
    folder.Write("notes.csv.tmp", "kept");
    folder.Write("victim", "kept");
    fs::create_symlink(folder.Path() / "victim",
                       folder.Path() / (".notes.csv." + std::to_string(::getpid()) + ".tmp"));
    const std::string running = ".notes.csv." + std::to_string(::getppid()) + ".tmp";
    folder.Write(running, "kept");
    const std::string gone = ".notes.csv.999999999.tmp";
    folder.Write(gone, "litter");

    Stream(path, SystemFileSystem());
    ReplaceFile(path, OldText);
    EXPECT_EQ(folder.Read("notes.csv"), OldText);
    EXPECT_EQ(folder.Read("notes.csv.tmp"), "kept");
    EXPECT_EQ(folder.Read("victim"), "kept");
    EXPECT_EQ(folder.Read(running), "kept");
    EXPECT_FALSE(fs::exists(folder.Path() / gone));
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "engine/headless_view.h"
#include "model/check_file.h"
#include "model/errors.h"
#include "storage/check_file_folder.h"
#include "storage/text_file.h"
#include "tests/faulty_file_system.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

// The message of the FileError that rewriting the file throws, or "" when it throws none.
std::string FailureOf(RewrittenFile& file, const std::string& text) {
    try {
        file.Rewrite(text);
    } catch (const FileError& error) {
        return error.what();
    }
    return "";
}

// The descriptors this process holds open.
size_t OpenDescriptors() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

const std::string LongText = "ставки\r\n12\r\n30\r\n7\r\n";
const std::string ShortText = "5\r\n";

TEST(RewrittenFile, HoldsEachTextExactlyInTheSameFileAndLeavesNothingBehind) {
    TestFolder folder;
    // Left by an earlier run, longer than the first text: what the file held is not known.
    folder.Write("test.txt", LongText + LongText);
    const ino_t inode = InodeOf(folder.Path() / "test.txt");
    {
        RewrittenFile file(folder.Path() / "test.txt");
        for (const std::string& text :
             {ShortText, LongText, ShortText, std::string("6\r\n"), std::string(), LongText}) {
            file.Rewrite(text);
            EXPECT_EQ(folder.Read("test.txt"), text);
        }
    }
    EXPECT_EQ(InodeOf(folder.Path() / "test.txt"), inode);
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"test.txt"});
}

// Every fault of a shorter text written over a longer one (the write, the cut, the disk full after
// each byte): told once, naming the file, and the next write opens the file again and holds its
// text exactly, without a descriptor left behind.
TEST(RewrittenFile, AFailedWriteIsToldAndTheNextOneStartsAfresh) {
    TestFolder folder;
    const fs::path path = folder.Path() / "проверка.txt";
    const size_t descriptors = OpenDescriptors();
    {
        FaultyFileSystem files;
        RewrittenFile file(path, files);
        file.Rewrite(LongText);
        const int before = files.Calls();
        file.Rewrite(ShortText);
        const int calls = files.Calls() - before;
        EXPECT_EQ(calls, 2);  // the write and the cut: nothing is opened again

        for (const Fault& fault : EveryFault(calls, ShortText.size())) {
            SCOPED_TRACE(fault.Describe());
            file.Rewrite(LongText);
            fault.Apply(files);
            const std::string failure = FailureOf(file, ShortText);
            files.Heal();
            EXPECT_NE(failure.find(path.string()), std::string::npos) << failure;
            fs::remove(path);  // made anew only by a write that opens the file again
            file.Rewrite("17\r\n");
            EXPECT_EQ(folder.Read(path.filename()), "17\r\n");
        }
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST(RewrittenFile, RefusesWhatCouldNotBeOpenedForWriting) {
    TestFolder folder;
    fs::create_directory(folder.Path() / "test.txt");
    RewrittenFile intoFolder(folder.Path() / "test.txt");
    EXPECT_NE(FailureOf(intoFolder, ShortText).find("это папка"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder.Path() / "test.txt"));

    // A pipe that nobody reads would hold the run up for good at its opening.
    ASSERT_EQ(::mkfifo((folder.Path() / "pipe.txt").c_str(), 0644), 0);
    RewrittenFile intoPipe(folder.Path() / "pipe.txt");
    EXPECT_NE(FailureOf(intoPipe, ShortText), "");

    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser may write any file";
    }
    folder.Write("проверка.txt", LongText);
    fs::permissions(folder.Path() / "проверка.txt", fs::perms::owner_read);
    RewrittenFile readOnly(folder.Path() / "проверка.txt");
    EXPECT_NE(FailureOf(readOnly, ShortText), "");
    EXPECT_EQ(folder.Read("проверка.txt"), LongText);
}

// The writer does not look for its file at every write: a file removed behind its back comes back
// when the file is next opened.
TEST(RewrittenFile, AFileRemovedWhileWrittenIsBackWithinWritesPerOpening) {
    TestFolder folder;
    const fs::path path = folder.Path() / "проверка.txt";
    RewrittenFile file(path);
    file.Rewrite(LongText);
    fs::remove(path);
    for (int write = 1; write < RewrittenFile::WritesPerOpening; ++write) {
        file.Rewrite(ShortText);
    }
    file.Rewrite(LongText);
    EXPECT_EQ(folder.Read(path.filename()), LongText);
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>

#include "engine/headless_view.h"
#include "model/check_file.h"
#include "session/headless_run.h"
#include "storage/check_file_folder.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

const std::string LongText = "ставки\r\n12\r\n30\r\n7\r\n";
const std::string ShortText = "5\r\n";

TEST(CheckFileFolder, TheWindowReplacesCheckFilesWholeWhileAHeadlessRunWritesThemInPlace) {
    TestFolder folder;
    const fs::path path = folder.Path() / fs::path(u8"проверка.txt");
    // The file's identities after a longer and then a shorter text.
    const auto inodesOfTwoWrites = [&](CheckFileFolder& checkFiles) {
        checkFiles.WriteCheckFile(SelectionCheckFileName, LongText);
        const ino_t first = InodeOf(path);
        checkFiles.WriteCheckFile(SelectionCheckFileName, ShortText);
        EXPECT_EQ(folder.Read(path.filename()), ShortText);
        return std::make_pair(first, InodeOf(path));
    };

    HeadlessView view;
    CheckFileFolder window(view, folder.Path());
    const auto [replacedFirst, replacedSecond] = inodesOfTwoWrites(window);
    EXPECT_NE(replacedFirst, replacedSecond);

    HeadlessRun run(1, folder.Path());
    const auto [rewrittenFirst, rewrittenSecond] = inodesOfTwoWrites(run.checkFiles);
    EXPECT_EQ(rewrittenFirst, rewrittenSecond);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(run.view.messages.empty());
}

}  // namespace
}  // namespace orbista

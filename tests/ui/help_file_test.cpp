#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <vector>

#include "tests/test_folder.h"
#include "ui/help_file.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

// A program folder laid out as a package installs it: bin/ and share/orbista/ side by side.
class HelpFileTest : public ::testing::Test {
  protected:
    HelpFileTest() { fs::create_directories(bin); }

    void Open() {
        OpenHelpFile(
            bin, nullptr, [this](QWidget*, const QString& text) { messages.push_back(text); },
            [this](const QString& path) {
                opened.push_back(path);
                return viewerStarts;
            });
    }

    TestFolder prefix;
    fs::path bin = prefix.Path() / "bin";
    bool viewerStarts = true;
    std::vector<QString> opened;
    std::vector<QString> messages;
};

TEST_F(HelpFileTest, TheFileBesideTheExecutableWinsOverTheInstalledOne) {
    fs::create_directories(prefix.Path() / "share/orbista");
    prefix.Write("share/orbista/orbista.chm", "installed");
    EXPECT_EQ(FindHelpFile(bin), prefix.Path() / "share/orbista/orbista.chm");
    prefix.Write("bin/orbista.chm", "beside");
    EXPECT_EQ(FindHelpFile(bin), bin / "orbista.chm");
    Open();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toStdString(), (bin / "orbista.chm").string());
    EXPECT_TRUE(messages.empty());
}

TEST_F(HelpFileTest, AMissingFileOrViewerIsToldNeverSilent) {
    Open();
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Не найден файл справки")) << messages[0].toStdString();

    prefix.Write("bin/orbista.chm", "help");
    viewerStarts = false;
    Open();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].contains("xchm")) << messages[1].toStdString();
}

TEST(HelpViewer, WhileItsViewerShowsTheFileTheHelpComesToTheFrontNotTwice) {
    std::vector<QString> launched;
    std::vector<int64_t> broughtToFront;
    bool stillShows = true;
    HelpViewer viewer(
        [&launched](const QString& path) {
            launched.push_back(path);
            return std::optional<int64_t>(4242);
        },
        [&stillShows](int64_t pid, const QString&) { return stillShows && pid == 4242; },
        [&broughtToFront](int64_t pid) { broughtToFront.push_back(pid); });
    EXPECT_TRUE(viewer.Show("/help/orbista.chm"));
    EXPECT_TRUE(viewer.Show("/help/orbista.chm"));
    EXPECT_EQ(launched.size(), 1u);
    EXPECT_EQ(broughtToFront, std::vector<int64_t>{4242});
    // The player closed it: the next one starts anew.
    stillShows = false;
    EXPECT_TRUE(viewer.Show("/help/orbista.chm"));
    EXPECT_EQ(launched.size(), 2u);
}

}  // namespace
}  // namespace orbista

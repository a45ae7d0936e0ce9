#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "engine/headless_view.h"
#include "session/start_and_close.h"
#include "storage/autosave_folder.h"
#include "storage/check_file_folder.h"
#include "tests/session/program_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

TEST(StartUp, FirstStartWritesTheDefaultsAndShowsThem) {
    TestFolder folder;
    ProgramRun run(folder.Path());
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "save8.dat"));
    EXPECT_EQ(folder.Read("save8.dat").substr(0, 20), "1\r\n500\r\n1\r\n20\r\n500\r\n");
    EXPECT_EQ(run.settings_.ActiveSystem(), SelectionSystem::WithSelection);
    EXPECT_TRUE(run.settings_.Flag(Setting::UseCorrectedSeries));
    EXPECT_EQ(run.view_.Text(Display::TotalBalance), "0");
    EXPECT_EQ(run.view_.Text(Display::SpinCount), "0");
    EXPECT_TRUE(run.view_.messages.empty());
}

TEST(StartUp, StartAndCloseWithoutSpinsTouchesNothing) {
    TestFolder folder;
    { ProgramRun(folder.Path()).Close(); }
    const auto path = folder.Path() / "save8.dat";
    const std::string before = folder.Read("save8.dat");
    const auto aged = std::filesystem::last_write_time(path) - std::chrono::hours(2);
    std::filesystem::last_write_time(path, aged);

    ProgramRun run(folder.Path());
    run.engine_.EnterNumber(7);  // a game of one spin is not saved
    run.Close();
    EXPECT_EQ(folder.Read("save8.dat"), before);
    EXPECT_EQ(std::filesystem::last_write_time(path), aged);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Autosave"));
}

TEST(StartUp, StoredSystemWinsOverTheDefaultAndTheGameIsSavedAtClose) {
    TestFolder folder;
    {
        ProgramRun first(folder.Path());
        first.settings_.SetActiveSystem(SelectionSystem::Chaos);
        first.engine_.EnterNumber(5);
        first.engine_.EnterNumber(23);
        first.Close();
    }
    std::vector<std::filesystem::path> saves;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path() / "Autosave")) {
        saves.push_back(entry.path());
    }
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(folder.Read(saves[0]), "5  23");

    ProgramRun second(folder.Path());
    EXPECT_EQ(second.settings_.ActiveSystem(), SelectionSystem::Chaos);
    EXPECT_EQ(second.view_.Text(Display::TotalBalance), "0") << "every run starts with an empty game";
}

TEST(StartUp, UnreadableSettingsAreReportedAndTheDefaultsStay) {
    TestFolder folder;
    folder.Write("save8.dat", "1\r\nfive hundred\r\n");
    ProgramRun run(folder.Path());
    ASSERT_EQ(run.view_.messages.size(), 1u);
    EXPECT_NE(run.view_.messages[0].find("save8.dat"), std::string::npos);
    EXPECT_EQ(run.settings_.Number(Setting::WinTarget), 500);
}

// A pipe in the place of the settings file has no writer: the start does not wait for one, says
// that the file cannot be read, and starts with the defaults.
TEST(StartUp, ASettingsFileThatIsAPipeIsReportedWithoutWaiting) {
    TestFolder folder;
    const std::filesystem::path pipe = folder.Path() / "save8.dat";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ProgramRun run(folder.Path());
    ASSERT_EQ(run.view_.messages.size(), 1u);
    EXPECT_NE(run.view_.messages[0].find("save8.dat"), std::string::npos);
    EXPECT_EQ(run.settings_.Number(Setting::WinTarget), 500);
    run.Close();
    EXPECT_TRUE(std::filesystem::is_regular_file(pipe)) << "the close writes the settings";
    EXPECT_TRUE(std::filesystem::is_fifo(folder.Path() / "save8.dat.bak"));
}

TEST(StartUp, FailuresAtCloseAreReportedAndDoNotStopTheOther) {
    TestFolder folder;
    ProgramRun run(folder.Path());
    run.engine_.EnterNumber(1);
    run.engine_.EnterNumber(2);
    folder.Write("Autosave", "a file where the folder should be");
    run.settings_.SetNumber(Setting::MaxStake, 33);
    run.Close();
    ASSERT_EQ(run.view_.messages.size(), 1u);
    EXPECT_NE(run.view_.messages[0].find("Autosave"), std::string::npos);
    EXPECT_NE(folder.Read("save8.dat").find("\r\n33\r\n"), std::string::npos);
}

TEST(StartUp, AnUnreadableSettingsFileIsKeptBesideTheFirstFileWrittenOverIt) {
    TestFolder folder;
    std::string damaged = "1\r\n60\r\nabc\r\n";
    for (int row = 4; row <= 60; ++row) {
        damaged += "7\r\n";
    }
    folder.Write("save8.dat", damaged);
    {
        ProgramRun run(folder.Path());
        ASSERT_EQ(run.view_.messages.size(), 1u);
        EXPECT_NE(run.view_.messages[0].find("abc"), std::string::npos);
        EXPECT_NE(run.view_.messages[0].find("save8.dat.bak."), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / "save8.dat.bak"));
        run.Close();
        EXPECT_EQ(run.view_.messages.size(), 1u);
    }
    EXPECT_EQ(folder.Read("save8.dat.bak"), damaged);
    EXPECT_EQ(folder.Read("save8.dat").substr(0, 13), "1\r\n500\r\n1\r\n20");

    // A file that reads well is replaced without a copy; the kept one stays.
    ProgramRun next(folder.Path());
    EXPECT_TRUE(next.view_.messages.empty());
    next.settings_.SetNumber(Setting::MaxStake, 33);
    next.Close();
    EXPECT_EQ(folder.Read("save8.dat.bak"), damaged);
}

TEST(StartUp, AtTheCloseAFieldWithoutANumberKeepsItsStoredValueAndTheOtherChangesAreSaved) {
    TestFolder folder;
    {
        ProgramRun first(folder.Path());
        first.settings_.SetNumber(Setting::WinTarget, 60);
        first.Close();
    }
    {
        ProgramRun run(folder.Path());
        run.settings_.SetNumber(Setting::MaxStake, 33);
        run.settings_.SetActiveSystem(SelectionSystem::Chaos);
        run.settings_.SetText(Setting::PauseAfterWinSpins, "abc");
        run.settings_.SetText(Setting::WinTarget, "");
        run.Close();
        ASSERT_EQ(run.view_.messages.size(), 1u);
        const std::string& message = run.view_.messages[0];
        EXPECT_NE(message.find("Делать паузу в ставках при выигрыше (спинов)"), std::string::npos);
        EXPECT_NE(message.find("\"abc\""), std::string::npos);
        EXPECT_NE(message.find("Останавливать игру при выигрыше более"), std::string::npos);
        EXPECT_NE(message.find("не сохранены"), std::string::npos);
    }
    ProgramRun restarted(folder.Path());
    EXPECT_EQ(restarted.settings_.Number(Setting::MaxStake), 33);
    EXPECT_EQ(restarted.settings_.ActiveSystem(), SelectionSystem::Chaos);
    EXPECT_EQ(restarted.settings_.Number(Setting::WinTarget), 60);
    EXPECT_EQ(restarted.settings_.Number(Setting::PauseAfterWinSpins), 0);
}

}  // namespace
}  // namespace orbista

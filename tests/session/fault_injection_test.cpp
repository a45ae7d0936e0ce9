#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "engine/engine.h"
#include "engine/headless_view.h"
#include "model/errors.h"
#include "session/start_and_close.h"
#include "storage/autosave_folder.h"
#include "storage/check_file_folder.h"
#include "storage/spin_file.h"
#include "tests/faulty_file_system.h"
#include "tests/session/program_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

// The calls and bytes of a write, counted on a run where nothing fails.
struct WriteSize {
    int calls = 0;
    size_t bytes = 0;
};

// Plays `play` on a program run over the folder: once on a file system that only counts, to size
// its writes (`afterCounting` then looks at that run's files and puts the folder back as it was),
// then once for every fault of that size, each on a file system that fails so, handing the failed
// run to `check`.
template <typename Play, typename AfterCounting, typename Check>
void PlayWithEveryFault(const fs::path& folder, Play play, AfterCounting afterCounting,
                        Check check) {
    WriteSize size;
    {
        FaultyFileSystem counting;
        ProgramRun run(folder, counting);
        play(run);
        size = {counting.Calls(), counting.BytesWritten()};
        afterCounting();
    }
    for (const Fault& fault : EveryFault(size.calls, size.bytes)) {
        SCOPED_TRACE(fault.Describe());
        FaultyFileSystem files;
        fault.Apply(files);
        ProgramRun run(folder, files);
        play(run);
        check(run);
    }
}

// The player changes two settings and closes; the close stores them.
void ChangeAndClose(ProgramRun& run) {
    run.settings_.SetNumber(Setting::MaxLoss, 400);
    run.settings_.SetActiveSystem(SelectionSystem::Chaos);
    run.Close();
}

TEST(FaultInjection, NoFailedWriteOfTheSettingsLosesTheStoredOnesAndEachIsToldOnce) {
    TestFolder folder;
    {
        ProgramRun first(folder.Path(), SystemFileSystem());
        first.settings_.SetNumber(Setting::MaxStake, 33);
        first.Close();
    }
    const std::string stored = folder.Read("save8.dat");
    PlayWithEveryFault(
        folder.Path(), ChangeAndClose, [&] { folder.Write("save8.dat", stored); },
        [&](ProgramRun& run) {
            ASSERT_EQ(run.view_.messages.size(), 1u);
            EXPECT_NE(run.view_.messages[0].find("save8.dat"), std::string::npos);
            EXPECT_EQ(folder.Read("save8.dat"), stored);
            EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"save8.dat"});
        });
    ProgramRun restarted(folder.Path(), SystemFileSystem());
    EXPECT_EQ(restarted.settings_.Number(Setting::MaxStake), 33);
    EXPECT_EQ(restarted.settings_.Number(Setting::MaxLoss), 500);
}

TEST(FaultInjection, AnUnreadableSettingsFileOutlivesEveryFailedWrite) {
    TestFolder folder;
    const std::string damaged = "1\r\n500\r\nabc\r\n20\r\n";
    folder.Write("save8.dat", damaged);
    PlayWithEveryFault(
        folder.Path(), ChangeAndClose,
        [&] {
            ASSERT_EQ(folder.Read("save8.dat.bak"), damaged);
            fs::remove(folder.Path() / "save8.dat.bak");
            folder.Write("save8.dat", damaged);
        },
        [&](ProgramRun& run) {
            EXPECT_EQ(run.view_.messages.size(), 2u) << "the start and the failed write";
            EXPECT_EQ(folder.Read("save8.dat"), damaged);
            if (fs::exists(folder.Path() / "save8.dat.bak")) {
                EXPECT_EQ(folder.Read("save8.dat.bak"), damaged);
                fs::remove(folder.Path() / "save8.dat.bak");
            }
            EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"save8.dat"});
        });
}

TEST(FaultInjection, NoFailedSaveOfSpinsLosesTheFileSavedThereBefore) {
    TestFolder folder;
    folder.Write("game.txt", "7  0  32");
    ProgramRun run(folder.Path(), SystemFileSystem());
    for (const int32_t number : {5, 23, 17}) {
        run.engine_.EnterNumber(number);
    }
    const fs::path chosen = folder.Path() / "game";
    FaultyFileSystem counting;
    SaveSpins(*run.state_, chosen, counting);
    EXPECT_EQ(folder.Read("game.txt"), "5  23  17");
    const std::set<std::string> names = NamesIn(folder.Path());
    folder.Write("game.txt", "7  0  32");
    for (const Fault& fault : EveryFault(counting.Calls(), counting.BytesWritten())) {
        SCOPED_TRACE(fault.Describe());
        FaultyFileSystem files;
        fault.Apply(files);
        EXPECT_THROW(SaveSpins(*run.state_, chosen, files), FileError);
        EXPECT_EQ(folder.Read("game.txt"), "7  0  32");
        EXPECT_EQ(NamesIn(folder.Path()), names);
    }
}

TEST(FaultInjection, AFailedAutosaveKeepsTheEarlierOnesLeavesNoStubAndIsToldOnce) {
    TestFolder folder;
    const fs::path saves = folder.Path() / "Autosave";
    fs::create_directory(saves);
    folder.Write("Autosave/8_12_2026 3.54.30.txt", "1  2");
    { ProgramRun first(folder.Path(), SystemFileSystem()); }  // writes save8.dat
    const auto playGameAndStartNew = [](ProgramRun& run) {
        run.settings_.SetActiveSystem(SelectionSystem::StatisticsOnly);  // writes no check file
        for (const int32_t number : {5, 23, 17}) {
            run.engine_.EnterNumber(number);
        }
        run.engine_.NewGame();
    };
    PlayWithEveryFault(
        folder.Path(), playGameAndStartNew,
        [&] {
            ASSERT_EQ(folder.Read("Autosave/8_12_2026 3.54.30 (2).txt"), "5  23  17");
            fs::remove(saves / "8_12_2026 3.54.30 (2).txt");
        },
        [&](ProgramRun& run) {
            ASSERT_EQ(run.view_.messages.size(), 1u);
            EXPECT_NE(run.view_.messages[0].find("Autosave"), std::string::npos);
            EXPECT_EQ(run.state_->SpinCount, 0) << "the new game begins all the same";
            EXPECT_EQ(folder.Read("Autosave/8_12_2026 3.54.30.txt"), "1  2");
            EXPECT_EQ(NamesIn(saves), std::set<std::string>{"8_12_2026 3.54.30.txt"});
        });
}

TEST(FaultInjection, AFailedCheckFileKeepsTheLastOneAndIsToldOnceInARun) {
    TestFolder folder;
    const fs::path checkFile = folder.Path() / u8"проверка.txt";
    WriteSize size;
    std::string last;
    {
        FaultyFileSystem counting;
        ProgramRun run(folder.Path(), counting);
        run.engine_.EnterNumber(4);
        last = folder.Read(checkFile);
        const int before = counting.Calls();
        run.engine_.EnterNumber(9);
        size = {counting.Calls() - before, last.size()};
    }
    for (const Fault& fault : EveryFault(size.calls, size.bytes)) {
        SCOPED_TRACE(fault.Describe());
        FaultyFileSystem files;
        ProgramRun run(folder.Path(), files);
        run.engine_.EnterNumber(4);
        ASSERT_EQ(folder.Read(checkFile), last);
        const std::set<std::string> names = NamesIn(folder.Path());
        fault.Apply(files);
        run.engine_.EnterNumber(9);
        if (files.Failures() == 0) {
            continue;  // this spin's file took fewer calls than the one counted
        }
        EXPECT_EQ(folder.Read(checkFile), last);
        EXPECT_EQ(run.state_->SpinCount, 2) << "the spin is played all the same";
        for (const int32_t number : {11, 30, 2}) {
            run.engine_.EnterNumber(number);
        }
        EXPECT_EQ(run.view_.messages.size(), 1u);
        const std::set<std::string> after = NamesIn(folder.Path());
        EXPECT_TRUE(std::includes(names.begin(), names.end(), after.begin(), after.end()));
    }
}

}  // namespace
}  // namespace orbista

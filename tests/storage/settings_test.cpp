#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/errors.h"
#include "model/settings_model.h"
#include "storage/settings_file.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

const std::array<int32_t, 40> FirstStartRows = {1, 500, 1, 20, 500, 10, 0,  1,  1, 1, 0,  0, 1, 0,
                                                0, 6,   0, 0,  0,   0,  0,  24, 4, 0, 0,  2, 0, 0,
                                                0, 30,  0, 1,  0,   0,  80, 0,  0, 5, 37, 2};

TEST(SettingsModel, DefaultsCaptureAsTheFirstStartFile) {
    MemorySettings settings;
    const auto rows = CaptureRows(settings);
    for (int i = 0; i < StoredRowCount; ++i) {
        EXPECT_EQ(rows[i], i < 40 ? FirstStartRows[i] : 0) << "row " << i + 1;
    }
    EXPECT_EQ(settings.ActiveSystem(), SelectionSystem::WithSelection);
}

TEST(SettingsModel, EveryStoredFieldHasItsOwnRowAndEverySystemIsListed) {
    std::array<int, StoredRowCount + 1> owners{};
    for (const SettingInfo& info : SettingsTable()) {
        if (info.row > 0) {
            ++owners[info.row];
        }
        EXPECT_EQ(SettingByField(info.field), info.setting);
    }
    for (const SystemInfo& system : SystemsTable()) {
        if (system.row > 0) {
            ++owners[system.row];
        }
        EXPECT_EQ(SystemBySimName(system.simName), system.system);
    }
    for (int row = 1; row <= StoredRowCount; ++row) {
        const bool empty = row == 18 || row == 19 || row == 25 || row >= 47;
        EXPECT_EQ(owners[row], empty ? 0 : 1) << "row " << row;
    }
    EXPECT_EQ(SystemsTable().size(), 13u);
}

TEST(SettingsModel, BadTextRaisesAConversionErrorNamingTheField) {
    MemorySettings settings;
    settings.SetText(Setting::MaxStake, "abc\n12");
    try {
        settings.Number(Setting::MaxStake);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.Control(), InfoOf(Setting::MaxStake).control);
        EXPECT_STREQ(error.what(),
                     "Значение \"abc\" в поле \"Максимальная ставка\" не является целым числом.");
    }
    for (const char* bad : {"", " ", "1 000", "12a", "0x10", "--3", "99999999999"}) {
        settings.SetText(Setting::WinTarget, bad);
        EXPECT_THROW(settings.Number(Setting::WinTarget), ConversionError) << bad;
    }
    settings.SetText(Setting::WinTarget, "12000\r\nrest");
    EXPECT_EQ(settings.Number(Setting::WinTarget), 12000);  // typed past the arrows: kept
    settings.SetText(Setting::WinTarget, "-7");
    EXPECT_EQ(settings.Number(Setting::WinTarget), -7);
    EXPECT_EQ(settings.ClampedNumber(Setting::WinTarget), 0);
    settings.SetText(Setting::ChaosNumberCount, "40");
    EXPECT_EQ(settings.ClampedNumber(Setting::ChaosNumberCount), 36);
    EXPECT_EQ(settings.Text(Setting::ChaosNumberCount), "40");
}

TEST(SettingsModel, SteppersOfTheTwoCountsKeepMinimumBelowMaximum) {
    MemorySettings settings;
    settings.SetNumber(Setting::MaxProcessedCount, 5);
    settings.SetNumber(Setting::MinCoveredCount, 5);
    StepSetting(settings, Setting::MaxProcessedCount, -1);
    EXPECT_EQ(settings.Number(Setting::MaxProcessedCount), 4);
    EXPECT_EQ(settings.Number(Setting::MinCoveredCount), 4);

    settings.SetNumber(Setting::MaxProcessedCount, 24);
    settings.SetNumber(Setting::MinCoveredCount, 24);
    StepSetting(settings, Setting::MinCoveredCount, +1);
    EXPECT_EQ(settings.Number(Setting::MinCoveredCount), 25);
    EXPECT_EQ(settings.Number(Setting::MaxProcessedCount), 25);

    settings.SetNumber(Setting::WinTarget, 12000);  // arrows clamp only their own steps
    StepSetting(settings, Setting::WinTarget, +1);
    EXPECT_EQ(settings.Number(Setting::WinTarget), 10000);
    settings.SetText(Setting::PlaybackSpinLimit, "190");
    StepSetting(settings, Setting::PlaybackSpinLimit, +1);
    EXPECT_EQ(settings.Number(Setting::PlaybackSpinLimit), 210);

    // Without a number the arrows go on from the last one shown, or the default if none was.
    settings.SetNumber(Setting::MaxLoss, 60);
    settings.SetText(Setting::MaxLoss, "abc");
    StepSetting(settings, Setting::MaxLoss, +1);
    EXPECT_EQ(settings.Number(Setting::MaxLoss), 61);
    MemorySettings fresh;
    fresh.SetText(Setting::WaitingSpins, "x");
    StepSetting(fresh, Setting::WaitingSpins, -1);
    EXPECT_EQ(fresh.Number(Setting::WaitingSpins), 1);
}

TEST(SettingsModel, TheTwoSeriesBoxesNeverStandOnTogether) {
    MemorySettings settings;
    SetSeriesChoice(settings, Setting::UseDrawnSeries, true);
    EXPECT_TRUE(settings.Flag(Setting::UseDrawnSeries));
    EXPECT_FALSE(settings.Flag(Setting::UseCorrectedSeries));
    SetSeriesChoice(settings, Setting::UseCorrectedSeries, true);
    EXPECT_TRUE(settings.Flag(Setting::UseCorrectedSeries));
    EXPECT_FALSE(settings.Flag(Setting::UseDrawnSeries));
    SetSeriesChoice(settings, Setting::UseCorrectedSeries, false);
    EXPECT_FALSE(settings.Flag(Setting::UseCorrectedSeries));
    EXPECT_FALSE(settings.Flag(Setting::UseDrawnSeries));
}

StoredSettings RowsOf(std::initializer_list<std::pair<int, int32_t>> values) {
    StoredSettings rows{};
    for (int i = 0; i < 40; ++i) {
        rows[i].first = FirstStartRows[i];
    }
    for (const auto& [row, value] : values) {
        rows[row - 1].first = value;
    }
    return rows;
}

TEST(SettingsFile, ShowSettingsAppliesSystemAndSeriesRowsInRowOrder) {
    MemorySettings settings;
    ShowSettings(settings, RowsOf({{8, 1}, {31, 1}}));
    EXPECT_EQ(settings.ActiveSystem(), SelectionSystem::Chaos);

    ShowSettings(settings, RowsOf({{8, 0}}));
    EXPECT_EQ(settings.ActiveSystem(), SelectionSystem::None);

    ShowSettings(settings, RowsOf({{10, 1}, {11, 1}, {1, 2}}));
    EXPECT_TRUE(settings.Flag(Setting::UseDrawnSeries));
    EXPECT_FALSE(settings.Flag(Setting::UseCorrectedSeries));
    EXPECT_FALSE(settings.Flag(Setting::StopOnWin));  // a flag row of 2 is off

    ShowSettings(settings, RowsOf({{4, 250}}));  // outside the arrows' bounds: shown as stored
    EXPECT_EQ(settings.Text(Setting::MaxStake), "250");
}

TEST(SettingsFile, GizmoOrCustomIsStoredAsNoSystem) {
    MemorySettings settings;
    settings.SetActiveSystem(SelectionSystem::Gizmo);
    StoredSettings rows{};
    const auto captured = CaptureRows(settings);
    for (int i = 0; i < StoredRowCount; ++i) {
        rows[i].first = captured[i];
    }
    MemorySettings restarted;
    ShowSettings(restarted, rows);
    EXPECT_EQ(restarted.ActiveSystem(), SelectionSystem::None);
}

TEST(SettingsFile, FirstStartWritesTheDefaultsAndAnUnchangedCaptureLeavesTheFile) {
    TestFolder folder;
    MemorySettings settings;
    SettingsFile file(folder.Path());
    file.LoadSettings(settings);
    std::string expected;
    for (int i = 0; i < StoredRowCount; ++i) {
        expected += std::to_string(i < 40 ? FirstStartRows[i] : 0) + "\r\n";
    }
    EXPECT_EQ(folder.Read(SettingsFileName), expected);

    const auto written = std::filesystem::last_write_time(file.Path());
    std::filesystem::last_write_time(file.Path(), written - std::chrono::hours(1));
    MemorySettings again;
    SettingsFile reopened(folder.Path());
    reopened.LoadSettings(again);
    reopened.CaptureSettings(again);
    EXPECT_EQ(std::filesystem::last_write_time(file.Path()), written - std::chrono::hours(1));

    again.SetNumber(Setting::MaxStake, 30);
    reopened.CaptureSettings(again);
    EXPECT_NE(folder.Read(SettingsFileName).find("\r\n30\r\n"), std::string::npos);
}

TEST(SettingsFile, ReaderToleratesOddLinesAndStopsAtABadToken) {
    TestFolder folder;
    std::string text = "0 7\n\n1   \t\n";  // lone LF, an empty row, trailing blanks
    for (int i = 0; i < 70; ++i) {
        text += "3 4 5\r\n";  // more than 60 lines and more than two numbers
    }
    folder.Write(SettingsFileName, text);
    StoredSettings rows{};
    ReadSettingsRows(folder.Path() / SettingsFileName, rows);
    EXPECT_EQ(rows[0].first, 0);
    EXPECT_EQ(rows[0].second, 7);
    EXPECT_EQ(rows[1].first, 0);
    EXPECT_EQ(rows[2].first, 1);
    EXPECT_EQ(rows[59].first, 3);
    EXPECT_EQ(rows[59].second, 4);

    folder.Write(SettingsFileName, "1\r\n2\r\nx3\r\n4\r\n");
    MemorySettings settings;
    SettingsFile file(folder.Path());
    try {
        file.LoadSettings(settings);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("save8.dat"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("x3"), std::string::npos);
    }
    EXPECT_EQ(file.Stored()[1].first, 2);
    EXPECT_EQ(settings.Number(Setting::WinTarget), 500);  // not shown: defaults kept
}

TEST(SettingsFile, ReadsEveryLineEndStyleAndNamesTheLineOfABadToken) {
    StoredSettings rows{};
    ReadSettingsText("save8.dat",
                     "\xEF\xBB\xBF"
                     "1\r2\r\r4 +9\r\n-5\n",
                     rows);
    EXPECT_EQ(rows[0].first, 1);
    EXPECT_EQ(rows[1].first, 2);
    EXPECT_EQ(rows[2].first, 0);
    EXPECT_EQ(rows[3].first, 4);
    EXPECT_EQ(rows[3].second, 9);
    EXPECT_EQ(rows[4].first, -5);
    try {
        ReadSettingsText("/p/save8.dat", "1\r2\r3 \x01x\r4", rows);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(),
                     "Файл \"/p/save8.dat\", строка 3: «\\x01x» не является целым числом.");
    }
}

TEST(SettingsFile, AFileFarLargerThanSixtyLinesIsRefusedBeforeItIsRead) {
    TestFolder folder;
    StoredSettings rows{};
    folder.Write(SettingsFileName, std::string((64 << 10) + 1, '\n'));
    const auto path = folder.Path() / SettingsFileName;
    try {
        ReadSettingsRows(path, rows);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.what(), "Не удалось прочитать файл \"" + path.string() +
                                    "\": файл слишком большой (больше 64 КБ).");
    }
    folder.Write(SettingsFileName, std::string(64 << 10, '\n'));
    EXPECT_NO_THROW(ReadSettingsRows(path, rows));
    EXPECT_THROW(ReadSettingsRows("/dev/zero", rows), FileError);
}

TEST(SettingsFile, EmptyFileSwitchesEverythingOffAndSelectsNoSystem) {
    TestFolder folder;
    folder.Write(SettingsFileName, "");
    MemorySettings settings;
    SettingsFile file(folder.Path());
    file.LoadSettings(settings);
    EXPECT_EQ(settings.ActiveSystem(), SelectionSystem::None);
    EXPECT_FALSE(settings.Flag(Setting::StopOnWin));
    EXPECT_FALSE(settings.Flag(Setting::UseCorrectedSeries));
    EXPECT_EQ(settings.Text(Setting::MaxStake), "0");
}

TEST(SettingsFile, CaptureStopsAtABadFieldAndAFailedWriteIsNotRetried) {
    TestFolder folder;
    MemorySettings settings;
    SettingsFile file(folder.Path());
    file.LoadSettings(settings);
    settings.SetText(Setting::MaxLoss, "много");
    EXPECT_THROW(file.CaptureSettings(settings), ConversionError);

    settings.SetNumber(Setting::MaxLoss, 400);
    std::filesystem::remove(file.Path());
    std::filesystem::create_directory(file.Path());  // cannot be written now
    EXPECT_THROW(file.CaptureSettings(settings), FileError);
    EXPECT_NO_THROW(file.CaptureSettings(settings));  // already stored: nothing to write
}

}  // namespace
}  // namespace orbista

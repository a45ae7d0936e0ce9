#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <chrono>
#include <filesystem>

#include "session/presets.h"
#include "storage/settings_file.h"
#include "tests/ui/window_fixture.h"

namespace orbista {
namespace {

namespace fs = std::filesystem;

// The settings file of a fresh installation, line by line.
constexpr std::array<int32_t, 40> FreshRows = {1, 500, 1, 20, 500, 10, 0,  1,  1, 1, 0,  0, 1, 0,
                                               0, 6,   0, 0,  0,   0,  0,  24, 4, 0, 0,  2, 0, 0,
                                               0, 30,  0, 1,  0,   0,  80, 0,  0, 5, 37, 2};

std::string FileText(const std::vector<int32_t>& rows) {
    std::string text;
    for (const int32_t row : rows) {
        text += std::to_string(row) + "\r\n";
    }
    return text;
}

std::vector<int32_t> FreshFile() {
    std::vector<int32_t> rows(FreshRows.begin(), FreshRows.end());
    rows.resize(StoredRowCount, 0);
    return rows;
}

// The window is started by each test, once the files it should find are in place.
class StartAndCloseTest : public WindowTest {
  protected:
    void SetUp() override {}

    fs::path SettingsPath() const { return folder.Path() / SettingsFileName; }
    fs::path AutosaveFolder() const { return folder.Path() / "Autosave"; }
    int AutosaveFiles() const {
        if (!fs::exists(AutosaveFolder())) {
            return 0;
        }
        return static_cast<int>(std::distance(fs::directory_iterator(AutosaveFolder()), {}));
    }
    // Dates the settings file an hour back, so that a rewrite cannot go unnoticed.
    fs::file_time_type AgeSettingsFile() const {
        const fs::file_time_type old = fs::last_write_time(SettingsPath()) - std::chrono::hours(1);
        fs::last_write_time(SettingsPath(), old);
        return old;
    }
    StoredSettings StoredRows() const {
        StoredSettings rows{};
        ReadSettingsRows(SettingsPath(), rows);
        return rows;
    }
    void Trigger(std::string_view caption) {
        QAction* item = MenuItem(Name(caption));
        ASSERT_NE(item, nullptr);
        item->trigger();
    }
};

TEST_F(StartAndCloseTest, FirstStartWritesTheSixtyDefaultLinesAndShowsTheDefaults) {
    ASSERT_FALSE(fs::exists(SettingsPath()));
    OpenWindow();

    EXPECT_EQ(folder.Read(SettingsFileName), FileText(FreshFile()));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::WithSelection);
    EXPECT_EQ(Text(Display::GameBalance), "0");
    EXPECT_EQ(Text(Display::SpinCount), "0");
    EXPECT_EQ(window->Number(Setting::WinTarget), 500);
    EXPECT_TRUE(window->Flag(Setting::UseCorrectedSeries));
}

TEST_F(StartAndCloseTest, StartAndCloseWithoutSpinsLeavesTheFilesAlone) {
    OpenWindow();
    const std::string before = folder.Read(SettingsFileName);
    const fs::file_time_type dated = AgeSettingsFile();

    Trigger("Выход");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(folder.Read(SettingsFileName), before);
    EXPECT_EQ(fs::last_write_time(SettingsPath()), dated);
    EXPECT_FALSE(fs::exists(AutosaveFolder()));
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartAndCloseTest, StoredSettingsWinOverTheDefaultsOfTheStart) {
    std::vector<int32_t> rows = FreshFile();
    rows[2 - 1] = 777;  // WinTarget
    rows[31 - 1] = 1;   // SystemChaos, after SystemWithSelection in row 8
    rows[10 - 1] = 0;   // UseCorrectedSeries
    folder.Write(SettingsFileName, FileText(rows));
    OpenWindow();

    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Chaos);
    EXPECT_EQ(window->Text(Setting::WinTarget), "777");
    EXPECT_FALSE(window->Flag(Setting::UseCorrectedSeries));
}

TEST_F(StartAndCloseTest, AnUnreadableSettingsFileIsReportedAndTheDefaultsStay) {
    std::vector<int32_t> rows = FreshFile();
    rows[2 - 1] = 777;
    std::string text = FileText(rows);
    text.replace(text.find("10\r\n"), 2, "1O");  // a letter O in row 6
    folder.Write(SettingsFileName, text);
    OpenWindow();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QString::fromStdString(SettingsPath().string())));
    EXPECT_EQ(window->Number(Setting::WinTarget), 500);
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::WithSelection);
}

TEST_F(StartAndCloseTest, TheClosingStepsRunOnceWhateverEndsTheProgram) {
    OpenWindow();
    ClickNumber(5);
    ClickNumber(23);
    window->SetNumber(Setting::WinTarget, 90);

    window->close();  // the close box
    EXPECT_EQ(AutosaveFiles(), 1);
    EXPECT_EQ(StoredRows()[2 - 1].first, 90);

    // The application quitting afterwards (the session ending) saves nothing a second time,
    // although the window now shows another value.
    window->SetNumber(Setting::WinTarget, 91);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();
    Trigger("Выход");
    EXPECT_EQ(AutosaveFiles(), 1);
    EXPECT_EQ(StoredRows()[2 - 1].first, 90);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartAndCloseTest, TheApplicationEndingWithoutAnyCloseRunsTheClosingSteps) {
    OpenWindow();
    ClickNumber(5);
    ClickNumber(23);
    window->SetNumber(Setting::WinTarget, 90);

    // exit, unlike quit, asks no window to close.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(AutosaveFiles(), 1);
    EXPECT_EQ(StoredRows()[2 - 1].first, 90);
}

TEST_F(StartAndCloseTest, EveryPresetMenuItemSetsItsValuesAndStoresThem) {
    OpenWindow();
    for (const Preset& preset : Presets()) {
        Trigger(preset.caption);
        EXPECT_EQ(window->ActiveSystem(), preset.system) << preset.caption;
        const StoredSettings stored = StoredRows();
        for (const PresetValue& value : preset.values) {
            EXPECT_EQ(window->Number(value.setting), value.value) << preset.caption;
            EXPECT_EQ(stored[InfoOf(value.setting).row - 1].first, value.value) << preset.caption;
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartAndCloseTest, WaitingKeepsTheWinBonusAndTheSamePresetTwiceDoesNotRewrite) {
    OpenWindow();
    Trigger("Без прогрессий");
    EXPECT_EQ(window->Number(Setting::WinBonusPerTenSpins), 3);
    Trigger("Выжидание");
    EXPECT_EQ(window->Number(Setting::WinBonusPerTenSpins), 3);
    EXPECT_EQ(window->Number(Setting::WaitingSpins), 4);
    EXPECT_EQ(window->ActiveSystem(), SelectionSystem::Waiting);
    EXPECT_EQ(StoredRows()[InfoOf(Setting::WinBonusPerTenSpins).row - 1].first, 3);

    const std::string before = folder.Read(SettingsFileName);
    const fs::file_time_type dated = AgeSettingsFile();
    Trigger("Выжидание");
    EXPECT_EQ(folder.Read(SettingsFileName), before);
    EXPECT_EQ(fs::last_write_time(SettingsPath()), dated);
    EXPECT_TRUE(messages.empty());
}

TEST_F(StartAndCloseTest, APresetOverABadFieldIsReportedAndStoresNothing) {
    OpenWindow();
    const std::string before = folder.Read(SettingsFileName);
    window->SetText(Setting::SkippedSpinCount, "семь");
    Trigger("Стандартная система");

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("семь"));
    EXPECT_EQ(window->Number(Setting::MaxProcessedCount), 18);
    EXPECT_EQ(folder.Read(SettingsFileName), before);
}

}  // namespace
}  // namespace orbista

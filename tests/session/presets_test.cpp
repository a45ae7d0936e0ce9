#include <gtest/gtest.h>

#include <filesystem>

#include "model/errors.h"
#include "session/presets.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

const Preset& PresetCalled(std::string_view caption) {
    for (const Preset& preset : Presets()) {
        if (preset.caption == caption) {
            return preset;
        }
    }
    throw std::logic_error("no preset " + std::string(caption));
}

class PresetsTest : public ::testing::Test {
  protected:
    PresetsTest() : file_(folder_.Path()) { file_.LoadSettings(settings_); }

    std::filesystem::file_time_type Age() {
        const auto old = std::filesystem::last_write_time(file_.Path()) - std::chrono::hours(1);
        std::filesystem::last_write_time(file_.Path(), old);
        return old;
    }

    TestFolder folder_;
    MemorySettings settings_;
    SettingsFile file_;
};

TEST_F(PresetsTest, MenuOrderAndCaptions) {
    std::vector<std::string_view> captions;
    for (const Preset& preset : Presets()) {
        captions.push_back(preset.caption);
    }
    EXPECT_EQ(captions,
              (std::vector<std::string_view>{
                  "Выжидание", "PEEP с отклонением", "Стандартная система", "Сектора на поле",
                  "С выборкой и мягкой прогрессией", "Без прогрессий", "Без выборки"}));
}

TEST_F(PresetsTest, SetsItsValuesStoresThemAndLeavesTheRest) {
    ApplyPreset(PresetCalled("Без прогрессий"), settings_, file_);
    EXPECT_EQ(settings_.Number(Setting::WinBonusPerTenSpins), 3);
    ApplyPreset(PresetCalled("Выжидание"), settings_, file_);
    EXPECT_EQ(settings_.ActiveSystem(), SelectionSystem::Waiting);
    EXPECT_EQ(settings_.Number(Setting::WaitingSpins), 4);
    EXPECT_EQ(settings_.Number(Setting::MaxProcessedCount), 12);
    EXPECT_EQ(settings_.Number(Setting::ProgressionSteepness), 5);
    EXPECT_EQ(settings_.Number(Setting::WinTarget), 60);
    EXPECT_EQ(settings_.Number(Setting::WinBonusPerTenSpins), 3) << "not part of this preset";

    StoredSettings rows{};
    ReadSettingsRows(file_.Path(), rows);
    EXPECT_EQ(rows[26].first, 1);  // the waiting system's row
    EXPECT_EQ(rows[7].first, 0);
    EXPECT_EQ(rows[25].first, 4);
    EXPECT_EQ(rows[23].first, 3);
}

TEST_F(PresetsTest, SamePresetTwiceDoesNotRewriteTheFile) {
    ApplyPreset(PresetCalled("PEEP с отклонением"), settings_, file_);
    const auto aged = Age();
    ApplyPreset(PresetCalled("PEEP с отклонением"), settings_, file_);
    EXPECT_EQ(std::filesystem::last_write_time(file_.Path()), aged);
}

TEST_F(PresetsTest, SectorsOnTheTableAreForgottenAfterARestart) {
    ApplyPreset(PresetCalled("Сектора на поле"), settings_, file_);
    EXPECT_TRUE(settings_.Flag(Setting::SectorsOnTable));
    MemorySettings restarted;
    SettingsFile reopened(folder_.Path());
    reopened.LoadSettings(restarted);
    EXPECT_EQ(restarted.ActiveSystem(), SelectionSystem::Sectors);
    EXPECT_EQ(restarted.Number(Setting::SectorLength), 7);
    EXPECT_FALSE(restarted.Flag(Setting::SectorsOnTable));
}

TEST_F(PresetsTest, ABadFieldOutsideThePresetStopsOnlyTheStoring) {
    settings_.SetText(Setting::FavouritesCount, "пять");
    const auto aged = Age();
    EXPECT_THROW(ApplyPreset(PresetCalled("Стандартная система"), settings_, file_),
                 ConversionError);
    EXPECT_EQ(settings_.Number(Setting::MaxProcessedCount), 18);
    EXPECT_EQ(std::filesystem::last_write_time(file_.Path()), aged);

    settings_.SetText(Setting::MaxStake, "x");  // overwritten by the preset: no error
    settings_.SetNumber(Setting::FavouritesCount, 5);
    EXPECT_NO_THROW(ApplyPreset(PresetCalled("Стандартная система"), settings_, file_));
}

}  // namespace
}  // namespace orbista

#include <filesystem>

#include "engine_fixture.h"

namespace orbista {
namespace {

class ResetTest : public EngineTest {
  protected:
    ResetTest() {
        autosaves.SetFolder(folder.Path() / "Autosave");
        autosaves.SetClock([] { return LocalDateTime{2026, 12, 8, 3, 54, 30}; });
        RecommendSized(Twelve);
    }
    std::vector<std::filesystem::path> Saved() const {
        std::vector<std::filesystem::path> files;
        std::error_code none;
        for (const auto& entry :
             std::filesystem::directory_iterator(folder.Path() / "Autosave", none)) {
            files.push_back(entry.path().filename());
        }
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(ResetTest, NewGameClearsEveryBalanceAndTheNextSpinIsSpinOne) {
    Spins({20, 20, 20});
    const int32_t oldBalanceEntry = state.BalanceHistory[2];
    engine.NewGame();
    for (const Display display :
         {Display::GameBalance, Display::TotalBalance, Display::TableStake, Display::GameBalanceMin,
          Display::GameBalanceMax, Display::SpinCount}) {
        EXPECT_EQ(Text(display), "0") << ControlOf(display);
    }
    EXPECT_EQ(Text(Display::StakeLevel), "");
    EXPECT_EQ(view.SpinRow(0), "Выпало");
    EXPECT_EQ(view.SpinRow(1), "");
    EXPECT_EQ(view.MirrorCaption(1), "");
    EXPECT_EQ(state.SpinCount, 0);
    EXPECT_EQ(state.Deficit, 0);
    EXPECT_EQ(state.WinBonus, 0.0);
    EXPECT_EQ(state.BalanceHistory[2], oldBalanceEntry);  // left for the next spins to overwrite
    Spins({33});
    EXPECT_EQ(Text(Display::SpinCount), "1");
    EXPECT_EQ(state.SpinHistory[2], 0);
    EXPECT_EQ(Text(Display::GameBalance), "0");  // nothing was left on the table
}

TEST_F(ResetTest, RestartKeepsTheTotalTheExtremesAndTheOldCount) {
    Spins({20, 20, 5});
    engine.RestartGame();
    EXPECT_EQ(Text(Display::GameBalance), "0");
    EXPECT_EQ(Text(Display::TotalBalance), "12");
    EXPECT_EQ(Text(Display::GameBalanceMin), "-24");
    EXPECT_EQ(Text(Display::GameBalanceMax), "12");
    EXPECT_EQ(Text(Display::TableStake), "12");
    EXPECT_EQ(Text(Display::SpinCount), "3");
    EXPECT_EQ(state.SpinCount, 0);
    EXPECT_EQ(state.Stakes[1], 0);
}

TEST_F(ResetTest, OnlyGamesOfTwoOrMoreSpinsAreSavedAndASecondSaveInTheSameSecondKeepsTheFirst) {
    Spins({5});
    engine.NewGame();
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Autosave"));
    Spins({5, 23});
    engine.NewGame();
    Spins({7, 0, 32});
    engine.NewGame();
    EXPECT_EQ(Saved(), (std::vector<std::filesystem::path>{"8_12_2026 3.54.30 (2).txt",
                                                           "8_12_2026 3.54.30.txt"}));
    EXPECT_EQ(folder.Read("Autosave/8_12_2026 3.54.30.txt"), "5  23");
    EXPECT_EQ(folder.Read("Autosave/8_12_2026 3.54.30 (2).txt"), "7  0  32");
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(ResetTest, FailedAutosaveIsReportedAndTheResetStillCompletes) {
    folder.Write("blocked", "");
    autosaves.SetFolder(folder.Path() / "blocked" / "Autosave");
    Spins({20, 20, 5});
    engine.RestartGame();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("blocked"), std::string::npos);
    EXPECT_EQ(state.SpinCount, 0);
    EXPECT_EQ(Text(Display::GameBalance), "0");
    Spins({20, 20});
    engine.NewGame();
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(Text(Display::TotalBalance), "0");
}

}  // namespace
}  // namespace orbista

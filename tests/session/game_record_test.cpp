#include "session/game_record.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "tests/session/program_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

// The cycles are played by hand: the record only looks at the state before and after each.
class GameRecordTest : public ::testing::Test {
  protected:
    void Spin(int32_t number, int32_t gameBalance) {
        record.BeforeCycle(*state);
        ++state->SpinCount;
        state->SpinHistory[1] = number;
        state->BalanceHistory[1] = gameBalance;
        record.AfterCycle(*state);
    }
    void Cancel() {
        record.BeforeCycle(*state);
        --state->SpinCount;
        record.AfterCycle(*state);
    }

    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    GameRecord record;
};

TEST_F(GameRecordTest, EachSpinWithTheStakeThatStoodOnItAndWhatItGaveBack) {
    const std::string heading = "Спин,Выпало,Стояло на поле,Результат спина,Баланс в этой игре\n";
    Spin(5, 0);  // nothing on the table yet
    state->Stakes[0] = 2;
    state->Stakes[3] = 2;
    state->Stakes[17] = 2;
    Spin(17, 66);  // 36 × 2 − 6
    Spin(4, 60);
    Cancel();
    Spin(0, 126);
    record.BeforeCycle(*state);
    record.AfterCycle(*state);  // a cycle that failed
    EXPECT_EQ(record.Csv(), heading + "1,5,0,0,0\n2,17,6,66,66\n3,0,6,66,126\n");

    // A stop or a new game begins an empty game.
    record.BeforeCycle(*state);
    state->SpinCount = 0;
    record.AfterCycle(*state);
    EXPECT_EQ(record.Csv(), heading);
}

// Against the engine itself: within a game, every row's result takes the previous row's balance
// to its own, with the default system betting and restarting at its stops.
TEST(GameRecord, EveryRowAddsUpToTheGameBalanceTheEngineShows) {
    TestFolder folder;
    ProgramRun run(folder.Path());
    GameRecord record;
    std::mt19937 draws(11);
    int64_t rows = 0;
    int64_t previous = 0;
    for (int i = 0; i < 400; ++i) {
        record.BeforeCycle(*run.state_);
        run.engine_.EnterNumber(static_cast<int32_t>(draws() % 37));
        record.AfterCycle(*run.state_);
        const int64_t spins = run.state_->SpinCount;
        if (spins == 0) {
            previous = 0;
            continue;
        }
        const std::string csv = record.Csv();
        const std::string last = csv.substr(csv.rfind('\n', csv.size() - 2) + 1);
        int64_t spin = 0, number = 0, stake = 0, result = 0, balance = 0;
        ASSERT_EQ(std::sscanf(last.c_str(), "%ld,%ld,%ld,%ld,%ld", &spin, &number, &stake, &result,
                              &balance),
                  5);
        ASSERT_EQ(spin, spins);
        ASSERT_EQ(balance, previous + result) << "spin " << i;
        ASSERT_EQ(balance, run.view_.Number(Display::GameBalance).value_or(-1));
        previous = balance;
        rows += stake > 0 ? 1 : 0;
    }
    EXPECT_GT(rows, 100);
}

TEST(GameCsvName, CsvIsAddedOnlyToANameWithoutExtension) {
    EXPECT_EQ(WithCsvExtension("games/today"), "games/today.csv");
    EXPECT_EQ(WithCsvExtension("games.v2/today"), "games.v2/today.csv");
    EXPECT_EQ(WithCsvExtension("today.CSV"), "today.CSV");
    EXPECT_EQ(WithCsvExtension("today.txt"), "today.txt");
}

}  // namespace
}  // namespace orbista

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/sim/sim_run.h"
#include "tests/test_folder.h"

namespace orbista {
namespace {

// The first number after "key: " in the output.
double Value(const std::string& out, const std::string& key) {
    const size_t at = out.find("\n" + key + ": ");
    EXPECT_NE(at, std::string::npos) << key;
    return std::strtod(out.c_str() + at + key.size() + 3, nullptr);
}

TEST(ForecastCommand, TheSameSeedAndScriptGiveTheSameForecastWhoseSharesSumToOne) {
    TestFolder folder;
    folder.Write("game.txt", "5 17 c 0 set:MaxStake=15 23 8");
    const std::string arguments =
        "forecast --seed 3 --continuations 300 --script " + (folder.Path() / "game.txt").string();
    const SimRun first = RunSimulatorProgram(arguments);
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(RunSimulatorProgram(arguments).out, first.out);

    EXPECT_NE(first.out.find("\ncontinuations: 300\nhorizon: 5000\n"), std::string::npos);
    EXPECT_NEAR(
        Value(first.out, "win_stop") + Value(first.out, "loss_stop") + Value(first.out, "open"),
        1.0, 2e-4);
    EXPECT_NE(first.out.find("\nladder: 1 "), std::string::npos);
    EXPECT_NE(first.out.find("\nladder_end: loss_stop\n"), std::string::npos);
}

TEST(ForecastCommand, NoForecastForASystemWithoutBetsAndNoneForABadCount) {
    EXPECT_EQ(RunSimulatorProgram("forecast --system statistics-only").out,
              "forecast: none (the active system places no bets)\n");
    EXPECT_EQ(RunSimulatorProgram("forecast --continuations 0").status, 2);
    EXPECT_EQ(RunSimulatorProgram("--seed 1 forecast").status, 2);
}

}  // namespace
}  // namespace orbista

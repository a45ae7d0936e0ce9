#include "engine_fixture.h"

namespace orbista {
namespace {

TEST_F(EngineTest, CountersKeepTheBetsSettledNotARecommendationAStopTookOff) {
    RecommendFixed({1, 2, 3}, 2);
    Spins({20, 20});  // the first spin settles nothing, the second 3 x 2
    RecommendFixed({4}, 5);
    Spins({20, 20});  // 3 x 2 again, then 5 on one number
    EXPECT_EQ(engine.Counters().spinsWithBets, 3);
    EXPECT_EQ(engine.Counters().unitsStaked, 17);
    EXPECT_EQ(engine.Counters().mostUnitsOnTable, 6);
    EXPECT_EQ(engine.Counters().highestStakeLevel, 5);

    // Above the maximum stake of 20: each time the game ends before the stake is played. The
    // first of these spins still settles the 5 recommended before.
    RecommendFixed({4}, 21);
    Spins({20, 20});
    EXPECT_EQ(engine.Counters().lossStops, 2);
    EXPECT_EQ(engine.Counters().highestStakeLevel, 5);
    EXPECT_EQ(engine.Counters().spinsWithBets, 4);
}

}  // namespace
}  // namespace orbista

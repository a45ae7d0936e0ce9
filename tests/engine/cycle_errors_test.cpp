#include <stdexcept>

#include "engine_fixture.h"
#include "model/errors.h"

namespace orbista {
namespace {

// However a cycle ends, neither the in-progress mark (a playback waits on it) nor a cancel
// request outlives it.
TEST_F(EngineTest, FlagsOfTheCycleAreDownAfterEveryWayItEnds) {
    Spins({3, 4});
    view.system = [] { throw std::logic_error("a system that fails"); };
    EXPECT_THROW(engine.EnterNumber(5), std::logic_error);
    EXPECT_EQ(state.SpinInProgress, 0);
    EXPECT_THROW(engine.CancelSpin(), std::logic_error);
    EXPECT_EQ(state.SpinInProgress, 0);
    EXPECT_EQ(state.UndoRequested, 0);

    view.system = [] { throw FileError("Файл не записан."); };
    engine.CancelSpin();
    EXPECT_EQ(state.SpinInProgress, 0);
    EXPECT_EQ(state.UndoRequested, 0);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "error:Файл не записан.");

    view.system = nullptr;
    engine.EnterNumber(37);
    EXPECT_EQ(state.SpinInProgress, 0);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1], "error:Число 37 не является номером рулетки (0–36).");
}

}  // namespace
}  // namespace orbista

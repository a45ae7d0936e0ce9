#include <array>
#include <cmath>
#include <utility>

#include "systems/progression.h"
#include "systems/shared.h"
#include "systems/systems.h"

namespace orbista {

namespace {

constexpr int32_t GizmoSpins = 5;

// Nearest integer, halves to the even one.
double RoundHalfToEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) {
        return floor + 1;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

// The mark takes a number out of the bet; a mark on a spare entry (37, 38) takes none out.
void UnbetMark(GameState& state, double mark) {
    if (mark >= 0 && mark < StakeArraySize) {
        state.Stakes[static_cast<int32_t>(mark)] = 0;
    }
}

}  // namespace

void SystemGizmo(SelectionContext& context) {
    GameState& state = context.state;
    if (state.SpinCount < GizmoSpins) {
        return;
    }
    double sum = 0;
    for (int32_t k = 1; k <= GizmoSpins; ++k) {
        sum += std::as_const(state.WorkingSeries)[k];
    }
    // The integer part of the average plus one: 1..37 for wheel numbers.
    state.GizmoMark = RoundHalfToEven(sum / GizmoSpins + 0.5001);
    if (state.GizmoMark == state.GizmoPreviousMark) {
        state.GizmoMark += 1;
    }
    if (state.GizmoPreviousMark > 0) {
        state.Stakes.fill(1);
        UnbetMark(state, state.GizmoMark);
        UnbetMark(state, state.GizmoPreviousMark);
    }
    state.GizmoPreviousMark = state.GizmoMark;
}

void SystemChaos(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t count = context.settings.ClampedNumber(Setting::ChaosNumberCount);
    state.SelectedCount = count;
    state.StakeLevel = StakeLevelRuleWithoutBonus(state, count);
    // The draws are remembered apart from the stakes: a stake of 0 (36 numbers) must not make a
    // drawn number look free again, or the drawing would never end.
    std::array<bool, NumberCount> drawn{};
    int32_t placed = 0;
    while (placed < count) {
        const int32_t number = context.random.Random(NumberCount);
        if (!drawn[number]) {
            drawn[number] = true;
            state.Stakes[number] = state.StakeLevel;
            ++placed;
        }
    }
}

}  // namespace orbista

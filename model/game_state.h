#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "model/history.h"

namespace orbista {

constexpr int HistoryShiftLimit = 100000;         // a new spin moves at most indices 0..100000 up
constexpr int KeptSpins = HistoryShiftLimit + 1;  // the newest spins held (indices 1..100001)
constexpr int StakeArraySize = 41;                // 0..36 are the numbers, 37..40 spare entries
constexpr int NumberCount = 37;
constexpr int SpinColumnRows = 1000;
constexpr int SixLineValues = 7;  // six-lines 1..6, and 0 before the first or for a zero spin

using StakeArray = std::array<int32_t, StakeArraySize>;

// Everything the engine knows about the game in progress. Index 1 of every history is the newest
// spin; index 0 is the scratch slot where a cancel leaves the cancelled spin. The four balances
// have no copy here: their store is the text of the window's fields.
struct GameState {
    GameState() : GameState(nullptr) {}
    // blocks: where the per-spin arrays come from and go back to (see ZeroedBlocks); it must
    // outlive the game.
    explicit GameState(ZeroedBlocks* blocks)
        : SpinHistory(blocks),
          CorrectedNumbers(NumberCount, blocks),
          SixLineHistory(SixLineValues, blocks),
          CorrectedSixLines(SixLineValues, blocks),
          BalanceHistory(blocks),
          StakeHistory(blocks),
          WorkingSeries(blocks) {}

    History SpinHistory;
    // The series that are looked back over until some count of distinct values keep their index.
    History CorrectedNumbers;
    History SixLineHistory;
    History CorrectedSixLines;
    History BalanceHistory;
    History StakeHistory;
    History WorkingSeries;

    StakeArray Stakes{};
    StakeArray PreviousStakes{};

    // Wide enough for a game that never restarts.
    int64_t SpinCount = 0;
    int32_t CurrentNumber = 0;
    int32_t UndoRequested = 0;
    // Read by the playback worker while the window's thread runs the cycle.
    std::atomic<int32_t> SpinInProgress = 0;
    int32_t StakeLevel = 0;
    int32_t Deficit = 0;
    double WinBonus = 0.0;
    int32_t SpinsSinceHit = 0;
    int32_t LastWinStake = 0;
    int64_t SelectionDepth = 0;
    int32_t SelectedCount = 0;

    // Per-cycle copies of settings that a system may adjust for the current spin only.
    int32_t MinCoveredCount = 0;
    int32_t MaxProcessedCount = 0;
    int32_t ProgressionSteepness = 0;
    int32_t NormalisationCoefficient = 0;
    int32_t WaitingSpins = 0;

    double GizmoMark = 0.0;
    double GizmoPreviousMark = 0.0;
};

// The six per-spin arrays, in one list so the shifts and resets treat them alike.
std::array<History*, 6> PerSpinArrays(GameState& state);

void ShiftHistoryUp(GameState& state);
void ShiftHistoryDown(GameState& state);

// The six-line of a number: 1 for 1..6, ..., 6 for 31..36, and 0 for zero.
constexpr int32_t SixLineOf(int32_t number) {
    return number <= 0 ? 0 : (number - 1) / 6 + 1;
}

constexpr std::array<int32_t, 18> RedNumbers = {1,  3,  5,  7,  9,  12, 14, 16, 18,
                                                19, 21, 23, 25, 27, 30, 32, 34, 36};

constexpr bool IsRed(int32_t number) {
    for (const int32_t red : RedNumbers) {
        if (red == number) {
            return true;
        }
    }
    return false;
}

// Sum of the stakes on the numbers 0..36 (the spare entries are never bet).
int32_t PlacedStakes(const GameState& state);

}  // namespace orbista

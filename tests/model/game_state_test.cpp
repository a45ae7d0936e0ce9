#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "model/game_state.h"

namespace orbista {
namespace {

void Fill(GameState& state, int32_t base) {
    int i = 0;
    for (History* history : PerSpinArrays(state)) {
        for (int k = 0; k <= KeptSpins + 1; ++k) {
            (*history)[k] = base + 10 * i + k;
        }
        ++i;
    }
}

TEST(HistoryShift, NewSpinMovesEveryArrayUpAndKeepsTheScratchSlot) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 3;
    Fill(*state, 1000);
    ShiftHistoryUp(*state);
    int i = 0;
    for (History* history : PerSpinArrays(*state)) {
        const int32_t base = 1000 + 10 * i++;
        EXPECT_EQ((*history)[0], base);      // index 0 is copied up, not cleared
        EXPECT_EQ((*history)[1], base);      // the new spin starts from the scratch slot
        EXPECT_EQ((*history)[4], base + 3);  // t = SpinCount: k = 3 moved to 4
        EXPECT_EQ((*history)[5], base + 5);  // beyond t nothing moved
    }
}

TEST(HistoryShift, LongGameKeepsTheNewest100001AndWritesNothingBeyond) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 250000;
    for (int k = 0; k <= KeptSpins; ++k) {
        state->SpinHistory[k] = k;
    }
    ShiftHistoryUp(*state);
    EXPECT_EQ(state->SpinHistory[KeptSpins], HistoryShiftLimit);  // index 100000 moved to 100001
    EXPECT_EQ(state->SpinHistory[KeptSpins + 1], 0);              // 100002 never written
    for (int k = KeptSpins + 1; k < HistoryCapacity; ++k) {
        ASSERT_EQ(state->StakeHistory[k], 0);
    }
}

TEST(HistoryShift, CancelLeavesTheSpinAtIndexZeroAndTheOldEndTwice) {
    auto state = std::make_unique<GameState>();
    for (int32_t number : {8, 32, 0}) {
        ++state->SpinCount;
        ShiftHistoryUp(*state);
        state->SpinHistory[1] = number;
    }
    --state->SpinCount;
    ShiftHistoryDown(*state);
    EXPECT_EQ(state->SpinHistory[0], 0);
    EXPECT_EQ(state->SpinHistory[1], 32);
    EXPECT_EQ(state->SpinHistory[2], 8);
    EXPECT_EQ(state->SpinHistory[3], 8);  // the old end is copied down and also left in place

    // The next spin starts from the cancelled spin's entries.
    state->StakeHistory[0] = 77;
    ++state->SpinCount;
    ShiftHistoryUp(*state);
    EXPECT_EQ(state->StakeHistory[1], 77);
}

TEST(HistoryShift, CancelAtTheHistoryLimitReadsNoFurtherThanIndex100002) {
    auto state = std::make_unique<GameState>();
    state->SpinCount = 200000;
    state->SpinHistory[KeptSpins] = 5;
    state->SpinHistory[KeptSpins + 1] = 0;
    ShiftHistoryDown(*state);
    EXPECT_EQ(state->SpinHistory[HistoryShiftLimit], 5);
    EXPECT_EQ(state->SpinHistory[KeptSpins], 5);  // left in place: present twice
}

// The shifts as plain moves over a plain array: what History must stay equal to.
struct PlainHistory {
    std::vector<int32_t> a = std::vector<int32_t>(HistoryCapacity, 0);
    void ShiftUp(int32_t last) { std::memmove(&a[1], &a[0], sizeof(int32_t) * (last + 1)); }
    void ShiftDown(int32_t last) { std::memmove(&a[0], &a[1], sizeof(int32_t) * last); }
};

void ExpectSameEntries(const History& history, const PlainHistory& plain, int step) {
    for (int32_t k = 0; k < HistoryCapacity; ++k) {
        ASSERT_EQ(history[k], plain.a[k]) << "index " << k << " after step " << step;
    }
    for (int32_t k = history.WrittenEnd() + 1; k < HistoryCapacity; ++k) {
        ASSERT_EQ(plain.a[k], 0) << "index " << k << " past the written end, step " << step;
    }
}

// Games that grow, are cancelled, are cleared, restart short after a long game and run past the
// history's length, through several moves of the live part back to the middle of its buffer.
TEST(HistoryShift, MatchesPlainMovesOverLongMixedGames) {
    auto history = std::make_unique<History>();
    PlainHistory plain;
    std::mt19937 random(5);
    // A history whose live part lies elsewhere in its buffer, to copy entries from.
    auto source = std::make_unique<History>();
    for (int32_t k = 0; k < 300; ++k) {
        source->ShiftUp(k);
        (*source)[1] = k + 1;
    }
    int32_t count = 0;
    const int steps = 3 * History::ShiftsBetweenRecentres;
    for (int step = 1; step <= steps; ++step) {
        const uint32_t dice = random() % 1000;
        if (dice < 30 && count > 0) {
            --count;
            const int32_t last = std::min(count, HistoryShiftLimit) + 1;
            history->ShiftDown(last);
            plain.ShiftDown(last);
        } else if (dice < 31) {
            count = static_cast<int32_t>(random() % 3);  // a new game keeps the old game's tail
        } else if (dice < 32) {
            count = HistoryShiftLimit - 2 + static_cast<int32_t>(random() % 10);
        } else {
            ++count;
            const int32_t last = std::min(count, HistoryShiftLimit);
            history->ShiftUp(last);
            plain.ShiftUp(last);
            const int32_t value = static_cast<int32_t>(random() % 37) + 1;
            (*history)[1] = value;
            plain.a[1] = value;
        }
        if (dice % 97 == 0) {
            const int32_t k = static_cast<int32_t>(random() % HistoryCapacity);
            (*history)[k] = step;
            plain.a[k] = step;
        }
        if (dice == 500) {
            history->CopyEntries(*source, 1, 400);
            for (int32_t k = 1; k <= 400; ++k) {
                plain.a[k] = (*source)[k];
            }
        }
        if (dice == 501) {
            // A restart clears the old game, from index 0 or 1, past the live part or not.
            const auto first = static_cast<int32_t>(random() % 2);
            const auto last = static_cast<int32_t>(random() % (count + 3));
            history->ClearEntries(first, last);
            std::fill(plain.a.begin() + first, plain.a.begin() + last + 1, 0);
        }
        const int32_t probe = static_cast<int32_t>(random() % HistoryCapacity);
        ASSERT_EQ(std::as_const(*history)[probe], plain.a[probe]) << "step " << step;
        const int32_t unwritten = history->WrittenEnd() + 1;
        if (unwritten < HistoryCapacity) {
            ASSERT_EQ(plain.a[unwritten], 0) << "step " << step;
        }
        if (step % 50000 == 0) {
            ExpectSameEntries(*history, plain, step);
        }
        if (dice == 7) {
            // A walk reads what indexing reads, across the live part's end, and stops when told.
            const int32_t first = static_cast<int32_t>(random() % 200);
            const int32_t last = std::min(first + 150 + count, HistoryCapacity - 1);
            int32_t next = first;
            history->Walk(first, last, [&](int32_t k, int32_t entry) {
                EXPECT_EQ(k, next++);
                EXPECT_EQ(entry, plain.a[k]) << "step " << step << " entry " << k;
                return k < last - 3;
            });
            ASSERT_EQ(next, std::max(first, last - 2)) << "step " << step;
        }
    }
    ExpectSameEntries(*history, plain, steps);
}

// A game gives its arrays back to the blocks it took them from, zeroed over all it wrote in every
// way it writes (a long game past a move of the live part, cancels, a far index, a restart, a
// copy), and the next game takes those same arrays.
TEST(ZeroedBlocksTest, AGameGivesItsArraysBackAllZeroForTheNext) {
    ZeroedBlocks blocks;
    {
        History source;
        source[3] = 4;
        History history(&blocks);
        for (int32_t k = 0; k < History::ShiftsBetweenRecentres + 300; ++k) {
            history.ShiftUp(std::min(k, HistoryShiftLimit));
            history[1] = k % NumberCount + 1;
            if (k % 1000 == 999) {
                history.ShiftDown(std::min(k, HistoryShiftLimit) + 1);
            }
        }
        history[HistoryCapacity - 1] = 9;
        history.ClearEntries(1, HistoryCapacity - 1);  // a restart
        history.CopyEntries(source, 1, 500);
    }
    EXPECT_EQ(blocks.Free(), 2u);
    const ZeroedEntries live(History::ShiftsBetweenRecentres + HistoryCapacity, &blocks);
    const ZeroedEntries pinned(HistoryCapacity, &blocks);
    EXPECT_EQ(blocks.Free(), 0u);
    const auto zero = [](int32_t entry) { return entry == 0; };
    EXPECT_TRUE(std::all_of(live.data(), live.data() + live.size(), zero));
    EXPECT_TRUE(std::all_of(pinned.data(), pinned.data() + pinned.size(), zero));
}

}  // namespace
}  // namespace orbista

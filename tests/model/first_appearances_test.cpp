#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "model/first_appearances.h"
#include "model/game_state.h"

namespace orbista {
namespace {

// The first appearances in entries 2..last of a plain array, read one by one.
std::vector<std::pair<int32_t, int32_t>> PlainFirstAppearances(const std::vector<int32_t>& a,
                                                               int32_t last) {
    std::vector<std::pair<int32_t, int32_t>> found;
    std::vector<bool> seen(RecentValues::MostValues, false);
    for (int32_t k = 2; k <= last; ++k) {
        if (!seen[a[k]]) {
            seen[a[k]] = true;
            found.emplace_back(a[k], k);
        }
    }
    return found;
}

void ExpectSameAppearances(const History& history, const std::vector<int32_t>& plain, int32_t last,
                           int step) {
    ASSERT_NE(history.Recent(), nullptr) << "step " << step;
    const auto want = PlainFirstAppearances(plain, last);
    for (const int32_t most : {4, 26, RecentValues::MostValues}) {
        FirstAppearances got;
        got.Find(history, last, most);
        const auto count = std::min<size_t>(want.size(), most);
        ASSERT_EQ(got.Count(), count) << "step " << step << " last " << last << " most " << most;
        for (int32_t i = 0; i < got.Count(); ++i) {
            ASSERT_EQ(got.ValueAt(i), want[i].first) << "step " << step << " rank " << i;
            ASSERT_EQ(got.IndexAt(i), want[i].second) << "step " << step << " rank " << i;
            ASSERT_EQ(got.PositionOf(want[i].first), i) << "step " << step;
        }
        got.KeepFirst(got.Count() / 2);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(got.Has(want[i].first), i < count / 2) << "step " << step << " rank " << i;
        }
    }
}

// Games of one value, of a few values in turn and of random values, as the cycle plays them:
// shifts up and cancels (in bursts), new games that clear the first thousand entries or the whole
// game, a series copied over the newest hundred entries at every step for a while, a game past the
// history's length, and now and then an entry written in place. The copied series moves alike, as
// the corrected six-lines move with the six-line history. The index must give what a walk over the
// entries gives.
void CheckIndexAgainstWalk(int32_t values, uint32_t seed) {
    auto history = std::make_unique<History>(values);
    auto source = std::make_unique<History>(values);
    std::vector<int32_t> plain(HistoryCapacity, 0);
    std::mt19937 random(seed);
    int32_t count = 0;
    int32_t distinctInTurn = 1;
    bool copying = true;
    for (int step = 1; step <= 250000; ++step) {
        if (step % 20000 == 1) {
            distinctInTurn = std::array{1, 2, 5, values}[random() % 4];
        }
        const uint32_t dice = random() % 10000;
        if (dice < 20 && count > 0) {
            for (uint32_t burst = 1 + random() % 40; burst > 0 && count > 0; --burst) {
                --count;
                const int32_t last = std::min(count, HistoryShiftLimit) + 1;
                history->ShiftDown(last);
                source->ShiftDown(last);
                std::memmove(&plain[0], &plain[1], sizeof(int32_t) * last);
            }
        } else if (dice < 22) {
            const int32_t last = std::min(count, dice == 20 ? 1000 : HistoryShiftLimit) + 1;
            history->ClearEntries(0, last);
            source->ClearEntries(0, last);
            std::fill(plain.begin(), plain.begin() + last + 1, 0);
            count = 0;
        } else if (dice < 23) {
            count = HistoryShiftLimit - 2 + static_cast<int32_t>(random() % 10);
        } else {
            ++count;
            const int32_t last = std::min(count, HistoryShiftLimit);
            history->ShiftUp(last);
            std::memmove(&plain[1], &plain[0], sizeof(int32_t) * (last + 1));
            source->ShiftUp(last);
            const auto value = static_cast<int32_t>(step % distinctInTurn + random() % 2) % values;
            (*history)[1] = value;
            plain[1] = value;
            (*source)[1] = (value + static_cast<int32_t>(random() % 2)) % values;
        }
        if (dice == 30) {
            (*source)[1 + random() % 99] = static_cast<int32_t>(random() % values);
        }
        copying = copying != (dice == 50);
        if (copying) {
            history->CopyEntries(*source, 1, 100);
            for (int32_t k = 1; k <= 100; ++k) {
                plain[k] = std::as_const(*source)[k];
            }
        }
        if (dice == 40) {
            const auto k = static_cast<int32_t>(random() % HistoryCapacity);
            (*history)[k] = static_cast<int32_t>(random() % values);
            plain[k] = std::as_const(*history)[k];
        }
        if (step % 211 == 0 || dice < 23) {
            ExpectSameAppearances(*history, plain, history->RecentEnd(), step);
            const auto last = static_cast<int32_t>(2 + random() % (KeptSpins + 1));
            ExpectSameAppearances(*history, plain, last, step);
        }
    }
}

TEST(FirstAppearances, IndexGivesWhatAWalkOverTheEntriesGives) {
    CheckIndexAgainstWalk(NumberCount, 11);
    CheckIndexAgainstWalk(SixLineValues, 12);
}

}  // namespace
}  // namespace orbista

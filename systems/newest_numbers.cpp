#include <algorithm>
#include <array>
#include <cassert>

#include "systems/progression.h"
#include "systems/shared.h"
#include "systems/systems.h"

namespace orbista {

void SystemWithoutSelection(SelectionContext& context) {
    GameState& state = context.state;
    const History& series = state.WorkingSeries;
    const int64_t n = state.SpinCount;
    const int32_t readable = ReadableEnd(n);
    DistinctValues seen;
    int32_t next = 1;  // the ordinal of the next distinct number to find
    int64_t walked = 0;
    while (state.MaxProcessedCount >= next) {
        if (walked >= n) {
            break;
        }
        // The rest of the game holds nothing new: beyond the readable end, or only zeros left
        // with 0 already seen.
        if (walked >= readable || (walked >= series.WrittenEnd() && seen.HasNumber(0))) {
            walked = n;
            break;
        }
        ++walked;
        if (seen.AddIfNew(series[static_cast<int32_t>(walked)])) {
            state.SelectedCount = next;
            ++next;
        }
    }
    state.SelectionDepth = walked;
    if (next - 1 < state.MinCoveredCount) {
        state.SelectionDepth = 0;
        state.SelectedCount = 0;
    }
    CheckFileText& file = context.checkFiles.NewCheckFileText();
    file.Line(walked);
    context.checkFiles.WriteCheckFile(SelectionCheckFileName, file.Text());
    state.StakeLevel = StakeLevelRule(state, state.SelectedCount);
    BetNewestEntries(state, state.SelectionDepth);
}

void PrepareSystemWaiting(SelectionContext& context) {
    GameState& state = context.state;
    state.WaitingSpins = context.settings.ClampedNumber(Setting::WaitingSpins);
    state.MaxProcessedCount += state.WaitingSpins;
    // After a win, or after a cycle that placed nothing, the run without repeats has to be longer.
    if (state.LastWinStake != 0 || state.StakeLevel == 0) {
        state.MinCoveredCount += state.WaitingSpins;
    }
}

namespace {

struct WaitingWalk {
    int64_t length = 0;
    bool reachedEnd = false;
};

// Looks back until count distinct values are seen; the walk stops at the oldest spin of the
// game at the latest, which ends the system's candidates. The system asks for the counts 1, 2,
// ... in turn, and each walk passes the entries of the one before, so the walk goes on from where
// it stopped, judging the entry it stopped at again against the new count.
class DistinctWalk {
  public:
    DistinctWalk(const History& series, int64_t n)
        : series_(series), n_(n), readable_(ReadableEnd(n)) {}

    WaitingWalk Until(int32_t count) {
        while (!walk_.reachedEnd) {
            if (walk_.length > 0 && StopsAt(count)) {
                break;
            }
            ++walk_.length;
            seen_.AddIfNew(series_[static_cast<int32_t>(walk_.length)]);
        }
        return walk_;
    }

  private:
    bool StopsAt(int32_t count) {
        if (walk_.length >= n_) {
            walk_.reachedEnd = true;
            return true;
        }
        if (seen_.Count() >= count) {
            return true;
        }
        // Nothing new further back (beyond the readable end, or only zeros with 0 already seen):
        // the walk would run to the oldest spin.
        if (walk_.length >= readable_ ||
            (walk_.length >= series_.WrittenEnd() && seen_.HasNumber(0))) {
            walk_.length = n_;
            walk_.reachedEnd = true;
            return true;
        }
        return false;
    }

    const History& series_;
    int64_t n_;
    int32_t readable_;
    DistinctValues seen_;
    WaitingWalk walk_;
};

}  // namespace

void SystemWaiting(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t waiting = state.WaitingSpins;
    state.SelectionDepth = 0;
    if (state.SpinCount >= 1) {
        bool reachedEnd = false;
        DistinctWalk distinctWalk(state.WorkingSeries, state.SpinCount);
        for (int32_t m = 1; m <= state.MaxProcessedCount && !reachedEnd; ++m) {
            const WaitingWalk walk = distinctWalk.Until(m);
            reachedEnd = walk.reachedEnd;
            if (walk.length == m) {
                state.SelectionDepth = m - waiting;
                if (state.MinCoveredCount > m) {
                    state.SelectionDepth = 0;
                    state.SelectedCount = 0;
                }
            }
        }
    }
    state.StakeLevel = 0;
    if (state.SelectionDepth > 0) {
        state.StakeLevel = StakeLevelRule(state, static_cast<int32_t>(state.SelectionDepth));
    }
    BetNewestEntries(state, state.SelectionDepth);
}

namespace {

// The favourites' window is short (80 entries at most, the bound of its setting), and the count of
// repeats reads each of its entries many times: they are read once into a plain array, where
// History's operator[] would ask at every read which of its arrays holds the entry.
constexpr int32_t LongestFavouritesWindow = 127;

}  // namespace

void SystemFavourites(SelectionContext& context) {
    GameState& state = context.state;
    const History& series = state.WorkingSeries;
    const int32_t wanted = context.settings.ClampedNumber(Setting::FavouritesCount);
    const int32_t threshold = context.settings.ClampedNumber(Setting::FavouritesRepeatThreshold);
    const auto window = static_cast<int32_t>(std::min<int64_t>(
        context.settings.ClampedNumber(Setting::FavouritesWindow), state.SpinCount));

    std::array<bool, NumberCount> marked{};
    int32_t remaining = wanted;
    int32_t start = 1;
    if (context.settings.Flag(Setting::FavouritesBetLast)) {
        if (IsWheelNumber(series[1])) {
            marked[series[1]] = true;
        }
        remaining = wanted - 1;
        start = 2;
    }
    assert(window <= LongestFavouritesWindow);
    std::array<int32_t, LongestFavouritesWindow + 1> entries{};
    series.Walk(1, window, [&entries](int32_t k, int32_t value) {
        entries[k] = value;
        return true;
    });
    // Meeting each number first at its newest appearance takes the favourites in the order in
    // which they last came.
    for (int32_t i = start; i <= window && remaining > 0; ++i) {
        const int32_t number = entries[i];
        if (!IsWheelNumber(number) || marked[number]) {
            continue;
        }
        int32_t repeats = 0;
        for (int32_t k = i + 1; k <= window; ++k) {
            repeats += entries[k] == number ? 1 : 0;
        }
        if (repeats >= threshold - 1) {
            marked[number] = true;
            --remaining;
        }
    }
    state.StakeLevel = StakeLevelRule(state, wanted - remaining);
    for (int32_t number = 0; number < NumberCount; ++number) {
        if (marked[number]) {
            state.Stakes[number] = state.StakeLevel;
        }
    }
}

}  // namespace orbista

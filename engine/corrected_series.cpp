#include "engine/corrected_series.h"

#include <array>
#include <utility>

namespace orbista {

namespace {

constexpr int NumberWindowDistinct = 26;
constexpr int SixLineWindowDistinct = 4;
constexpr int WalkEnd = KeptSpins;  // 100001: the end of the stored history

// Which values stand in a window of a series, and how often: a draw is free of the window exactly
// when its value is not there, so that is known at once, and the window is searched entry by entry
// only for where a draw that is taken stands.
template <int ValueCount>
class WindowValues {
  public:
    void Add(int32_t value) {
        if (value >= 0 && value < ValueCount) {
            ++count_[value];
        }
    }
    bool Has(int32_t value) const { return value >= 0 && value < ValueCount && count_[value] > 0; }

  private:
    std::array<int32_t, ValueCount> count_{};
};

// The newest entries that hold 26 distinct values, counting the copied-in X[1]; near the start of
// the game the walk stops at the first empty entry past the game's spins. Entries 2..r of the
// window go into values.
int NumberWindow(const History& x, int64_t spinCount, WindowValues<NumberCount>& values) {
    std::array<bool, NumberCount> seen{};
    int distinct = 1;
    int r = 0;
    x.Walk(1, WalkEnd, [&](int32_t k, int32_t next) {
        if (distinct > NumberWindowDistinct || (r >= spinCount && next == 0)) {
            return false;
        }
        if (!seen[next]) {
            seen[next] = true;
            ++distinct;
        }
        if (k >= 2) {
            values.Add(next);
        }
        r = k;
        return true;
    });
    return r;
}

// The first of entries from..last that holds value, or 0 when none does.
int FindFrom(const History& x, int from, int last, int32_t value) {
    int found = 0;
    x.Walk(from, last, [&](int32_t k, int32_t entry) {
        found = entry == value ? k : 0;
        return found == 0;
    });
    return found;
}

// The draw goes through entries 2..r in passes: at every entry that holds the value drawn so far,
// it draws again and goes on with the entries after it; a pass that drew starts another from 2.
// The passes end when the value is in none of the entries, and only then.
void CorrectNumber(GameState& state, RandomGenerator& random) {
    const History& x = state.CorrectedNumbers;
    WindowValues<NumberCount> window;
    const int r = NumberWindow(x, state.SpinCount, window);
    int32_t newest = random.Random(NumberCount);
    int from = 2;
    while (window.Has(newest)) {
        const int at = FindFrom(x, from, r, newest);
        if (at == 0) {
            from = 2;  // the pass has drawn before this value, so another pass follows
            continue;
        }
        newest = random.Random(NumberCount);
        from = at + 1;
    }
    if (window.Has(state.CurrentNumber)) {
        newest = state.CurrentNumber;
    }
    state.CorrectedNumbers[1] = newest;
}

// Unlike the number walk, this one counts the game's end at r = c and its range reaches one entry
// past the window.
int SixLineWindow(const History& z, int64_t spinCount) {
    std::array<bool, 8> seen{};
    int distinct = 1;
    int r = 0;
    z.Walk(1, WalkEnd, [&](int32_t k, int32_t value) {
        r = k;
        if (r >= spinCount) {
            distinct = 30;
        }
        if (value >= 0 && value < 8 && !seen[value]) {
            seen[value] = true;
            ++distinct;
        }
        return distinct <= SixLineWindowDistinct;
    });
    return r;
}

// Here a pass that draws starts again from entry 2 at once, so the draws go on exactly while the
// value drawn stands anywhere in the range.
void CorrectSixLine(GameState& state, RandomGenerator& random) {
    const History& z = state.CorrectedSixLines;
    const int r = SixLineWindow(z, state.SpinCount);
    WindowValues<8> range;  // six-lines are 1..6, and 0 before the first
    z.Walk(2, r + 1, [&range](int32_t, int32_t value) {
        range.Add(value);
        return true;
    });
    int32_t newest = random.Random(6) + 1;
    while (range.Has(newest)) {
        newest = random.Random(6) + 1;
    }
    const int32_t real = std::as_const(state.SixLineHistory)[1];
    if (range.Has(real)) {
        newest = real;
    }
    state.CorrectedSixLines[1] = newest;
}

}  // namespace

void CorrectSeries(GameState& state, RandomGenerator& random) {
    CorrectNumber(state, random);
    CorrectSixLine(state, random);
}

}  // namespace orbista

#include "engine/corrected_series.h"

#include <algorithm>
#include <utility>

#include "model/first_appearances.h"

namespace orbista {

namespace {

constexpr int NumberWindowDistinct = 26;
constexpr int SixLineWindowDistinct = 4;
constexpr int WalkEnd = KeptSpins;  // 100001: the end of the stored history

int32_t GameEnd(int64_t spinCount) {
    return static_cast<int32_t>(std::min<int64_t>(spinCount, WalkEnd));
}

// The n-th value of the list other than value: the n-th, or the one after it when value comes
// before that; -1 when the list is too short.
int32_t NthOtherThan(const FirstAppearances& values, int32_t n, int32_t value) {
    const int32_t at = values.PositionOf(value) < n ? n : n - 1;
    return at < values.Count() ? at : -1;
}

// The newest entries X[1..r] that hold 26 distinct values, counting the copied-in X[1]. The values
// of X[2..] in the order in which they first come give the end at once: the 25th of them other
// than X[1]. Only a game of fewer distinct numbers reaches its oldest spin, and then goes on past
// it over the entries that cancels left there, up to the first empty one; those are few and are
// read one by one. On return, range holds the values of X[2..r].
int NumberWindow(const History& x, int64_t spinCount, FirstAppearances& range) {
    const int32_t newest = x[1];
    const int32_t gameEnd = GameEnd(spinCount);
    range.Find(x, gameEnd, NumberWindowDistinct);
    if (const int32_t closing = NthOtherThan(range, NumberWindowDistinct - 1, newest);
        closing >= 0) {
        range.KeepFirst(closing + 1);
        return range.IndexAt(closing);
    }
    int distinct = 1 + range.Count() - (range.Has(newest) ? 1 : 0);
    int32_t r = gameEnd;
    while (distinct < NumberWindowDistinct && r < WalkEnd && x[r + 1] != 0) {
        ++r;
        const int32_t value = x[r];
        if (!range.Has(value)) {
            range.Add(value, r);
            distinct += value != newest ? 1 : 0;
        }
    }
    return r;
}

// The draw goes through entries 2..r in passes: at every entry that holds the value drawn so far,
// it draws again and goes on with the entries after it; a pass that drew starts another from 2.
// So a value is drawn again exactly when it stands anywhere in the range, whichever entry holds it.
void CorrectNumber(GameState& state, RandomGenerator& random, FirstAppearances& range) {
    NumberWindow(state.CorrectedNumbers, state.SpinCount, range);
    int32_t newest = random.Random(NumberCount);
    while (range.Has(newest)) {
        newest = random.Random(NumberCount);
    }
    if (range.Has(state.CurrentNumber)) {
        newest = state.CurrentNumber;
    }
    state.CorrectedNumbers[1] = newest;
}

// Unlike the number window, this one ends at the game's oldest spin (r = c) and its range reaches
// one entry past it: range gets the values of Z[2..r+1]. The end is the third value of Z[2..]
// other than the copied-in Z[1].
int SixLineWindow(const History& z, int64_t spinCount, FirstAppearances& range) {
    int32_t r = GameEnd(spinCount);
    range.Find(z, r, SixLineWindowDistinct);
    if (const int32_t closing = NthOtherThan(range, SixLineWindowDistinct - 1, z[1]);
        closing >= 0) {
        range.KeepFirst(closing + 1);
        r = range.IndexAt(closing);
    }
    range.Add(z[r + 1], r + 1);
    return r;
}

// Here a pass that draws starts again from entry 2 at once, so the draws go on exactly while the
// value drawn stands anywhere in the range.
void CorrectSixLine(GameState& state, RandomGenerator& random, FirstAppearances& range) {
    SixLineWindow(state.CorrectedSixLines, state.SpinCount, range);
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
    SeriesCorrector().Correct(state, random);
}

void SeriesCorrector::Correct(GameState& state, RandomGenerator& random) {
    CorrectNumber(state, random, numberRange_);
    CorrectSixLine(state, random, sixLineRange_);
}

}  // namespace orbista

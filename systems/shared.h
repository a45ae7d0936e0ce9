#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "model/game_state.h"

namespace orbista {

// The last index of a history that a walk may read: every array holds 0 from here on, so a walk
// that gets this far has met a 0 and can meet no other value further back.
inline constexpr int32_t LastReadableIndex = KeptSpins + 1;

// How far back a walk over a game of n spins can actually read.
constexpr int32_t ReadableEnd(int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, LastReadableIndex));
}

constexpr bool IsWheelNumber(int32_t value) {
    return value >= 0 && value < NumberCount;
}

// The single-zero wheel from 0, position 0 to 36; position 36 is followed by position 0.
inline constexpr std::array<int32_t, NumberCount> WheelOrder = {
    0, 32, 15, 19, 4, 21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8, 23, 10,
    5, 24, 16, 33, 1, 20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3, 26};

// The table: position p holds number p.
inline constexpr std::array<int32_t, NumberCount> TableOrder = [] {
    std::array<int32_t, NumberCount> order{};
    for (int32_t p = 0; p < NumberCount; ++p) {
        order[p] = p;
    }
    return order;
}();

using Layout = std::array<int32_t, NumberCount>;

// Any position brought onto the layout: 37 is position 0 again, -1 is position 36.
constexpr int32_t WrapPosition(int32_t position) {
    const int32_t wrapped = position % NumberCount;
    return wrapped < 0 ? wrapped + NumberCount : wrapped;
}

constexpr int32_t SixLineCount = 6;

// The six numbers of six-line 1..6 (1-6, 7-12, ..., 31-36).
constexpr std::array<int32_t, 6> SixLineNumbers(int32_t sixLine) {
    std::array<int32_t, 6> numbers{};
    for (int32_t i = 0; i < 6; ++i) {
        numbers[i] = (sixLine - 1) * 6 + 1 + i;
    }
    return numbers;
}

// Tells whether a value comes up for the first time in a walk. Values of the wheel are kept in a
// table; anything else a damaged history might hold is remembered in a short list, and once that
// is full it counts as seen, so a walk over bad data stays finite and never indexes outside.
class DistinctValues {
  public:
    bool AddIfNew(int32_t value) {
        if (!IsWheelNumber(value)) {
            return AddOtherIfNew(value);
        }
        if (wheel_[value]) {
            return false;
        }
        wheel_[value] = true;
        ++count_;
        return true;
    }
    int32_t Count() const { return count_; }
    // Whether a number of the wheel has been seen.
    bool HasNumber(int32_t number) const { return wheel_[number]; }

  private:
    bool AddOtherIfNew(int32_t value);

    std::array<bool, NumberCount> wheel_{};
    std::array<int32_t, 16> others_{};
    int32_t otherCount_ = 0;
    int32_t count_ = 0;
};

// How far the distinct count may spread around its expectation, by candidate count 1..24: the
// unit in which "Игра с выборкой" measures an excess of distinct numbers.
inline constexpr std::array<double, 24> DistinctSpreadTable = {
    0.1622, 0.3177, 0.467,  0.61,  0.7471, 0.8784, 1.0042, 1.1246, 1.2398, 1.3499, 1.4552, 1.5557,
    1.6517, 1.7433, 1.8307, 1.914, 1.9932, 2.0687, 2.1404, 2.2086, 2.2733, 2.3347, 2.3928, 2.4479};

struct Lookback {
    int64_t length = 0;      // j: the newest entries that hold the wanted distinct values
    bool exhausted = false;  // the game ran out first; length is then n + 1
    int32_t zeros = 0;       // the six-line walk: 1 when a zero spin was met, else 0
};

// How many of the newest entries of series (index 1 newest, n entries in the game) it takes to
// see a distinct values.
Lookback DistinctLookback(const History& series, int64_t n, int32_t a);

// The same walk over the six-line series, where a zero spin is no six-line: the first 0 is
// counted apart (zeros = 1) and further 0s are repeats of it.
Lookback SixLineLookback(const History& series, int64_t n, int32_t a);

// The look-back of DistinctLookback or SixLineLookback for a rising count of distinct values. A
// scan over the counts 1, 2, ... asks each in turn, and the walk for a + 1 passes the same
// entries as the walk for a before going on, so it goes on from where that one stopped and the
// whole scan reads each entry once. Past the series' written end every entry is 0, so once the
// walk gets there with 0 already seen it knows that the game runs out without reading further.
class LookbackWalk {
  public:
    LookbackWalk(const History& series, int64_t n, bool sixLines);
    // a: at least the count of the previous call.
    Lookback Until(int32_t a);

  private:
    // A walk of a game of few numbers can go on for tens of thousands of entries that bring
    // nothing new; after this many in a row it passes over the rest of them at once.
    static constexpr int32_t RepeatsBeforeSkipping = 32;

    void Step();
    // Nothing further back can bring a new value: only zeros are left, and 0 is no news.
    bool OnlyRepeatsLeft() const;
    void RunOut();
    // Moves the walk past the written entries that follow and bring nothing new: the steps over
    // them would change nothing but the length.
    void SkipRepeats();
    // Where the first entry past the walk that brings something new stands, as the series' index
    // tells; one past the index's end when none there does.
    int32_t NextNewsFromIndex(const RecentValues& recent) const;
    bool IsNews(int32_t value) const;

    const History& series_;
    int64_t n_;
    int32_t end_;
    bool zeroApart_;
    DistinctValues seen_;
    int32_t distinct_ = 0;
    int32_t repeatsInARow_ = 0;
    Lookback result_;
};

// The expected number of distinct values among j independent draws of m equally likely values.
// The power is built by repeated multiplication, multiplying before dividing, as the program has
// always computed it, so that thresholds compare exactly as before.
inline double ExpectedDistinct(int32_t j, int32_t m);

// ExpectedDistinct(j, m) for j = 0, 1, ... up to the first j whose power no longer changes (the
// smallest value a double holds): every later j gives that same value.
std::vector<double> ExpectedDistinctTable(int32_t m);
// ExpectedDistinct for any m, its power multiplied out at every call.
double ExpectedDistinctByPower(int32_t j, int32_t m);

// The look-backs ask for the same two kinds of draw many times a spin, and a power near the end of
// a long game takes tens of thousands of multiplications: each table is built once, at the start,
// and never changes.
inline const std::vector<double> ExpectedSixLines = ExpectedDistinctTable(SixLineCount);
inline const std::vector<double> ExpectedNumbers = ExpectedDistinctTable(NumberCount);

inline double ExpectedDistinct(int32_t j, int32_t m) {
    if (m != SixLineCount && m != NumberCount) {
        return ExpectedDistinctByPower(j, m);
    }
    const std::vector<double>& expected = m == SixLineCount ? ExpectedSixLines : ExpectedNumbers;
    return expected[std::min(static_cast<size_t>(std::max(j, 0)), expected.size() - 1)];
}

// Calls visit(entry) for the newest depth entries of series that a walk can read. A bet reaching
// far past the series' written end, in a long game of few distinct values, would visit its zeros
// one by one: they are visited once, which is the same for a visit that an entry seen again
// leaves as it was (a stake set, a number excluded).
template <typename Visit>
void VisitNewestEntries(const History& series, int64_t depth, Visit visit) {
    const int32_t last = ReadableEnd(depth);
    const int32_t written = std::min(last, series.WrittenEnd());
    series.Walk(1, written, [&visit](int32_t, int32_t entry) {
        visit(entry);
        return true;
    });
    if (last > written) {
        visit(0);
    }
}

// StakeLevel on each number among the newest depth entries of WorkingSeries.
void BetNewestEntries(GameState& state, int64_t depth);

// StakeLevel on each number of a six-line.
void BetSixLine(GameState& state, int32_t sixLine);

// The walk's steps are many per spin and each does little: they are defined here so that a scan
// inlines them.
inline Lookback LookbackWalk::Until(int32_t a) {
    while (distinct_ < a && !result_.exhausted) {
        if (OnlyRepeatsLeft()) {
            RunOut();
        } else {
            Step();
        }
    }
    return result_;
}

inline void LookbackWalk::Step() {
    ++result_.length;
    if (result_.length > end_) {
        result_.length = n_ + 1;
        result_.exhausted = true;
        return;
    }
    const int32_t value = series_[static_cast<int32_t>(result_.length)];
    if (zeroApart_ && value == 0) {
        result_.zeros = 1;
        return;
    }
    if (seen_.AddIfNew(value)) {
        ++distinct_;
        repeatsInARow_ = 0;
    } else if (++repeatsInARow_ == RepeatsBeforeSkipping) {
        SkipRepeats();
        repeatsInARow_ = 0;
    }
}

inline bool LookbackWalk::OnlyRepeatsLeft() const {
    return result_.length >= series_.WrittenEnd() && (zeroApart_ || seen_.HasNumber(0));
}

}  // namespace orbista

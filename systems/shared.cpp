#include "systems/shared.h"

#include <vector>

namespace orbista {

bool DistinctValues::AddOtherIfNew(int32_t value) {
    for (int32_t i = 0; i < otherCount_; ++i) {
        if (others_[i] == value) {
            return false;
        }
    }
    if (otherCount_ == static_cast<int32_t>(others_.size())) {
        return false;
    }
    others_[otherCount_++] = value;
    ++count_;
    return true;
}

// Nothing beyond the readable end can bring a new value (see LastReadableIndex), so running out
// there is running out of the game.
LookbackWalk::LookbackWalk(const History& series, int64_t n, bool sixLines)
    : series_(series), n_(n), end_(ReadableEnd(n)), zeroApart_(sixLines) {
    if (sixLines && series.Recent() != nullptr) {
        indexed_.emplace(series, n);
    }
}

// Entry 1 first, then the other values in the order in which they first come: the first zero is
// where the zero spins start, every other value a six-line met for the first time.
SixLinesInOrder::SixLinesInOrder(const History& series, int64_t n) : n_(n) {
    const int32_t end = ReadableEnd(n);
    if (end < 1) {
        return;
    }
    const int32_t newest = series[1];
    Meet(newest, 1);
    FirstAppearances rest;
    rest.Find(series, end, FirstAppearances::MostValues);
    for (int32_t i = 0; i < rest.Count(); ++i) {
        if (rest.ValueAt(i) != newest) {
            Meet(rest.ValueAt(i), rest.IndexAt(i));
        }
    }
}

void SixLinesInOrder::Meet(int32_t value, int32_t index) {
    if (value != 0) {
        at_[count_++] = index;
    } else if (firstZero_ == 0) {
        firstZero_ = index;
    }
}

// What the walk from the newest entry leaves: the a-th six-line's entry, and whether a zero spin
// came before it; or, when there are fewer six-lines, the game's end, and whether it held a zero.
Lookback SixLinesInOrder::Until(int32_t a) const {
    if (a <= 0) {
        return {};
    }
    if (a > count_) {
        return {.length = n_ + 1, .exhausted = true, .zeros = firstZero_ != 0 ? 1 : 0};
    }
    const int32_t length = at_[a - 1];
    return {.length = length, .zeros = firstZero_ != 0 && firstZero_ < length ? 1 : 0};
}

// What the steps over the zeros up to the readable end would have left.
void LookbackWalk::RunOut() {
    if (zeroApart_ && result_.length < end_) {
        result_.zeros = 1;
    }
    result_.length = n_ + 1;
    result_.exhausted = true;
}

// Up to the written end no entry can be the end of the game's readable part (end_) that a step
// would stop at, nor the point where only zeros are left, so only what an entry brings decides.
void LookbackWalk::SkipRepeats() {
    const int32_t last = std::min(end_, series_.WrittenEnd());
    // A zero of the six-line walk is news only until the first one; the rest of the values are
    // news when they are no number already seen (or no number at all, which Step judges).
    const bool zeroIsNews = zeroApart_ && result_.zeros == 0;
    const DistinctValues& seen = seen_;
    auto lastRepeat = static_cast<int32_t>(result_.length);
    series_.Walk(lastRepeat + 1, last, [&](int32_t k, int32_t value) {
        const bool nothingNew =
            value == 0 && zeroApart_ ? !zeroIsNews : IsWheelNumber(value) && seen.HasNumber(value);
        lastRepeat = nothingNew ? k : lastRepeat;
        return nothingNew;
    });
    result_.length = lastRepeat;
}

Lookback DistinctLookback(const History& series, int64_t n, int32_t a) {
    return LookbackWalk(series, n, false).Until(a);
}

Lookback SixLineLookback(const History& series, int64_t n, int32_t a) {
    return LookbackWalk(series, n, true).Until(a);
}

namespace {

// One more factor of the power: multiplied before it is divided, as the program has always done.
double NextPower(double p, double values) {
    return p * (values - 1) / values;
}

// m - m * (1 - 1/m)^j for j = 0, 1, ...: the power by repeated multiplication, multiplying before
// dividing, up to the first j at which it no longer changes (the smallest value a double holds):
// every later j gives that same value.
std::vector<double> ExpectedUntilSettled(int32_t m) {
    const double values = m;
    std::vector<double> expected;
    double p = 1.0;
    while (true) {
        expected.push_back(values - values * p);
        const double next = NextPower(p, values);
        if (next == p) {
            return expected;
        }
        p = next;
    }
}

double PowerOfChanceToMiss(int32_t j, int32_t m) {
    const double values = m;
    double p = 1.0;
    for (int32_t i = 0; i < j; ++i) {
        const double next = NextPower(p, values);
        if (next == p) {
            break;
        }
        p = next;
    }
    return p;
}

}  // namespace

std::vector<double> ExpectedDistinctTable(int32_t m) {
    return ExpectedUntilSettled(m);
}

double ExpectedDistinctByPower(int32_t j, int32_t m) {
    const double values = m;
    return values - values * PowerOfChanceToMiss(j, m);
}

void BetNewestEntries(GameState& state, int64_t depth) {
    VisitNewestEntries(state.WorkingSeries, depth, [&state](int32_t number) {
        if (IsWheelNumber(number)) {
            state.Stakes[number] = state.StakeLevel;
        }
    });
}

void BetSixLine(GameState& state, int32_t sixLine) {
    if (sixLine < 1 || sixLine > SixLineCount) {
        return;
    }
    for (const int32_t number : SixLineNumbers(sixLine)) {
        state.Stakes[number] = state.StakeLevel;
    }
}

}  // namespace orbista

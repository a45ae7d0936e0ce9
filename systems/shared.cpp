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
    : series_(series), n_(n), end_(ReadableEnd(n)), zeroApart_(sixLines) {}

// What the steps over the zeros up to the readable end would have left.
void LookbackWalk::RunOut() {
    if (zeroApart_ && result_.length < end_) {
        result_.zeros = 1;
    }
    result_.length = n_ + 1;
    result_.exhausted = true;
}

// Up to the written end no entry can be the end of the game's readable part (end_) that a step
// would stop at, nor the point where only zeros are left, so only what an entry brings decides. A
// series that keeps an index (the six-line history) says at once where the next new value stands:
// a long game of one or two six-lines would otherwise be read to its start for every count at
// every spin. Other series are read straight from memory.
void LookbackWalk::SkipRepeats() {
    const int32_t last = std::min(end_, series_.WrittenEnd());
    const RecentValues* recent = series_.Recent();
    if (recent != nullptr && series_.RecentEnd() > result_.length) {
        const int32_t next = NextNewsFromIndex(*recent);
        result_.length = std::min(last, next - 1);
        if (next <= series_.RecentEnd() || result_.length == last) {
            return;
        }
    }
    auto lastRepeat = static_cast<int32_t>(result_.length);
    series_.Walk(lastRepeat + 1, last, [&](int32_t k, int32_t value) {
        const bool nothingNew = !IsNews(value);
        lastRepeat = nothingNew ? k : lastRepeat;
        return nothingNew;
    });
    result_.length = lastRepeat;
}

// Every value the walk has not seen first stands, from entry 2 on, past the walk; the index ranks
// the values by where they first stand, so the first news among them is the nearest.
int32_t LookbackWalk::NextNewsFromIndex(const RecentValues& recent) const {
    for (int32_t rank = 0; rank < recent.DistinctCount(); ++rank) {
        const int32_t value = recent.ValueAt(rank);
        if (IsNews(value)) {
            return recent.IndexOf(value);
        }
    }
    return series_.RecentEnd() + 1;
}

// A zero of the six-line walk is news only until the first one; the rest of the values are news
// when they are no number already seen (or no number at all, which Step judges).
bool LookbackWalk::IsNews(int32_t value) const {
    if (value == 0 && zeroApart_) {
        return result_.zeros == 0;
    }
    return !IsWheelNumber(value) || !seen_.HasNumber(value);
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

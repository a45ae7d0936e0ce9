#pragma once

#include <array>
#include <cstdint>

#include "model/history.h"

namespace orbista {

// The distinct values of a history's entries 2..last in the order in which they first come, newest
// first, each with the index where it first stands. They come from the history's index where it
// keeps one, so that a series of few values, which a walk would read to its start, costs no more
// than one of many; otherwise, and for entries past the index, they are read entry by entry.
// Values outside 0..36 are passed over.
class FirstAppearances {
  public:
    static constexpr int32_t MostValues = RecentValues::MostValues;

    // The first `most` distinct values of entries 2..last (all of them when there are fewer).
    void Find(const History& history, int32_t last, int32_t most);

    int32_t Count() const { return count_; }
    int32_t ValueAt(int32_t i) const { return values_[i]; }
    int32_t IndexAt(int32_t i) const { return indexOf_[values_[i]]; }
    bool Has(int32_t value) const {
        return value >= 0 && value < MostValues && indexOf_[value] != 0;
    }
    // An entry read after the ones found, at a higher index: kept when its value is new.
    void Add(int32_t value, int32_t index) {
        if (value >= 0 && value < MostValues && indexOf_[value] == 0) {
            indexOf_[value] = index;
            values_[count_++] = value;
        }
    }
    // Forgets the values that first stand past index.
    void KeepUpTo(int32_t index) {
        while (count_ > 0 && indexOf_[values_[count_ - 1]] > index) {
            indexOf_[values_[--count_]] = 0;
        }
    }

  private:
    std::array<int32_t, MostValues> indexOf_{};  // by value; 0 for a value not found
    std::array<int32_t, MostValues> values_{};
    int32_t count_ = 0;
};

}  // namespace orbista

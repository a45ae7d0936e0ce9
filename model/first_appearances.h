#pragma once

#include <array>
#include <cstdint>

#include "model/history.h"

namespace orbista {

// The distinct values of a history's entries 2..last in the order in which they first come, newest
// first, each with the index where it first stands. Where the history keeps an index, they are the
// index's values in rank order, read from it as they are asked for: a series of few values, which a
// walk would read to its start, costs no more than one of many, and a look for the 25th value
// costs no more than one for the first. Otherwise, and for entries past the index, they are read
// entry by entry and noted here. Values outside 0..36 are passed over.
class FirstAppearances {
  public:
    static constexpr int32_t MostValues = RecentValues::MostValues;

    // The first `most` distinct values of entries 2..last (all of them when there are fewer).
    void Find(const History& history, int32_t last, int32_t most);

    int32_t Count() const { return indexed_ + readCount_; }
    int32_t ValueAt(int32_t i) const {
        return i < indexed_ ? recent_->ValueAt(i) : readValues_[i - indexed_];
    }
    int32_t IndexAt(int32_t i) const { return IndexOf(ValueAt(i)); }
    // Where value comes in the order, or Count() when it does not.
    int32_t PositionOf(int32_t value) const;
    bool Has(int32_t value) const { return IndexOf(value) != 0; }

    // An entry read after the ones found, at a higher index: kept when its value is new.
    void Add(int32_t value, int32_t index) {
        if (IsValue(value) && !Has(value)) {
            readIndexOf_[value] = index;
            readValues_[readCount_++] = value;
        }
    }
    // Forgets all but the first n values.
    void KeepFirst(int32_t n);

  private:
    static bool IsValue(int32_t value) { return value >= 0 && value < MostValues; }
    int32_t IndexOf(int32_t value) const {
        if (!IsValue(value)) {
            return 0;
        }
        if (recent_ != nullptr) {
            const int32_t index = recent_->IndexOf(value);
            if (index != 0 && index <= indexedEnd_) {
                return index;
            }
        }
        return readIndexOf_[value];
    }
    // The first ranks of the index are the first values.
    void TakeRanks(int32_t ranks);
    void Forget();

    const RecentValues* recent_ = nullptr;
    int32_t indexed_ = 0;     // the first values come from the index's first ranks
    int32_t indexedEnd_ = 0;  // the index of the last of them, 0 when there are none
    std::array<int32_t, MostValues> readIndexOf_{};  // by value: the values read one by one
    std::array<int32_t, MostValues> readValues_;     // the first readCount_ hold values
    int32_t readCount_ = 0;
};

}  // namespace orbista

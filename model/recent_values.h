#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace orbista {

// Where each value stands newest among entries 2.. of a history's moving part, kept up to date by
// the history at every change. A look for "the k-th newest distinct value" or "does v stand in the
// newest r entries" is then a lookup, where a walk towards the oldest entries would run, in a long
// game of few numbers, to the start of the game at every spin.
//
// An entry is known by its position: the shifts up the history has made, less the entry's index.
// A shift moves every entry one index along and leaves its position as it is, so a new spin costs
// the index one entry, the one moving from index 1 to 2, and a cancel the same entry moving back.
// Index 0 (the scratch slot) and index 1 (rewritten by every new spin before the rest is read) are
// left out. Beside the newest position, each value keeps how often it stands there, so that a value
// whose newest entry goes is known at once to be gone, or else found again by a walk to the next
// entry that holds it.
class RecentValues {
  public:
    static constexpr int32_t MostValues = 37;

    // Keeps the values 0..valueCount - 1; with 0, nothing is kept.
    explicit RecentValues(int32_t valueCount) : valueCount_(std::min(valueCount, MostValues)) {}

    bool Kept() const { return valueCount_ > 0; }
    // The lookups answer only while every entry holds one of the kept values.
    bool Complete() const { return others_ == 0; }
    // A change the index could not follow: it has to be built again from the entries.
    bool Stale() const { return stale_; }
    void MarkStale() { stale_ = true; }

    int32_t DistinctCount() const { return distinct_; }
    // The distinct values by their newest entry: rank 0 stands at the lowest index.
    int32_t ValueAt(int32_t rank) const { return order_[rank]; }
    // The index of the newest entry that holds value, or 0 when none does.
    int32_t IndexOf(int32_t value) const {
        return IsKept(value) && count_[value] > 0 ? static_cast<int32_t>(shifts_ - newest_[value])
                                                  : 0;
    }

    // Nothing stands in the entries any more, and the index follows changes again.
    void Clear();
    // Entries 2..last all hold 0.
    void ClearToZeros(int32_t last);

    // A shift up: the entry that was at index 1 is now the newest at index 2 (enters false when
    // the history has no index 2 in its moving part).
    void ShiftedUp(int32_t value, bool enters) {
        ++shifts_;
        if (enters && Kept() && !stale_) {
            Enter(value);
        }
    }
    // A shift down: the entry that was at index 2 is now at index 1. nextIndex(value) gives the
    // index of the newest entry from 2 on that holds value.
    template <typename NextIndex>
    void ShiftedDown(int32_t value, bool leaves, NextIndex nextIndex) {
        --shifts_;
        if (leaves && Kept() && !stale_) {
            Leave(value, nextIndex);
        }
    }
    // An entry joins at the old end of the moving part, or leaves from there.
    void AddOldest(int32_t value, int32_t index);
    void RemoveOldest(int32_t value);

  private:
    bool IsKept(int32_t value) const { return value >= 0 && value < valueCount_; }
    void Enter(int32_t value);
    template <typename NextIndex>
    void Leave(int32_t value, NextIndex nextIndex);
    int32_t RankOf(int32_t value) const;
    void Unrank(int32_t rank);

    int32_t valueCount_;
    int64_t shifts_ = 0;
    std::array<int64_t, MostValues> newest_{};  // by value: its newest entry's position
    std::array<int32_t, MostValues> count_{};   // by value: how many entries hold it
    std::array<uint8_t, MostValues> order_{};   // the values by their newest entry, newest first
    int32_t distinct_ = 0;
    int32_t others_ = 0;  // entries that hold no kept value
    bool stale_ = false;
};

template <typename NextIndex>
void RecentValues::Leave(int32_t value, NextIndex nextIndex) {
    if (!IsKept(value)) {
        --others_;
        return;
    }
    // The entry that leaves was the newest of all, so its value has rank 0.
    if (--count_[value] == 0) {
        Unrank(0);
        return;
    }
    newest_[value] = shifts_ - nextIndex(value);
    int32_t rank = 1;
    while (rank < distinct_ && newest_[order_[rank]] > newest_[value]) {
        order_[rank - 1] = order_[rank];
        ++rank;
    }
    order_[rank - 1] = static_cast<uint8_t>(value);
}

}  // namespace orbista

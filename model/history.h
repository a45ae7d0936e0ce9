#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/recent_values.h"

namespace orbista {

constexpr int HistoryCapacity = 110001;  // indices 0..110000 of every per-spin array

class ZeroedBlocks;

// Entries that start as zeros and cost nothing until they are written: the operating system maps
// their pages as they are first touched. A game's arrays take megabytes, a short game touches few
// of their pages, and a comparison starts a fresh game for every run.
//
// Entries taken from ZeroedBlocks go back to them when done with, zeroed again: only the range
// their writer declared (Wrote) is cleared, so whoever writes them must declare every entry it
// may have written.
class ZeroedEntries {
  public:
    // Taken from blocks (mapped when none is free) and given back to them; blocks must outlive
    // the entries. Without blocks: mapped from the operating system and unmapped when done with.
    explicit ZeroedEntries(size_t count, ZeroedBlocks* blocks = nullptr);
    ~ZeroedEntries();
    ZeroedEntries(ZeroedEntries&& other) noexcept;
    ZeroedEntries& operator=(ZeroedEntries&& other) noexcept;

    int32_t* data() { return entries_; }
    const int32_t* data() const { return entries_; }
    size_t size() const { return count_; }
    int32_t& operator[](size_t index) { return entries_[index]; }
    const int32_t& operator[](size_t index) const { return entries_[index]; }

    // Entries first..end - 1 may no longer be 0.
    void Wrote(size_t first, size_t end) {
        writtenFirst_ = std::min(writtenFirst_, first);
        writtenEnd_ = std::max(writtenEnd_, std::min(end, count_));
    }

  private:
    size_t count_;
    int32_t* entries_;
    ZeroedBlocks* blocks_ = nullptr;
    size_t writtenFirst_ = SIZE_MAX;
    size_t writtenEnd_ = 0;
};

// Zeroed blocks of entries kept from one game for the next. A game maps its arrays as it starts
// and unmaps them as it ends; a worker that plays thousands of games one after another on one of
// several threads would make the operating system map, fault in and unmap megabytes at every
// game, and every unmapping stops the other threads of the process to flush their address caches.
// Blocks given back here are zeroed over what their game wrote (a few pages of a short game) and
// handed to the next game as they are.
//
// Owned by whoever plays the games, one per thread: it is not to be shared between threads.
// Holds no more blocks than the games it lent to at once had; unmaps them when destroyed.
class ZeroedBlocks {
  public:
    ZeroedBlocks() = default;
    ~ZeroedBlocks();
    ZeroedBlocks(const ZeroedBlocks&) = delete;
    ZeroedBlocks& operator=(const ZeroedBlocks&) = delete;

    // Blocks kept for the next game.
    size_t Free() const { return free_.size(); }

  private:
    friend class ZeroedEntries;

    struct Block {
        size_t count;
        int32_t* entries;
    };

    // A free block of count entries, or nullptr.
    int32_t* Take(size_t count);
    // entries: count entries, all 0.
    void GiveBack(size_t count, int32_t* entries);

    std::vector<Block> free_;
};

// A per-spin array, read and written by index like a plain array of HistoryCapacity entries
// (index 1 the newest spin), whose shifts by one entry cost the same however long the game is.
//
// A shift moves only the entries up to a given index and leaves those beyond it in place. The
// entries that move, the live span 0..liveEnd, lie in a buffer with room before and after them,
// and a shift slides the buffer's offset by one instead of moving them; once in about
// ShiftsBetweenRecentres shifts the live span is moved back to the middle with one memmove. The
// entries beyond the live span stay in a second array at their own indices, since no shift may
// move them. A shift whose range differs from the live span first moves the few entries between
// the two ends from one array to the other: at a new spin or a cancel one entry, after a new game
// as many as the old game had, once.
//
// The array also knows where its written part ends: every index past WrittenEnd() holds 0, so a
// walk towards the oldest spins can stop there. Any index taken through the non-const operator[]
// counts as written; readers that only look go through a const History.
//
// A history of a series that is looked back over until some count of distinct values comes (the
// corrected series, the six-lines) also keeps where each of its values stands newest
// (RecentValues). The shifts, copies and clears keep that index up to date; an entry taken through
// the non-const operator[] in the indexed part leaves it to be built again when next asked for.
class History {
  public:
    static constexpr int32_t ShiftsBetweenRecentres = 100000;

    History() : History(nullptr) {}
    // blocks: where the arrays come from and go back to (none: the operating system).
    explicit History(ZeroedBlocks* blocks);
    // A history whose entries hold the values 0..indexedValues - 1 and that keeps their index.
    explicit History(int32_t indexedValues, ZeroedBlocks* blocks = nullptr);
    // Declares what it wrote to its arrays, for them to be zeroed when they go back to blocks.
    ~History();
    History(History&&) noexcept = default;
    // Swaps: what each wrote stays with its arrays.
    History& operator=(History&& other) noexcept;

    int32_t& operator[](int32_t index) {
        if (index > writtenEnd_) {
            writtenEnd_ = index;
        }
        if (index >= 2 && index <= liveEnd_) {
            recent_.MarkStale();
        }
        return *Slot(index);
    }
    int32_t operator[](int32_t index) const { return *Slot(index); }
    static constexpr int32_t size() { return HistoryCapacity; }

    // Every index above this one holds 0.
    int32_t WrittenEnd() const { return writtenEnd_; }

    // Calls visit(k, entry k) for k = first, first + 1, ... up to last, until visit returns false.
    // A walk over the newest entries reads them straight from memory, entry after entry, where
    // operator[] would ask at each one which array holds it.
    template <typename Visit>
    void Walk(int32_t first, int32_t last, Visit visit) const {
        int32_t k = first;
        for (const int32_t liveLast = std::min(last, liveEnd_); k <= liveLast; ++k) {
            if (!visit(k, live_[offset_ + k])) {
                return;
            }
        }
        for (; k <= last; ++k) {
            if (!visit(k, pinned_[k])) {
                return;
            }
        }
    }

    // Where each value stands newest among entries 2..RecentEnd(), for a history that keeps its
    // index and holds only the values it indexes; nullptr otherwise.
    const RecentValues* Recent() const;
    // The last index that Recent() covers; the entries after it are read one by one.
    int32_t RecentEnd() const { return liveEnd_; }

    // Entries first..last of source copied over the same entries here.
    void CopyEntries(const History& source, int32_t first, int32_t last);
    // Entries first..last set to 0. A restart clears a whole long game: a few memsets, and the
    // written end falls back when nothing before the cleared range was written.
    void ClearEntries(int32_t first, int32_t last);

    // a[k+1] := a[k] for k = last down to 0; index 0 keeps its value, indices above last + 1 stay.
    void ShiftUp(int32_t last);
    // a[k-1] := a[k] for k = 1 up to last; index last keeps its value (it is now there twice).
    void ShiftDown(int32_t last);

  private:
    // Where entry index lies, and the last index after it that lies next to it in the same array.
    int32_t* Slot(int32_t index) {
        return index <= liveEnd_ ? &live_[offset_ + index] : &pinned_[index];
    }
    const int32_t* Slot(int32_t index) const {
        return index <= liveEnd_ ? &live_[offset_ + index] : &pinned_[index];
    }
    int32_t RunEnd(int32_t index) const {
        return index <= liveEnd_ ? liveEnd_ : HistoryCapacity - 1;
    }

    // Makes 0..end the live part, moving the entries between the old and the new end across.
    void SetLiveEnd(int32_t end);
    // Moves the live part back to the middle of its buffer.
    void Recentre();
    // Whether entries first..last hold what they hold in source.
    bool SameEntries(const History& source, int32_t first, int32_t last) const;
    // Entries first..last of the indexed part are to be overwritten: the index follows a copy of
    // the same values, and is built again after any other.
    void BeforeOverwrite(const History& source, int32_t first, int32_t last);
    void ClearedIndexed(int32_t first, int32_t last);
    void RemoveFromIndex(const int32_t* live, int32_t end);
    // The first index from 2 on in the live part that holds value, or 0.
    int32_t NextIndexOf(int32_t value) const;

    ZeroedEntries live_;
    ZeroedEntries pinned_;
    int32_t offset_ = ShiftsBetweenRecentres;  // where index 0 of the live part lies in live_
    int32_t liveEnd_ = 0;
    int32_t writtenEnd_ = 0;
    // How far the arrays were ever written, for them to be zeroed when given back: live_ only
    // within the live part, lowestOffset_..highestLiveSlot_ over time; pinned_ at most up to the
    // highest live end (what left the live part) or the written end (every entry past it is 0).
    int32_t lowestOffset_ = ShiftsBetweenRecentres;
    int32_t highestLiveSlot_ = ShiftsBetweenRecentres;
    int32_t highestLiveEnd_ = 0;
    // A cache of the entries, built again on demand by the const Recent().
    mutable RecentValues recent_{0};
};

}  // namespace orbista

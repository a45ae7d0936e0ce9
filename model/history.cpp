#include "model/history.h"

#include <sys/mman.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

namespace orbista {

namespace {

int32_t* MapZeroes(size_t count) {
    void* pages = mmap(nullptr, count * sizeof(int32_t), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) {
        throw std::bad_alloc();
    }
    return static_cast<int32_t*>(pages);
}

void Unmap(int32_t* entries, size_t count) {
    munmap(entries, count * sizeof(int32_t));
}

}  // namespace

ZeroedEntries::ZeroedEntries(size_t count, ZeroedBlocks* blocks)
    : count_(count), entries_(blocks ? blocks->Take(count) : nullptr), blocks_(blocks) {
    if (entries_ == nullptr) {
        entries_ = MapZeroes(count);
    }
}

ZeroedEntries::~ZeroedEntries() {
    if (entries_ == nullptr) {
        return;
    }
    if (blocks_ == nullptr) {
        Unmap(entries_, count_);
        return;
    }
    if (writtenFirst_ < writtenEnd_) {
        std::memset(entries_ + writtenFirst_, 0, (writtenEnd_ - writtenFirst_) * sizeof(int32_t));
    }
    blocks_->GiveBack(count_, entries_);
}

ZeroedEntries::ZeroedEntries(ZeroedEntries&& other) noexcept
    : count_(std::exchange(other.count_, 0)),
      entries_(std::exchange(other.entries_, nullptr)),
      blocks_(other.blocks_),
      writtenFirst_(other.writtenFirst_),
      writtenEnd_(other.writtenEnd_) {}

ZeroedEntries& ZeroedEntries::operator=(ZeroedEntries&& other) noexcept {
    std::swap(count_, other.count_);
    std::swap(entries_, other.entries_);
    std::swap(blocks_, other.blocks_);
    std::swap(writtenFirst_, other.writtenFirst_);
    std::swap(writtenEnd_, other.writtenEnd_);
    return *this;
}

ZeroedBlocks::~ZeroedBlocks() {
    for (const Block& block : free_) {
        Unmap(block.entries, block.count);
    }
}

int32_t* ZeroedBlocks::Take(size_t count) {
    for (auto block = free_.rbegin(); block != free_.rend(); ++block) {
        if (block->count == count) {
            int32_t* const entries = block->entries;
            free_.erase(std::next(block).base());
            return entries;
        }
    }
    return nullptr;
}

void ZeroedBlocks::GiveBack(size_t count, int32_t* entries) {
    try {
        free_.push_back({count, entries});
    } catch (const std::bad_alloc&) {
        Unmap(entries, count);
    }
}

History::History(ZeroedBlocks* blocks)
    : live_(ShiftsBetweenRecentres + HistoryCapacity, blocks), pinned_(HistoryCapacity, blocks) {}

History::History(int32_t indexedValues, ZeroedBlocks* blocks) : History(blocks) {
    recent_ = RecentValues(indexedValues);
}

History::~History() {
    live_.Wrote(static_cast<size_t>(lowestOffset_), static_cast<size_t>(highestLiveSlot_) + 1);
    pinned_.Wrote(0, static_cast<size_t>(std::max(highestLiveEnd_, writtenEnd_)) + 1);
}

History& History::operator=(History&& other) noexcept {
    std::swap(live_, other.live_);
    std::swap(pinned_, other.pinned_);
    std::swap(offset_, other.offset_);
    std::swap(liveEnd_, other.liveEnd_);
    std::swap(writtenEnd_, other.writtenEnd_);
    std::swap(lowestOffset_, other.lowestOffset_);
    std::swap(highestLiveSlot_, other.highestLiveSlot_);
    std::swap(highestLiveEnd_, other.highestLiveEnd_);
    std::swap(recent_, other.recent_);
    return *this;
}

const RecentValues* History::Recent() const {
    if (!recent_.Kept()) {
        return nullptr;
    }
    if (recent_.Stale()) {
        recent_.Clear();
        Walk(2, liveEnd_, [this](int32_t k, int32_t entry) {
            recent_.AddOldest(entry, k);
            return true;
        });
    }
    return recent_.Complete() ? &recent_ : nullptr;
}

// The range is copied in runs that lie side by side in both histories: a refresh of the working
// series copies a hundred entries at every spin.
void History::CopyEntries(const History& source, int32_t first, int32_t last) {
    BeforeOverwrite(source, first, last);
    for (int32_t k = first; k <= last;) {
        const int32_t runEnd = std::min({last, RunEnd(k), source.RunEnd(k)});
        std::memmove(Slot(k), source.Slot(k), sizeof(int32_t) * (runEnd - k + 1));
        k = runEnd + 1;
    }
    // Entries past the source's written end were 0 there and are 0 here now.
    writtenEnd_ = std::max(writtenEnd_, std::min(last, source.writtenEnd_));
}

void History::ClearEntries(int32_t first, int32_t last) {
    for (int32_t k = first; k <= last;) {
        const int32_t runEnd = std::min(last, RunEnd(k));
        std::memset(Slot(k), 0, sizeof(int32_t) * (runEnd - k + 1));
        k = runEnd + 1;
    }
    if (first <= 1 && last >= writtenEnd_) {
        writtenEnd_ = 0;
    }
    ClearedIndexed(first, last);
}

// The six-line history gets the corrected six-lines copied over its newest hundred entries at
// every spin; all but the newest are already the same, having been copied at the spin before and
// shifted alike since.
void History::BeforeOverwrite(const History& source, int32_t first, int32_t last) {
    if (!recent_.Kept() || recent_.Stale()) {
        return;
    }
    const int32_t from = std::max(first, 2);
    const int32_t to = std::min(last, liveEnd_);
    if (from <= to && !SameEntries(source, from, to)) {
        recent_.MarkStale();
    }
}

bool History::SameEntries(const History& source, int32_t first, int32_t last) const {
    for (int32_t k = first; k <= last;) {
        const int32_t runEnd = std::min({last, RunEnd(k), source.RunEnd(k)});
        if (std::memcmp(Slot(k), source.Slot(k), sizeof(int32_t) * (runEnd - k + 1)) != 0) {
            return false;
        }
        k = runEnd + 1;
    }
    return true;
}

// A restart clears the whole game; a new game clears only its first thousand entries, and the
// next spin leaves the rest out of the live part anyway, so the index is built again from what is
// left then.
void History::ClearedIndexed(int32_t first, int32_t last) {
    if (!recent_.Kept()) {
        return;
    }
    const int32_t from = std::max(first, 2);
    const int32_t to = std::min(last, liveEnd_);
    if (from > to) {
        return;
    }
    if (from == 2 && to == liveEnd_) {
        recent_.ClearToZeros(liveEnd_);
    } else {
        recent_.MarkStale();
    }
}

int32_t History::NextIndexOf(int32_t value) const {
    int32_t found = 0;
    Walk(2, liveEnd_, [&found, value](int32_t k, int32_t entry) {
        found = entry == value ? k : 0;
        return found == 0;
    });
    return found;
}

void History::ShiftUp(int32_t last) {
    assert(last >= 0 && last < HistoryCapacity - 1);
    if (last != liveEnd_) {
        SetLiveEnd(last);
    }
    if (offset_ == 0) {
        Recentre();
    }
    --offset_;
    live_[offset_] = live_[offset_ + 1];
    liveEnd_ = last + 1;
    lowestOffset_ = std::min(lowestOffset_, offset_);
    highestLiveEnd_ = std::max(highestLiveEnd_, liveEnd_);
    recent_.ShiftedUp(live_[offset_ + 2], last >= 1);
    if (writtenEnd_ <= last) {
        ++writtenEnd_;
    }
}

void History::ShiftDown(int32_t last) {
    assert(last >= 1 && last < HistoryCapacity);
    if (last != liveEnd_) {
        SetLiveEnd(last);
    }
    pinned_[last] = live_[offset_ + last];
    ++offset_;
    liveEnd_ = last - 1;
    recent_.ShiftedDown(live_[offset_ + 1], last >= 2, [this](int32_t value) {
        const int32_t next = NextIndexOf(value);
        if (next == 0) {
            recent_.MarkStale();  // the index did not match the entries
        }
        return next;
    });
}

void History::SetLiveEnd(int32_t end) {
    int32_t* const pinned = pinned_.data();
    if (end > liveEnd_) {
        if (offset_ + end >= static_cast<int32_t>(live_.size())) {
            Recentre();
        }
        highestLiveSlot_ = std::max(highestLiveSlot_, offset_ + end);
        highestLiveEnd_ = std::max(highestLiveEnd_, end);
        std::copy(pinned + liveEnd_ + 1, pinned + end + 1, live_.data() + offset_ + liveEnd_ + 1);
        if (recent_.Kept()) {
            for (int32_t k = std::max(liveEnd_ + 1, 2); k <= end; ++k) {
                recent_.AddOldest(pinned[k], k);
            }
        }
    } else if (end < liveEnd_) {
        const int32_t* const live = live_.data() + offset_;
        RemoveFromIndex(live, end);
        std::copy(live + end + 1, live + liveEnd_ + 1, pinned + end + 1);
    }
    liveEnd_ = end;
}

// Entries end + 1..liveEnd_ leave the live part. When most of the indexed part goes, as at the
// first spin after a new game, the little that stays is indexed again instead.
void History::RemoveFromIndex(const int32_t* live, int32_t end) {
    if (!recent_.Kept()) {
        return;
    }
    const int32_t from = std::max(end + 1, 2);
    if (liveEnd_ - from + 1 > end) {
        recent_.MarkStale();
        return;
    }
    for (int32_t k = from; k <= liveEnd_; ++k) {
        recent_.RemoveOldest(live[k]);
    }
}

void History::Recentre() {
    std::memmove(live_.data() + ShiftsBetweenRecentres, live_.data() + offset_,
                 sizeof(int32_t) * (liveEnd_ + 1));
    offset_ = ShiftsBetweenRecentres;
    highestLiveSlot_ = std::max(highestLiveSlot_, offset_ + liveEnd_);
}

}  // namespace orbista

#include "model/history.h"

#include <sys/mman.h>

#include <algorithm>
#include <cassert>
#include <cstring>
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

}  // namespace

ZeroedEntries::ZeroedEntries(size_t count) : count_(count), entries_(MapZeroes(count)) {}

ZeroedEntries::~ZeroedEntries() {
    if (entries_ != nullptr) {
        munmap(entries_, count_ * sizeof(int32_t));
    }
}

ZeroedEntries::ZeroedEntries(ZeroedEntries&& other) noexcept
    : count_(std::exchange(other.count_, 0)), entries_(std::exchange(other.entries_, nullptr)) {}

ZeroedEntries& ZeroedEntries::operator=(ZeroedEntries&& other) noexcept {
    std::swap(count_, other.count_);
    std::swap(entries_, other.entries_);
    return *this;
}

History::History() : live_(ShiftsBetweenRecentres + HistoryCapacity), pinned_(HistoryCapacity) {}

// The range is copied in runs that lie side by side in both histories: a refresh of the working
// series copies a hundred entries at every spin.
void History::CopyEntries(const History& source, int32_t first, int32_t last) {
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
}

void History::ShiftUp(int32_t last) {
    assert(last >= 0 && last < HistoryCapacity - 1);
    SetLiveEnd(last);
    if (offset_ == 0) {
        Recentre();
    }
    --offset_;
    live_[offset_] = live_[offset_ + 1];
    liveEnd_ = last + 1;
    if (writtenEnd_ <= last) {
        ++writtenEnd_;
    }
}

void History::ShiftDown(int32_t last) {
    assert(last >= 1 && last < HistoryCapacity);
    SetLiveEnd(last);
    pinned_[last] = live_[offset_ + last];
    ++offset_;
    liveEnd_ = last - 1;
}

void History::SetLiveEnd(int32_t end) {
    int32_t* const pinned = pinned_.data();
    if (end > liveEnd_) {
        if (offset_ + end >= static_cast<int32_t>(live_.size())) {
            Recentre();
        }
        std::copy(pinned + liveEnd_ + 1, pinned + end + 1, live_.data() + offset_ + liveEnd_ + 1);
    } else if (end < liveEnd_) {
        const int32_t* const live = live_.data() + offset_;
        std::copy(live + end + 1, live + liveEnd_ + 1, pinned + end + 1);
    }
    liveEnd_ = end;
}

void History::Recentre() {
    std::memmove(live_.data() + ShiftsBetweenRecentres, live_.data() + offset_,
                 sizeof(int32_t) * (liveEnd_ + 1));
    offset_ = ShiftsBetweenRecentres;
}

}  // namespace orbista

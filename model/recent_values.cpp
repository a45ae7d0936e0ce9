#include "model/recent_values.h"

#include <cstring>

namespace orbista {

void RecentValues::Clear() {
    count_.fill(0);
    distinct_ = 0;
    others_ = 0;
    stale_ = false;
}

void RecentValues::ClearToZeros(int32_t last) {
    Clear();
    if (last >= 2) {
        count_[0] = last - 1;
        newest_[0] = shifts_ - 2;
        order_[0] = 0;
        distinct_ = 1;
    }
}

void RecentValues::Enter(int32_t value) {
    if (!IsKept(value)) {
        ++others_;
        return;
    }
    const int32_t rank = count_[value]++ > 0 ? RankOf(value) : distinct_++;
    std::memmove(order_.data() + 1, order_.data(), rank);
    order_[0] = static_cast<uint8_t>(value);
    newest_[value] = shifts_ - 2;
}

void RecentValues::AddOldest(int32_t value, int32_t index) {
    if (stale_) {
        return;
    }
    if (!IsKept(value)) {
        ++others_;
        return;
    }
    // Older than every entry already there: it is the value's newest only when the value is new.
    if (count_[value]++ == 0) {
        newest_[value] = shifts_ - index;
        order_[distinct_++] = static_cast<uint8_t>(value);
    }
}

void RecentValues::RemoveOldest(int32_t value) {
    if (stale_) {
        return;
    }
    if (!IsKept(value)) {
        --others_;
        return;
    }
    // Older than every entry that stays: when others hold the value, the newest of them is still
    // the value's newest.
    if (--count_[value] == 0) {
        Unrank(RankOf(value));
    }
}

int32_t RecentValues::RankOf(int32_t value) const {
    const auto* const found =
        static_cast<const uint8_t*>(std::memchr(order_.data(), value, distinct_));
    return static_cast<int32_t>(found - order_.data());
}

void RecentValues::Unrank(int32_t rank) {
    uint8_t* const order = order_.data();
    std::memmove(order + rank, order + rank + 1, distinct_ - rank - 1);
    --distinct_;
}

}  // namespace orbista

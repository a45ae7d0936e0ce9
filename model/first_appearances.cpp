#include "model/first_appearances.h"

#include <algorithm>

namespace orbista {

void FirstAppearances::Find(const History& history, int32_t last, int32_t most) {
    Forget();
    recent_ = history.Recent();
    int32_t readFrom = 2;
    if (recent_ != nullptr) {
        // The ranks run by index: the values first standing up to last are the first ranks.
        const auto withinLast = [this, last](int32_t rank) {
            return recent_->IndexOf(recent_->ValueAt(rank)) <= last;
        };
        int32_t ranks = std::min(most, recent_->DistinctCount());
        if (ranks > 0 && !withinLast(ranks - 1)) {
            int32_t low = 0;  // ranks below low are within last; ranks from `ranks` on are not
            while (low < ranks) {
                const int32_t middle = (low + ranks) / 2;
                if (withinLast(middle)) {
                    low = middle + 1;
                } else {
                    ranks = middle;
                }
            }
        }
        TakeRanks(ranks);
        // A rank left out lies past last, and so do the entries past the index.
        if (indexed_ == most || indexed_ < recent_->DistinctCount()) {
            return;
        }
        readFrom = std::max(readFrom, history.RecentEnd() + 1);
    }
    // Past the written end every entry is 0.
    const int32_t readTo = std::min(last, history.WrittenEnd());
    if (Count() < most) {
        history.Walk(readFrom, readTo, [this, most](int32_t k, int32_t entry) {
            Add(entry, k);
            return Count() < most;
        });
    }
    const int32_t firstUnwritten = std::max(readFrom, history.WrittenEnd() + 1);
    if (Count() < most && firstUnwritten <= last) {
        Add(0, firstUnwritten);
    }
}

int32_t FirstAppearances::PositionOf(int32_t value) const {
    const int32_t index = IndexOf(value);
    if (index == 0) {
        return Count();
    }
    if (index <= indexedEnd_) {
        for (int32_t rank = 0;; ++rank) {
            if (recent_->ValueAt(rank) == value) {
                return rank;
            }
        }
    }
    const auto* const read = readValues_.data();
    return indexed_ + static_cast<int32_t>(std::find(read, read + readCount_, value) - read);
}

void FirstAppearances::KeepFirst(int32_t n) {
    if (n <= indexed_) {
        TakeRanks(n);
        n = 0;
    } else {
        n -= indexed_;
    }
    while (readCount_ > n) {
        readIndexOf_[readValues_[--readCount_]] = 0;
    }
}

void FirstAppearances::TakeRanks(int32_t ranks) {
    indexed_ = ranks;
    indexedEnd_ = ranks > 0 ? recent_->IndexOf(recent_->ValueAt(ranks - 1)) : 0;
}

void FirstAppearances::Forget() {
    TakeRanks(0);
    KeepFirst(0);
}

}  // namespace orbista

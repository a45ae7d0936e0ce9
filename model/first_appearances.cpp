#include "model/first_appearances.h"

#include <algorithm>

namespace orbista {

void FirstAppearances::Find(const History& history, int32_t last, int32_t most) {
    KeepUpTo(0);
    int32_t readFrom = 2;
    if (const RecentValues* recent = history.Recent()) {
        for (int32_t rank = 0; rank < recent->DistinctCount() && count_ < most; ++rank) {
            const int32_t value = recent->ValueAt(rank);
            const int32_t index = recent->IndexOf(value);
            if (index > last) {
                return;  // and so are the rest, the entries past the index included
            }
            Add(value, index);
        }
        readFrom = std::max(readFrom, history.RecentEnd() + 1);
    }
    // Past the written end every entry is 0.
    const int32_t readTo = std::min(last, history.WrittenEnd());
    if (count_ < most) {
        history.Walk(readFrom, readTo, [this, most](int32_t k, int32_t entry) {
            Add(entry, k);
            return count_ < most;
        });
    }
    const int32_t firstUnwritten = std::max(readFrom, history.WrittenEnd() + 1);
    if (count_ < most && firstUnwritten <= last) {
        Add(0, firstUnwritten);
    }
}

}  // namespace orbista

#include <algorithm>
#include <array>

#include "systems/progression.h"
#include "systems/shared.h"
#include "systems/systems.h"

namespace orbista {

namespace {

const Layout& LayoutFor(const SettingsModel& settings, Setting onTable) {
    return settings.Flag(onTable) ? TableOrder : WheelOrder;
}

// Where each number stands in a layout.
std::array<int32_t, NumberCount> PositionsIn(const Layout& layout) {
    std::array<int32_t, NumberCount> positions{};
    for (int32_t p = 0; p < NumberCount; ++p) {
        positions[layout[p]] = p;
    }
    return positions;
}

// Hits of the sector of the given length that starts at each position, over the newest spins: a
// sector holds a spin when the spin stands within its length positions. The spins are counted per
// position once; each sector's sum then follows from the one before it, dropping the position it
// leaves and taking the one it reaches.
std::array<double, NumberCount> CountSectorHits(const GameState& state, const Layout& layout,
                                                int32_t length, int32_t spins) {
    const std::array<int32_t, NumberCount> positions = PositionsIn(layout);
    std::array<int32_t, NumberCount> spinsAt{};
    for (int32_t s = 1; s <= spins; ++s) {
        const int32_t number = state.SpinHistory[s];
        if (IsWheelNumber(number)) {
            ++spinsAt[positions[number]];
        }
    }
    int32_t inSector = 0;
    for (int32_t q = 0; q < length; ++q) {
        inSector += spinsAt[WrapPosition(q)];
    }
    std::array<double, NumberCount> hits{};
    for (int32_t p = 0; p < NumberCount; ++p) {
        hits[p] = inSector;
        inSector += spinsAt[WrapPosition(p + length)] - spinsAt[p];
    }
    return hits;
}

}  // namespace

void SystemSectors(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t length = context.settings.ClampedNumber(Setting::SectorLength);
    const int32_t window = context.settings.ClampedNumber(Setting::SectorsSpinWindow);
    const Layout& layout = LayoutFor(context.settings, Setting::SectorsOnTable);
    const std::array<double, NumberCount> hits =
        CountSectorHits(state, layout, length,
                        static_cast<int32_t>(std::clamp<int64_t>(state.SpinCount, 0, window)));

    // Ties go to the later position...
    double best = 0;
    int32_t start = -1000;
    for (int32_t p = 0; p < NumberCount; ++p) {
        if (hits[p] >= best) {
            best = hits[p];
            start = p;
        }
    }
    // ...and, above all, to the sector indexed by the number that just came. The number is taken
    // as a position: on the table that is the sector starting at the number itself, on the
    // wheel the sector starting at that wheel position.
    const int32_t latest = state.SpinHistory[1];
    if (IsWheelNumber(latest) && hits[latest] >= best) {
        start = latest;
    }

    state.StakeLevel = StakeLevelRule(state, length);
    for (int32_t q = 0; q < length; ++q) {
        state.Stakes[layout[WrapPosition(start + q)]] = state.StakeLevel;
    }
}

void SystemEsd(SelectionContext& context) {
    GameState& state = context.state;
    const int32_t spins = context.settings.ClampedNumber(Setting::EsdSpinCount);
    const int32_t overlap = context.settings.ClampedNumber(Setting::OverlapSectorLength);
    const Layout& layout = LayoutFor(context.settings, Setting::EsdSectorsOnTable);

    std::array<bool, NumberCount> marked{};
    state.SelectedCount = 0;
    if (state.SpinCount < spins) {
        return;
    }
    // One pass counts every number; a value that is no number is counted for none.
    std::array<int32_t, NumberCount> hits{};
    const History& series = state.WorkingSeries;
    for (int32_t k = 1; k <= spins; ++k) {
        if (IsWheelNumber(series[k])) {
            ++hits[series[k]];
        }
    }
    std::array<int32_t, NumberCount> counts{};
    for (int32_t p = 0; p < NumberCount; ++p) {
        counts[p] = hits[layout[p]];
    }
    for (int32_t p = 0; p < NumberCount; ++p) {
        if (counts[p] == 2) {
            for (int32_t q = p - overlap; q <= p + overlap; ++q) {
                marked[layout[WrapPosition(q)]] = true;
            }
        }
    }
    if (context.settings.Flag(Setting::EsdWideOverlap)) {
        // Two neighbours that both came twice widen the sector by one more on each side. The
        // pair of the last and the first position is not looked at.
        for (int32_t p = 0; p + 1 < NumberCount; ++p) {
            if (counts[p] + 10 * counts[p + 1] == 22) {
                marked[layout[WrapPosition(p - 2)]] = true;
                marked[layout[WrapPosition(p + 3)]] = true;
            }
        }
    }
    state.SelectedCount = static_cast<int32_t>(std::count(marked.begin(), marked.end(), true));
    // 36 or 37 numbers cannot win anything back: the rule gives 0 and nothing is bet.
    state.StakeLevel = StakeLevelRule(state, state.SelectedCount);
    for (int32_t number = 0; number < NumberCount; ++number) {
        if (marked[number]) {
            state.Stakes[number] = state.StakeLevel;
        }
    }
}

}  // namespace orbista

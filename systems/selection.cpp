#include "systems/selection.h"

#include "systems/systems.h"

namespace orbista {

namespace {

// The first spins of a game may be left to statistics alone.
bool InSkippedSpins(const SelectionContext& context) {
    const int32_t skip = context.settings.Flag(Setting::SkipFirstSpins)
                             ? context.settings.ClampedNumber(Setting::SkippedSpinCount)
                             : 0;
    return context.state.SpinCount - skip <= 0;
}

}  // namespace

void RunSelectionSystem(SelectionContext& context) {
    if (InSkippedSpins(context)) {
        return;
    }
    switch (context.settings.ActiveSystem()) {
        case SelectionSystem::WithSelection:
            SystemWithSelection(context);
            break;
        case SelectionSystem::WithoutSelection:
            SystemWithoutSelection(context);
            break;
        case SelectionSystem::Sectors:
            SystemSectors(context);
            break;
        case SelectionSystem::SixLines:
            SystemSixLines(context);
            break;
        case SelectionSystem::Peer:
            SystemPeer(context);
            break;
        case SelectionSystem::AntiReview:
            SystemAntiReview(context);
            break;
        case SelectionSystem::Esd:
            SystemEsd(context);
            break;
        case SelectionSystem::Favourites:
            SystemFavourites(context);
            break;
        case SelectionSystem::Gizmo:
            SystemGizmo(context);
            break;
        case SelectionSystem::Chaos:
            SystemChaos(context);
            break;
        case SelectionSystem::Waiting:
            PrepareSystemWaiting(context);
            SystemWaiting(context);
            break;
        case SelectionSystem::StatisticsOnly:
        case SelectionSystem::Custom:
        case SelectionSystem::None:
            // Spins, balances and statistics go on; nothing is recommended.
            break;
    }
}

}  // namespace orbista

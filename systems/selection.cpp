#include "systems/selection.h"

namespace orbista {

void RunSelectionSystem(SelectionContext& context) {
    const int32_t skip = context.settings.Flag(Setting::SkipFirstSpins)
                             ? context.settings.Number(Setting::SkippedSpinCount)
                             : 0;
    if (context.state.SpinCount - skip <= 0) {
        return;
    }
    // The systems themselves are attached in their own sources.
}

}  // namespace orbista

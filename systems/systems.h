#pragma once

#include "systems/selection.h"

namespace orbista {

// The systems of the "Методики" tab. Each fills the recommendation of GameState (Stakes,
// StakeLevel and, where it uses them, SelectionDepth and SelectedCount) for the next spin; the
// cycle has cleared Stakes before. They read their own settings at the moment they run, held to
// the bounds of the fields' up-down arrows.

// Candidate-count systems: compare how many distinct values the newest entries hold with what
// chance would give, and write their reasoning into a check file.
void SystemWithSelection(SelectionContext& context);
void SystemSixLines(SelectionContext& context);
void SystemPeer(SelectionContext& context);
void SystemAntiReview(SelectionContext& context);

// Newest-numbers systems.
void SystemWithoutSelection(SelectionContext& context);
// Raises this cycle's copies of MaxProcessedCount and MinCoveredCount by the waiting spins; the
// selection step runs it just before SystemWaiting.
void PrepareSystemWaiting(SelectionContext& context);
void SystemWaiting(SelectionContext& context);
void SystemFavourites(SelectionContext& context);

// Sector systems.
void SystemSectors(SelectionContext& context);
void SystemEsd(SelectionContext& context);

// Small systems.
void SystemGizmo(SelectionContext& context);
void SystemChaos(SelectionContext& context);

}  // namespace orbista

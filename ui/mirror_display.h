#pragma once

class QPushButton;

namespace orbista {

// Turns a button of the mirror block into a cell of a display: it takes no focus and no click,
// has no pressed or hover look, and is drawn as a sunken read-only field with its caption, so it
// does not pass for a number button beside it.
void ShowAsDisplay(QPushButton* button);

}  // namespace orbista

#pragma once

#include <cstdint>

namespace orbista {

// Brings the top-level window of another program's process to the front and gives it the
// keyboard: through the window manager when there is one, by stacking and focusing it when there
// is none. Does nothing away from an X display, or when the process shows no window yet.
void BringProcessWindowToFront(int64_t pid);

}  // namespace orbista

// Where a window goes that was saved at a position of its own: there, as long as some of it lies on
// a monitor; otherwise (a monitor gone since, or a hand-edited position) inside the primary
// monitor's work area, as near to the saved position as it fits.
#pragma once

#include <windows.h>

#include <cstdint>

namespace win {

// The top left corner for `window` saved at `left`, `top` (screen pixels: the window comes back
// on the monitor that holds that corner, at the size it has at that monitor's scale).
POINT TopLeftOnAMonitor(HWND window, int32_t left, int32_t top);

}  // namespace win

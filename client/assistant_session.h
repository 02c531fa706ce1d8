// Which assistant window speaks Quillorb's own protocol, decided from the live state. Whether that
// protocol is spoken at all is decided at start (an assistant window was there); the window itself
// is renewed while Quillorb runs: an assistant that is ended and started again has a new window,
// and every cast must be booked exactly once, by the assistant's report while a window that
// reports is there, by Quillorb itself while none is.
#pragma once

#include <windows.h>

namespace quillorb {

// `window` is a visible top-level window whose caption begins with kAssistantCaptionPrefix.
bool IsAssistantWindow(HWND window);

// The assistant's window as it is now: `remembered` while it still is one, else the one now there,
// which is remembered from then on; nullptr when none is there (`remembered` then keeps the old
// handle, so that an assistant started again is found) or when none was there at start
// (`remembered` nullptr: the protocol is not spoken in this run).
HWND LiveAssistantWindow(HWND& remembered);

}  // namespace quillorb

// The ways Quillorb reaches other programs' windows: finding the assistant by the start of its
// caption, bringing a window to the front and typing one key combination (the game client is
// found by client/game_window.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quillorb {

inline constexpr char kAssistantCaptionPrefix[] = "UOAssist";

// The topmost visible top-level window whose caption (at most 253 characters) starts with
// `prefix`, compared byte for byte; nullptr when there is none.
HWND FindWindowByCaptionPrefix(std::string prefix);

// Whether `window` is `topLevel` or a window it owns (a dialog of the game, say).
bool IsOrOwnedBy(HWND window, HWND topLevel);

// Makes `window` the foreground window and waits, at most `timeoutMs`, until its thread has taken
// the activation and the keyboard focus (keys injected before that go elsewhere). True when the
// window is verifiably in front; false, with the wait given up, when it is not visible or did not
// come to the front in time.
bool BringToFront(HWND window, DWORD timeoutMs);

// Brings `window` to the front and types the key with its modifiers through keybd_event.
// False, with nothing sent, when the window is not visible.
bool SendKeyCombination(HWND window, uint16_t key, bool alt, bool ctrl, bool shift);

}  // namespace quillorb

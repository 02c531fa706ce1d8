// The only ways Quillorb reaches other programs' windows: finding the game client by its window
// class, finding the assistant by the start of its caption, and typing one key combination.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quillorb {

inline constexpr char kClientWindowClass[] = "Ultima Online";
inline constexpr char kAssistantCaptionPrefix[] = "UOAssist";

// The game client's top-level window, or nullptr.
HWND FindClientWindow();

// The topmost visible top-level window whose caption (at most 253 characters) starts with
// `prefix`, compared byte for byte; nullptr when there is none.
HWND FindWindowByCaptionPrefix(std::string prefix);

// Brings `window` to the front and types the key with its modifiers through keybd_event.
// False, with nothing sent, when the window is not visible.
bool SendKeyCombination(HWND window, uint16_t key, bool alt, bool ctrl, bool shift);

}  // namespace quillorb

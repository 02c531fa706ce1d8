// The ways Quillorb reaches other programs' windows: finding the assistant by the start of its
// caption, bringing a window to the front and typing one key combination (the game client is
// found by client/game_window.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
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

// Brings `window` to the front and types the key with its modifiers through keybd_event. Alt is
// the left-hand one: on layouts with AltGr, Windows turns a right-hand Alt into Ctrl+Alt, and
// clients that read AltGr as typing drop every modifier while it is held.
// False, with nothing sent, when the window is not visible.
bool SendKeyCombination(HWND window, uint16_t key, bool alt, bool ctrl, bool shift);

// A key combination as it is typed.
struct KeyChord {
  uint16_t key = 0;
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
  bool operator==(const KeyChord&) const = default;
};

// How a spell's macro key, as stored, is typed into the game window `client`. Letters, digits,
// F-keys and other virtual keys as they are. A punctuation character is stored as its character
// code, which as a virtual key would be another key (',' is Print Screen): it is typed as the key
// that gives that character on the keyboard layout of the client's thread (VkKeyScanEx), with the
// modifiers that layout needs for it (Shift for ':' on a US layout) added to the stored ones, which
// is the keystroke the player makes for the chord in the game. Nothing when no key of the layout
// types the character.
std::optional<KeyChord> LayoutChord(HWND client, const KeyChord& stored);

}  // namespace quillorb

// The link to an assistant program running beside the game. Two protocols are spoken:
// - Quillorb's own: the assistant's visible window (caption "UOAssist...") takes a count request,
//   and the assistant sends or posts reagent counts and cast reports to the main window.
// - The published assistant API: a hidden message window "UOASSIST-TP-MSG-WND" with which the
//   main window registers; while registered the assistant posts every change of a counted item.
// Messages come from any process (Windows names no sender), so every parameter is range-checked.
#pragma once

#include <windows.h>

#include <cstdint>

#include "client/window_link.h"

namespace quillorb {

// Quillorb's own protocol.
inline constexpr UINT kAssistReagentCountMessage = WM_USER + 100;  // 0x464 wParam code, lParam n
inline constexpr UINT kAssistCountRequestMessage = WM_USER + 101;  // 0x465 to the assistant
inline constexpr UINT kAssistSpellCastMessage = WM_USER + 102;     // 0x466 wParam spell 1..64

// The published assistant API.
inline constexpr char kAssistantApiWindow[] = "UOASSIST-TP-MSG-WND";  // class and caption
inline constexpr UINT kApiRegisterMessage = WM_USER + 200;            // wParam: our window; toggles
inline constexpr UINT kApiRecountMessage = WM_USER + 201;             // asks for every count again
inline constexpr UINT kApiCounterMessage = WM_USER + 301;             // wParam counter id, lParam n
inline constexpr UINT kApiSpellCastMessage = WM_USER + 302;           // not booked: see README
inline constexpr LRESULT kApiRegistered = 1;
inline constexpr LRESULT kApiUnregistered = 2;

// How long a message to the assistant may take before it is given up as not answering.
inline constexpr UINT kAssistantSendTimeoutMs = 10000;

// The ledger index (BP BM GL GS MR NS SA SS = 0..7) that a count code of our own protocol sets
// (codes 1 and 2, and 7 and 8, are crossed), or -1 for any other value.
int ReagentOfCountCode(WPARAM code);
// The ledger index of a counter id of the published API (1 BM, 2 BP, ..., 7 SA, 8 SS), or -1.
int ReagentOfApiCounter(WPARAM id);
// The spell index of a reported spell number 1..64, or -1.
int SpellOfCastNumber(WPARAM number);
// A reported count as a 32-bit number: values beyond its range are clamped, never wrapped.
int32_t CountOfParam(LPARAM count);

// Sends the count request to the assistant's window and waits for it; the assistant may answer
// inside it. False when the window is gone or did not answer in time.
bool RequestReagentCount(HWND assistant);

// The published API's message window, or nullptr.
HWND FindAssistantApiWindow();

// One registration of a main window with the published API's message window.
class AssistantApiLink {
 public:
  // Registers `mainWindow`; a first answer of 2 means it had been registered before and the call
  // just removed it, so it is sent once more. Nothing happens when `assistant` is nullptr.
  bool Register(HWND assistant, HWND mainWindow);
  // Removes the registration (again toggling once more when the assistant had forgotten it).
  void Unregister();
  // Asks for every count again; the counts then arrive one by one.
  void RequestRecount() const;

  bool Linked() const { return assistant_ != nullptr; }
  HWND Window() const { return assistant_; }

 private:
  HWND assistant_ = nullptr;
  HWND main_ = nullptr;
};

}  // namespace quillorb

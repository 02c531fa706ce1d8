// The link to an assistant program running beside the game. Two protocols are spoken:
// - Quillorb's own: the assistant's visible window (caption "UOAssist...") takes a count request,
//   and the assistant sends or posts reagent counts and cast reports to the main window.
// - The published assistant API: a hidden message window "UOASSIST-TP-MSG-WND" with which the
//   main window registers; while registered the assistant posts every change of a counted item.
//   The open-source game client creates such a window in its own process; it shows text in the
//   game but counts nothing. An assistant loaded into that client serves the API on its main
//   window, a visible window of the client's process.
// Messages come from any process (Windows names no sender), so every parameter is range-checked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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
inline constexpr UINT kApiDisplayTextMessage = WM_USER + 207;   // wParam hue and flags, lParam atom
inline constexpr UINT kApiClientWindowMessage = WM_USER + 213;  // answers the game window served
inline constexpr WPARAM kApiSystemText = 0x10000;               // DISPLAY_TEXT: as a system message
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

// The published API's message window of an assistant outside the open-source client, or nullptr.
HWND FindAssistantApiWindow();

// Whether `window` is a window of the open-source game client (an SDL window).
bool IsOpenClientWindow(HWND window);

// The API windows inside the process of the open-source client window `client`.
struct ClientApiWindows {
  HWND own = nullptr;        // the client's own message window: shows text, counts nothing
  HWND assistant = nullptr;  // the main window of an assistant loaded into the client
};
// Looks for them. A visible top-level window of the client's process is an assistant's when it
// answers kApiClientWindowMessage with `client`: the question changes nothing in an assistant, and
// other windows answer 0. `known`, the assistant found before, is taken without asking while it is
// there; windows that answered otherwise are added to `asked` and not asked again.
ClientApiWindows FindClientApiWindows(HWND client, HWND known, std::vector<HWND>& asked);

// Shows `text` (ANSI, cut to the 255 bytes a global atom holds) in the game as a system message in
// `hue`, through the API window `window`. The text travels as a global atom, which must be deleted
// exactly once: an atom deleted twice may take another program's reference to the same text. A
// loaded assistant deletes it once it has shown it (it answers 1; `deletesShown`), the client's own
// window never does; so it is deleted here unless the window answered that it did. True when the
// game showed the text.
bool ShowTextInGame(HWND window, const std::string& text, WORD hue, bool deletesShown);

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

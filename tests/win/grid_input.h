// Helpers of the grid tests: this thread's messages handled as the program's loop does (with the
// dialog keyboard handling of `dialog`), real key chords, and the screen point of a grid cell.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>

#include "tests/harness/harness.h"
#include "win/string_grid.h"

namespace quillorb::grid_test {

using harness::PumpUntil;

// Presses `vk` with the modifier keys held.
inline void Chord(std::initializer_list<WORD> modifiers, WORD vk) {
  auto send = [](WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
  };
  for (WORD m : modifiers) send(m, false);
  send(vk, false);
  send(vk, true);
  for (WORD m : modifiers) send(m, true);
}

// The middle of a cell (or a point `dx`, `dy` from its top-left corner) on the screen.
inline POINT CellPoint(const win::StringGrid& grid, int col, int row, int dx = -1, int dy = -1) {
  const RECT r = grid.CellRect(col, row);
  POINT pt{dx < 0 ? (r.left + r.right) / 2 : r.left + dx,
           dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy};
  ClientToScreen(grid.hwnd(), &pt);
  return pt;
}

// The window of `form` in front with the focus on `focus`.
inline bool Activate(HWND form, HWND focus) {
  ShowWindow(form, SW_SHOW);
  SetForegroundWindow(form);
  SetFocus(focus);
  return PumpUntil(form, [&] { return GetForegroundWindow() == form && GetFocus() == focus; });
}

}  // namespace quillorb::grid_test

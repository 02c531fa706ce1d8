// What the stand-in programs do alike: a top-level window of a class of their own, and the
// message loop that runs until that window is destroyed.
#pragma once

#include <windows.h>

namespace standin {

// The published assistant API's messages, as the stand-ins serve them.
inline constexpr UINT kApiRegister = WM_USER + 200;      // wParam a window; toggles: 1 in, 2 out
inline constexpr UINT kApiRecount = WM_USER + 201;       // counts everything again
inline constexpr UINT kApiDisplayText = WM_USER + 207;   // wParam hue and flags, lParam an atom
inline constexpr UINT kApiClientWindow = WM_USER + 213;  // answers the game window served
inline constexpr UINT kApiCounter = WM_USER + 301;       // posted: wParam counter id, lParam n
inline constexpr UINT kApiCast = WM_USER + 302;          // posted: wParam a spell

// Registers `className` for `proc` (arrow cursor, window background) and creates a hidden
// overlapped window of it; nullptr on failure.
inline HWND CreateStandinWindow(HINSTANCE instance, const char* className, WNDPROC proc,
                                const char* caption, int x, int y, int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  if (!RegisterClassA(&wc)) return nullptr;
  return CreateWindowExA(0, className, caption, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr,
                         nullptr, instance, nullptr);
}

inline void RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace standin

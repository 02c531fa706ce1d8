// What the stand-in programs do alike: a top-level window of a class of their own, and the
// message loop that runs until that window is destroyed.
#pragma once

#include <windows.h>

namespace standin {

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

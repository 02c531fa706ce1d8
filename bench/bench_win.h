// Window helpers of the benchmark programs and of the bare programs they are compared with: a
// window class, the message loop, draining the queue and a key chord. Header-only and on
// <windows.h> alone, so that minimal_window.exe, the start-up baseline, links nothing more.
#pragma once

#include <windows.h>

#include <cstddef>

namespace bench {

// Registers the window class `name` of `instance` with `proc`, the arrow cursor and `background`
// (none: the window paints its own background); false when the class cannot be registered (it
// exists).
inline bool RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background = nullptr,
                                HINSTANCE instance = GetModuleHandleA(nullptr)) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

// The thread's message loop, until WM_QUIT.
inline void RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Dispatches what the thread's queue holds (paints, posted messages), without waiting.
inline void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Presses `keys` in order and releases them in reverse order with keybd_event, each with its scan
// code, as a player's hands would: {VK_CONTROL, VK_SHIFT, '5'} types Ctrl+Shift+5.
template <std::size_t N>
void TypeChord(const BYTE (&keys)[N]) {
  const auto scan = [](BYTE vk) { return static_cast<BYTE>(MapVirtualKeyA(vk, 0)); };
  for (std::size_t i = 0; i < N; ++i) keybd_event(keys[i], scan(keys[i]), 0, 0);
  for (std::size_t i = N; i-- > 0;) keybd_event(keys[i], scan(keys[i]), KEYEVENTF_KEYUP, 0);
}

}  // namespace bench

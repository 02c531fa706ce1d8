// The smallest honest Win32 program: registers a window class, creates and shows one top-level
// window and runs a message loop until the window is closed. startup_bench compares
// quillorb.exe's time to a visible window with this one's.
//
// Built a second time as minimal_window_cc.exe with MINIMAL_COMMON_CONTROLS: quillorb.exe's
// manifest (common controls version 6) and InitCommonControlsEx, to tell that cost from the rest.
#include <windows.h>
#ifdef MINIMAL_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include "bench/bench_win.h"

namespace {

constexpr char kClassName[] = "QuillorbMinimalWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
#ifdef MINIMAL_COMMON_CONTROLS
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
#endif
  if (!bench::RegisterWindowClass(kClassName, WindowProc,
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), instance)) {
    return 1;
  }
  HWND window = CreateWindowExA(
      0, kClassName, "Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
      CW_USEDEFAULT, CW_USEDEFAULT, 640, 60, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, showCommand == SW_SHOWDEFAULT ? SW_SHOWNORMAL : showCommand);
  UpdateWindow(window);
  bench::RunMessageLoop();
  return 0;
}

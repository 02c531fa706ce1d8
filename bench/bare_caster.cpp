// The bare program click_bench compares Quillorb's click-to-game time with: one window that, on
// the release of a left click, makes the game client's window (class "Ultima Online") the
// foreground window and types Ctrl+Shift+5 with keybd_event at once, without checking that the
// client is in front. Like Quillorb's strip, a click on it while the client is in front does not
// take the activation. Placed at the screen point given as "x y".
#include <windows.h>

#include <cstdlib>

#include "bench/bench_win.h"

namespace {

constexpr char kClassName[] = "QuillorbBareCaster";
constexpr BYTE kCtrlShift5[] = {VK_CONTROL, VK_SHIFT, '5'};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      // As Quillorb's strip: a click while the client is in front leaves it there.
      if (HWND client = FindWindowA("Ultima Online", nullptr); client == GetForegroundWindow()) {
        return MA_NOACTIVATE;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_LBUTTONUP:
      if (HWND client = FindWindowA("Ultima Online", nullptr)) {
        SetForegroundWindow(client);
        bench::TypeChord(kCtrlShift5);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const int x = __argc > 2 ? std::atoi(__argv[1]) : 0;
  const int y = __argc > 2 ? std::atoi(__argv[2]) : 0;
  if (!bench::RegisterWindowClass(kClassName, WindowProc,
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), instance)) {
    return 1;
  }
  HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Bare caster",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, 200, 80, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  bench::RunMessageLoop();
  return 0;
}

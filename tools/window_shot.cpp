// window_shot CLASS FILE.bmp : waits for a visible window of CLASS, waits until it shows painted on
// the screen and saves its whole window rectangle (frame included) as a BMP.
// window_shot CLASS --close : closes that window as the user would.
// window_shot CLASS --click X Y : clicks the window's client point X, Y with the left button. X and
// Y are at 96 DPI, as the forms are laid out: they are scaled to the window's DPI.
// window_shot CLASS --ctrl-tab : presses Ctrl+Tab in that window (the next page of a dialog).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "win/dpi.h"

namespace {

void CtrlTab(HWND window) {
  SetForegroundWindow(window);
  harness::WaitUntil([&] { return GetForegroundWindow() == window; }, 5000);
  INPUT keys[4] = {};
  const WORD order[4] = {VK_CONTROL, VK_TAB, VK_TAB, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    if (i >= 2) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(4, keys, sizeof keys[0]);
  harness::WaitForQueueHandled(window);
}

}  // namespace

int main(int argc, char** argv) {
  const bool click = argc == 5 && std::string(argv[2]) == "--click";
  if (argc != 3 && !click) {
    std::fprintf(stderr,
                 "usage: window_shot CLASS FILE.bmp | CLASS --close | CLASS --click X Y | "
                 "CLASS --ctrl-tab\n");
    return 2;
  }
  HWND window = nullptr;
  harness::WaitUntil(
      [&] {
        window = FindWindowA(argv[1], nullptr);
        return window && IsWindowVisible(window);
      },
      30000);
  if (!window) {
    std::fprintf(stderr, "no window of class %s\n", argv[1]);
    return 1;
  }
  if (click) {
    const win::Dpi dpi = win::WindowDpi(window);
    POINT pt{dpi.Scale(std::atoi(argv[3])), dpi.Scale(std::atoi(argv[4]))};
    ClientToScreen(window, &pt);
    harness::Click(pt);
    return 0;
  }
  if (std::string(argv[2]) == "--close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (std::string(argv[2]) == "--ctrl-tab") {
    CtrlTab(window);
    return 0;
  }
  // Once the window has answered a message its queue is empty, and pending paints are done.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  // The painted pixels reach the screen a little later (and a first run's desktop comes up
  // black): wait until the window shows more than one colour and two reads in a row agree.
  RECT r = harness::WindowRectOf(window);
  std::vector<COLORREF> previous;
  const bool painted = harness::WaitUntil(
      [&] {
        std::vector<COLORREF> pixels = harness::ScreenPixels(r);
        const bool blank =
            std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) == pixels.end();
        const bool stable = pixels == previous;
        previous = std::move(pixels);
        return !blank && stable;
      },
      15000);
  if (!painted) {
    std::fprintf(stderr, "the window of class %s was not painted on the screen\n", argv[1]);
    return 1;
  }
  if (!harness::SaveScreenshot(r, argv[2])) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}

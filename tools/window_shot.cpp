// window_shot CLASS FILE.bmp : waits for a visible window of CLASS, waits until it shows painted on
// the screen and saves its whole window rectangle (frame included) as a BMP.
// window_shot CLASS --close : closes that window as the user would.
// window_shot CLASS --click X Y : clicks the window's client point X, Y with the left button.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/harness/harness.h"

int main(int argc, char** argv) {
  const bool click = argc == 5 && std::string(argv[2]) == "--click";
  if (argc != 3 && !click) {
    std::fprintf(stderr, "usage: window_shot CLASS FILE.bmp | CLASS --close | CLASS --click X Y\n");
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
    POINT pt{std::atoi(argv[3]), std::atoi(argv[4])};
    ClientToScreen(window, &pt);
    harness::Click(pt);
    return 0;
  }
  if (std::string(argv[2]) == "--close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
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

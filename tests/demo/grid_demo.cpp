// grid_demo.exe [scrolled | open]: shows the demonstration grid. "scrolled": scrolled down with
// row 30 current; "open": the combo box of the current cell dropped down.
#include "tests/demo/grid_demo.h"

#include <windows.h>

#include <cstring>

#include "win/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  quillorb::GridDemoForm form;
  ShowWindow(form.hwnd(), SW_SHOW);
  SetForegroundWindow(form.hwnd());
  SetFocus(form.grid->hwnd());
  if (std::strstr(commandLine, "scrolled")) {
    form.grid->SetTopLeft(1, 24);
    form.grid->SetCurrent(1, 30);
  } else {
    form.grid->SetCurrent(1, 2);
  }
  if (std::strstr(commandLine, "open")) form.combo->SetDroppedDown(true);
  return win::RunMessageLoop(form.hwnd());
}

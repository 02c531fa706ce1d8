// grid_demo.exe [scrolled | open | edit | range]: shows the demonstration grid. "scrolled":
// scrolled down with row 30 current; "open": the combo box of the current cell dropped down;
// "edit": the grid's own editor open (controls switched off); "range": rows 2 to 5 selected.
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
  if (std::strstr(commandLine, "edit")) {
    form.grid->HideControl();
    form.grid->ShowControl = false;
    form.grid->ShowEditor();
  }
  if (std::strstr(commandLine, "range")) {
    form.grid->ShowControl = false;
    form.grid->HideControl();
    form.grid->SetOptions(form.grid->Options() & ~win::GridEditing);
    SetFocus(form.grid->hwnd());
    // Shift+Down three times, with Shift held in this thread's keyboard state.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] |= 0x80;
    SetKeyboardState(keys);
    for (int i = 0; i < 3; ++i) SendMessageA(form.grid->hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    keys[VK_SHIFT] &= 0x7F;
    SetKeyboardState(keys);
  }
  return win::RunMessageLoop(form.hwnd());
}

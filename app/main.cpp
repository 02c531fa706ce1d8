// Program entry: one main window and its message loop.
#include <windows.h>

#include "app/form_main.h"
#include "win/app.h"
#include "win/window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  try {
    win::SetApplicationTitle("Quillorb");
    quillorb::TForm_Main form;
    quillorb::Form_Main = &form;
    form.Create();
    form.Show(showCommand == SW_SHOWDEFAULT ? SW_SHOWNORMAL : showCommand);
    win::RunMessageLoop(form.hwnd());
  } catch (...) {
    win::ReportException();
  }
  return 0;
}

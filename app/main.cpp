// Program entry: one main window and its message loop.
#include <windows.h>

#include "app/form_main.h"
#include "app/single_instance.h"
#include "win/app.h"
#include "win/window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  try {
    // One Quillorb per folder, decided before any file is read: a second start brings the
    // running strip to the front and ends, showing nothing and touching no file.
    const std::wstring folderKey = quillorb::FolderKey(quillorb::ProgramFolderW());
    const quillorb::FolderInstance instance(folderKey);
    if (!instance.First()) {
      quillorb::BringRunningStripToFront(folderKey, 900);
      return 0;
    }
    win::SetApplicationTitle("Quillorb");
    quillorb::TForm_Main form;
    form.Create();
    form.Show(showCommand == SW_SHOWDEFAULT ? SW_SHOWNORMAL : showCommand);
    win::RunMessageLoop(form.hwnd());
  } catch (...) {
    win::ReportException();
  }
  return 0;
}

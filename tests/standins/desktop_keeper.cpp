// Keeps a test session's Wine virtual desktop open between the test programs: Wine closes a virtual
// desktop about a second after its last program has gone, and the next program then waits more
// than a second for a new one (a program without windows, such as a model test, leaves it unused
// long enough). A message-only window makes this program a user of the desktop without showing in
// any window list; it runs until the session's wineserver is stopped.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {
    return 1;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

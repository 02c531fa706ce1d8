// End-to-end harness: runs quillorb.exe (and stand-in programs) in a fresh folder under Wine,
// finds their windows, drives them with real input and window messages, and reads what they
// wrote. Every wait polls with a time-out; nothing sleeps for a fixed time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "model/path.h"

namespace harness {

// Paths are UTF-8 (the form the program's file layer takes), reached through the wide functions.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// A path of the harness as the program's file layer takes it.
inline quillorb::Path AsPath(const std::string& utf8) {
  return quillorb::Path::FromUtf8(utf8);
}

// The folder of the running test program (where quillorb.exe and spells.txt are built).
std::string BinDir();
// A new, empty folder under the temporary folder; `tag` makes it recognisable.
std::string NewTempFolder(const std::string& tag);
void RemoveFolder(const std::string& folder);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Polls `condition` every few milliseconds (handling this thread's messages) until it holds or
// `timeoutMs` passes. Returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// The same with this thread's messages handled as a form's loop does: with the dialog keyboard
// handling of `dialog` (none when nullptr); the messages first, then `condition`.
bool PumpUntil(HWND dialog, const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Handles this thread's messages until its queue is empty.
void Pump(HWND dialog = nullptr);
// Paints what `window` (of this thread) has waiting and returns once those pixels are on the
// screen: Wine copies a window's painted pixels to the screen when its thread finds its message
// queue empty, not when the painting ends.
void ShowPainted(HWND window);

// Polls `read` until `accept` holds for what it returned, or `timeoutMs` passes, and returns that
// very value (the last one read on a time-out): assert on it, not on a second read, which may see
// a later state.
template <class Read, class Accept>
auto WaitForValue(Read read, Accept accept, DWORD timeoutMs = 10000) -> decltype(read()) {
  decltype(read()) value = read();
  if (accept(value)) return value;
  WaitUntil(
      [&] {
        value = read();
        return accept(value);
      },
      timeoutMs);
  return value;
}

// A program started by the harness; it is ended when the object goes.
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // Starts `exe` with `arguments` in `folder`. Throws on failure.
  static Process Start(const std::string& exe, const std::string& arguments,
                       const std::string& folder);

  DWORD Id() const { return pid_; }
  bool Running() const;
  bool WaitForExit(DWORD timeoutMs);
  DWORD ExitCode() const;
  // The first visible top-level window of `className` that belongs to this process.
  HWND WaitForWindow(const char* className, DWORD timeoutMs = 15000) const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// quillorb.exe copied into its own folder, with the files a test chooses.
class Quillorb {
 public:
  // Copies quillorb.exe into `folder` and starts it; waits for its main window unless told not to
  // (then call WaitForMainWindow).
  explicit Quillorb(const std::string& folder, bool copySpells = false, bool wait = true);
  HWND WaitForMainWindow(DWORD timeoutMs = 15000);

  HWND Window() const { return window_; }
  const std::string& Folder() const { return folder_; }
  Process& Proc() { return process_; }
  // The child control with this identifier.
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  // A client point of the main window in screen coordinates (ClientPoint).
  POINT ScreenPoint(int x, int y) const;
  // Closes the main window as the player would (WM_CLOSE) and waits for the program to end.
  bool Close(DWORD timeoutMs = 15000);

 private:
  std::string folder_;
  Process process_;
  HWND window_ = nullptr;
};

// A message box of the process (dialog class "#32770"), its text, and its OK button pressed.
HWND WaitForMessageBox(const Process& process, DWORD timeoutMs = 15000);
std::wstring MessageBoxText(HWND box);
void DismissMessageBox(HWND box);
// The text of a dialog's control, read with WM_GETTEXT in UTF-16; its line ends become "\n".
std::wstring DialogItemText(HWND dialog, int id);

// A point of a window's client area given at 96 DPI, as the forms are laid out, in screen
// coordinates at the window's DPI: the same place on the window at every display scale.
POINT ClientPoint(HWND window, int x, int y);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::vector<HWND> ChildWindows(HWND parent);
RECT WindowRectOf(HWND window);
// The rectangle of `child` in the client coordinates of its parent.
RECT ChildRect(HWND child);
bool IsTopmost(HWND window);
// The window with the keyboard focus in the thread that owns `window` (works across processes).
HWND FocusOf(HWND window);
// The active window of the thread that owns `window` (nullptr once that thread has handled losing
// the activation).
HWND ActiveOf(HWND window);
// Clicks `control` (a child window) in its middle and waits until it has the keyboard focus.
bool ClickToFocus(HWND control);
// Waits until the thread of `window` (of any process) has handled every message posted and all
// input queued for it so far: the paint it is asked for here comes only after them.
bool WaitForQueueHandled(HWND window, DWORD timeoutMs = 10000);

// Real input through SendInput.
void MoveMouse(POINT screen);
// Moves the cursor into the screen's lower-right corner, where no window of the tests goes.
void ParkMouse();
// A single click (0 left, 1 right, 2 middle); when the previous press of that button was at about
// the same place within the double-click time, it first waits that time out, so that the system
// never makes it the second half of a double click.
void Click(POINT screen, int button = 0);
void DoubleClick(POINT screen);
void TypeText(const std::string& text);
// Characters as an input method types them (VK_PACKET), whatever the keyboard layout.
void TypeUnicode(const std::wstring& text);
void PressKey(WORD vk);

COLORREF ScreenPixel(POINT screen);
// The pixels of a screen rectangle, row after row, read in one go (GetPixel on the screen costs
// a round trip per pixel inside a Wine virtual desktop).
std::vector<COLORREF> ScreenPixels(const RECT& screen);
// Saves the screen rectangle as a 24-bit BMP.
bool SaveScreenshot(const RECT& screen, const std::string& bmpPath);

}  // namespace harness

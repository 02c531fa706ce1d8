// Process-wide services: the application title, the message loop, error boxes, and a few facts
// about the program and the user's locale.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/utf8.h"

namespace win {

// The application title: the caption of error boxes (and, for the main window, its taskbar text).
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// The standard error box: the application title as caption, a stop icon, OK.
void ShowErrorBox(const std::string& ansiText) noexcept;
void ShowErrorBox(const quillorb::Utf8& text) noexcept;
void ShowErrorBox(const std::wstring& text) noexcept;

// Runs the message loop until WM_QUIT; keyboard navigation between the controls of
// `dialogWindow` (Tab, arrow keys) is handled the dialog way. Returns the WM_QUIT code.
int RunMessageLoop(HWND dialogWindow);

// The folder of the program file, with its trailing separator: its name may hold letters the ANSI
// code page lacks.
quillorb::Path ProgramDirectory();

// The user's decimal separator (LOCALE_SDECIMAL), '.' when it is not a single character.
char UserDecimalSeparator();

// 8-bit text of the ANSI code page as UTF-16.
std::wstring AnsiToWide(const std::string& text);
// UTF-16 as 8-bit text of the ANSI code page; nullopt when any character has no exact form there
// (no look-alike, no "?").
std::optional<std::string> WideToAnsi(std::wstring_view text);
// ANSI text (a character's name, say) for a text that may hold any letter (UTF-8 to and from
// UTF-16: win/utf8.h).
quillorb::Utf8 AnsiToUtf8(const std::string& text);

// The hourglass cursor while an object of this type lives.
class HourglassScope {
 public:
  HourglassScope()
      : previous_(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;
  ~HourglassScope() { SetCursor(previous_); }

 private:
  HCURSOR previous_;
};

}  // namespace win

// What every window of the program shows the same way: its fonts, its place when it opens, and
// its message boxes. One helper each, so that a dialog, a control and the main window agree.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/handles.h"

namespace win {

// A font as the forms are designed: a face and a pixel height (negative: character height).
struct FontDesc {
  const wchar_t* face = L"Arial";
  int height = -11;
  int weight = FW_NORMAL;
  bool italic = false;
  BYTE charset = ANSI_CHARSET;
  BYTE quality = DEFAULT_QUALITY;
  BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};
Font MakeFont(const FontDesc& desc);
// Arial of `height` pixels, the face of every form.
inline Font ArialFont(int height, int weight = FW_NORMAL, bool italic = false) {
  return MakeFont({.height = height, .weight = weight, .italic = italic});
}
// A font of its own with the same face and size as `font` (Arial 11 pixels without one).
Font CopyFont(HFONT font);
// A copy of a bitmap, so that a window needs nothing of the window it came from.
Bitmap CopyBitmap(HBITMAP bitmap);

// Centres `window` (its outer size) on `over`, or on the screen when `over` is nullptr or its
// rectangle cannot be read. Nothing keeps it inside the screen.
void CenterWindow(HWND window, HWND over = nullptr);

// The program's message box: `text` (UTF-8: it carries names of characters and files) owned by
// `owner`, with `caption`. Returns the button pressed.
int ShowMessage(HWND owner, const std::string& text, UINT flags,
                const std::string& caption = "Quillorb");
int ShowMessage(HWND owner, const wchar_t* text, UINT flags,
                const wchar_t* caption = L"Quillorb") noexcept;
// ShowMessage, with `onAnswer` told the button pressed (IDYES, ...) while the box is still shown
// and active: to hand the activation to another window before the box goes, so that its owner is
// not activated in between.
int ShowMessage(HWND owner, const std::string& text, UINT flags, const std::string& caption,
                const std::function<void(int button)>& onAnswer);

}  // namespace win

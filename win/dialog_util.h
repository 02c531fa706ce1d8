// What every window of the program shows the same way: its fonts, its place when it opens, and
// its message boxes. One helper each, so that a dialog, a control and the main window agree.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/dpi.h"
#include "model/path.h"
#include "win/handles.h"

namespace win {

// A font as the forms are designed: a face and a height in pixels at 96 DPI (negative: the
// character height; -11 is 8 point), made for a window's DPI by MakeFont.
struct FontDesc {
  std::wstring face = L"Arial";
  int height = -11;
  int weight = FW_NORMAL;
  bool italic = false;
  BYTE charset = ANSI_CHARSET;
  BYTE quality = DEFAULT_QUALITY;
  BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
};
// The font at `dpi`: the same point size on every monitor.
Font MakeFont(const FontDesc& desc, Dpi dpi = Dpi());
// Arial `height` pixels high at 96 DPI, the face of every form.
inline FontDesc Arial(int height, int weight = FW_NORMAL, bool italic = false) {
  return {.height = height, .weight = weight, .italic = italic};
}
// What `font`, made for a window at `madeFor`, is as the forms design it (Arial -11 without
// one), so that a window of another DPI can make the same font for itself.
FontDesc DescribeFont(HFONT font, Dpi madeFor);
// A copy of a bitmap, so that a window needs nothing of the window it came from.
Bitmap CopyBitmap(HBITMAP bitmap);

// Centres `window` (its outer size) on `over`, or on the monitor of the window's owner (of the
// window itself without one) when `over` is nullptr or its rectangle cannot be read. Nothing keeps
// it inside the monitor. A window that changes its scale on the way (it landed on a monitor of
// another DPI) is centred again at its new size.
void CenterWindow(HWND window, HWND over = nullptr);

// The program's message box: `text` (it carries names of characters and files) owned by `owner`,
// with `caption`. Returns the button pressed.
int ShowMessage(HWND owner, const quillorb::Utf8& text, UINT flags,
                const quillorb::Utf8& caption = "Quillorb");
int ShowMessage(HWND owner, const wchar_t* text, UINT flags,
                const wchar_t* caption = L"Quillorb") noexcept;
// ShowMessage, with `onAnswer` told the button pressed (IDYES, ...) while the box is still shown
// and active: to hand the activation to another window before the box goes, so that its owner is
// not activated in between.
int ShowMessage(HWND owner, const quillorb::Utf8& text, UINT flags, const quillorb::Utf8& caption,
                const std::function<void(int button)>& onAnswer);

}  // namespace win

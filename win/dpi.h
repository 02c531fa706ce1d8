// Display scaling. Every window is laid out in pixels at 96 DPI, the scale the forms were drawn
// at; a Dpi turns those lengths into the pixels of the monitor the window stands on (1.5 times at
// 144 DPI, twice at 192). The forms keep writing 96-DPI coordinates: the form layer scales them
// when it creates and places controls, and again when the window moves to a monitor of another
// scale (WM_DPICHANGED).
#pragma once

#include <windows.h>

namespace win {

class Dpi {
 public:
  static constexpr int kDesign = 96;

  constexpr Dpi() = default;
  constexpr explicit Dpi(int value) : value_(value > 0 ? value : kDesign) {}

  constexpr int Value() const { return value_; }
  // A 96-DPI length in pixels at this scale, rounded to the nearest (halves away from zero), so
  // that edges scaled one by one still meet: a control's right edge is scaled, not its width.
  int Scale(int length) const { return MulDiv(length, value_, kDesign); }
  POINT Scale(POINT p) const { return {Scale(p.x), Scale(p.y)}; }
  RECT Scale(const RECT& r) const {
    return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)};
  }
  // Pixels at this scale as a 96-DPI length.
  int Unscale(int pixels) const { return MulDiv(pixels, kDesign, value_); }
  // The whole multiple that pixel art and one-pixel lines are drawn at: the largest that does not
  // pass this scale (1 up to 191 DPI, 2 from 192), so that they stay sharp and never outgrow
  // the place laid out for them.
  constexpr int Multiple() const { return value_ >= kDesign ? value_ / kDesign : 1; }

  constexpr bool operator==(const Dpi&) const = default;

 private:
  int value_ = kDesign;
};

// The DPI `window` is laid out at: the one its top-level form keeps (it follows the form's
// WM_DPICHANGED), else what the system says of the window, else the screen's LOGPIXELSY. Works on
// windows of other processes too.
Dpi WindowDpi(HWND window);
// The system DPI (the primary monitor's as the process started).
Dpi SystemDpi();
// The DPI of the monitor that holds the point (the nearest one when none does).
Dpi MonitorDpiAt(POINT screen);
// Records on a top-level window the DPI its form is laid out at (WindowDpi reads it back); a
// window that goes must drop it (ForgetWindowDpi).
void KeepWindowDpi(HWND window, Dpi dpi);
void ForgetWindowDpi(HWND window);

// The window rectangle around a client rectangle, with the frame measured at `dpi`
// (AdjustWindowRectExForDpi; where the system lacks it, the frame at the system DPI).
RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, Dpi dpi);

// Messages of display scaling the SDK headers leave out for older systems.
inline constexpr UINT kDpiChangedMessage = 0x02E0;        // WM_DPICHANGED
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

}  // namespace win

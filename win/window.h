// The base of every window of our own: one window procedure for all, `this` stored at
// WM_NCCREATE, typed handling in the derived class. No exception crosses the window procedure.
// Our windows are Unicode windows (registered and created with the wide calls): WM_CHAR brings a
// UTF-16 unit, and common controls send them their wide notifications. Their texts are ANSI, as
// everywhere in the window layer, converted at the calls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/dpi.h"

namespace win {

// Sent by a form whose DPI changed to every window inside it, parents before their children:
// wParam the new DPI, lParam the form's FontSwaps (the fonts remade for it, old and new; a form
// inside adds its own). A window of ours re-lays itself out at the new scale.
extern const UINT kRescaleMessage;

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

  std::string Text() const;
  void SetText(const std::string& text);
  RECT ClientRect() const;
  void Invalidate(const RECT* rect = nullptr) const;
  void SetEnabled(bool enabled) const { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  // The DPI the window is laid out at (its form's).
  Dpi Scaling() const { return WindowDpi(hwnd_); }

 protected:
  // Registers `className` once per process with our window procedure.
  static void RegisterClass(const char* className, UINT style, HBRUSH background, HICON icon);
  void CreateWindowOf(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId);
  // A child window placed at 96-DPI coordinates of its parent, scaled to the parent's DPI; it
  // keeps its place at every later scale.
  void CreateChildOf(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                     int left, int top, int width, int height, HWND parent, int id);
  // The window's own re-layout at a new DPI (kRescaleMessage); by default a child made by
  // CreateChildOf goes back to its place.
  virtual void Rescale(Dpi dpi);

  // Everything not handled goes to DefWindowProc.
  // Resizes the window so that its client area is exactly width x height, whatever frame the
  // system (or a window manager) handed out.
  void FitClientArea(int width, int height);
  // Paints through an off-screen buffer of the client size: `paint` draws the whole client area
  // into `dc`; only the invalid part reaches the screen.
  void PaintBuffered(const std::function<void(HDC dc, const RECT& dirty)>& paint);

  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  RECT design_{};  // a child's place at 96 DPI
  bool placed_ = false;
};

// Shows an exception that reached a message boundary in the standard error box.
void ReportException() noexcept;

}  // namespace win

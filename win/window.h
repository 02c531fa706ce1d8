// The base of every window of our own: one window procedure for all, `this` stored at
// WM_NCCREATE, typed handling in the derived class. No exception crosses the window procedure.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace win {

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

 protected:
  // Registers `className` once per process with our window procedure.
  static void RegisterClass(const char* className, UINT style, HBRUSH background, HICON icon);
  void CreateWindowOf(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId);

  // Everything not handled goes to DefWindowProc.
  // Resizes the window so that its client area is exactly width x height, whatever frame the
  // system (or a window manager) handed out.
  void FitClientArea(int width, int height);
  // Paints through an off-screen buffer of the client size: `paint` draws the whole client area
  // into `dc`; only the invalid part reaches the screen.
  void PaintBuffered(const std::function<void(HDC dc, const RECT& dirty)>& paint);

  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// Shows an exception that reached a message boundary in the standard error box.
void ReportException() noexcept;

}  // namespace win

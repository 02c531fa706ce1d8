#include "win/window.h"

#include <exception>
#include <stdexcept>

#include "win/app.h"
#include "win/child_window.h"
#include "win/handles.h"

namespace win {

const UINT kRescaleMessage = RegisterWindowMessageA("Quillorb.Rescale");

Window::~Window() {
  if (hwnd_) {
    // Detach first so that messages sent during destruction no longer reach a dying object.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::string Window::Text() const {
  // Read through the ANSI call, which converts the window's text as it does an edit field's.
  return WindowText(hwnd_);
}

void Window::SetText(const std::string& text) {
  if (Text() != text) SetWindowTextW(hwnd_, AnsiToWide(text).c_str());
}

RECT Window::ClientRect() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return rc;
}

void Window::Invalidate(const RECT* rect) const {
  InvalidateRect(hwnd_, rect, FALSE);
}

void Window::RegisterClass(const char* className, UINT style, HBRUSH background, HICON icon) {
  const std::wstring name = AnsiToWide(className);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, name.c_str(), &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &Window::Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name.c_str();
  if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx failed");
}

void Window::CreateWindowOf(const char* className, const std::string& text, DWORD style,
                            DWORD exStyle, int x, int y, int width, int height, HWND parent,
                            HMENU menuOrId) {
  HWND created =
      CreateWindowExW(exStyle, AnsiToWide(className).c_str(), AnsiToWide(text).c_str(), style, x, y,
                      width, height, parent, menuOrId, GetModuleHandleW(nullptr), this);
  if (!created) throw std::runtime_error(std::string("cannot create window ") + className);
}

void Window::CreateChildOf(const char* className, const std::string& text, DWORD style,
                           DWORD exStyle, int left, int top, int width, int height, HWND parent,
                           int id) {
  design_ = RECT{left, top, left + width, top + height};
  placed_ = true;
  const RECT at = WindowDpi(parent).Scale(design_);
  CreateWindowOf(className, text, style, exStyle, at.left, at.top, at.right - at.left,
                 at.bottom - at.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Window::Rescale(Dpi dpi) {
  if (!placed_) return;
  const RECT at = dpi.Scale(design_);
  SetWindowPos(hwnd_, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::FitClientArea(int width, int height) {
  RECT client = ClientRect();
  if (client.right == width && client.bottom == height) return;
  RECT window{};
  GetWindowRect(hwnd_, &window);
  SetWindowPos(hwnd_, nullptr, 0, 0, (window.right - window.left) + width - client.right,
               (window.bottom - window.top) + height - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::PaintBuffered(const std::function<void(HDC dc, const RECT& dirty)>& paint) {
  PaintScope scope(hwnd_);
  const RECT client = ClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  MemoryDc memory(CreateCompatibleDC(scope.dc()));
  Bitmap buffer(CreateCompatibleBitmap(scope.dc(), client.right, client.bottom));
  SelectScope select(memory.get(), buffer.get());
  paint(memory.get(), scope.rect());
  const RECT& r = scope.rect();
  BitBlt(scope.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), r.left, r.top,
         SRCCOPY);
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRescaleMessage) {
    Rescale(Dpi(static_cast<int>(wp)));
    return 0;
  }
  return Default(msg, wp, lp);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);

  LRESULT result = 0;
  try {
    result = self->OnMessage(msg, wp, lp);
  } catch (...) {
    ReportException();
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

void ReportException() noexcept {
  try {
    throw;
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox(quillorb::Utf8("Unknown error"));
  }
}

}  // namespace win

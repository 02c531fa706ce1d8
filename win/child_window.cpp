#include "win/child_window.h"

#include <stdexcept>
#include <utility>

#include "win/app.h"
#include "win/window.h"

namespace win {

std::string WindowText(HWND hwnd) {
  if (!hwnd) return {};
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring WindowTextW(HWND hwnd) {
  if (!hwnd) return {};
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

ChildWindow::~ChildWindow() {
  if (!hwnd_) return;
  // The link goes first: messages sent while the window is destroyed reach no dying object.
  link_.Remove();
  DestroyWindow(std::exchange(hwnd_, nullptr));
}

void ChildWindow::CreateChild(const char* className, const std::string& text, DWORD style,
                              DWORD exStyle, int left, int top, int width, int height, HWND parent,
                              int id) {
  // A Unicode window, as its subclass makes it: created as one, it keeps every message's form.
  const std::wstring wideClass(className, className + std::char_traits<char>::length(className));
  design_ = RECT{left, top, left + width, top + height};
  const RECT at = WindowDpi(parent).Scale(design_);
  HWND created = CreateWindowExW(
      exStyle, wideClass.c_str(), AnsiToWide(text).c_str(), style | WS_CHILD, at.left, at.top,
      at.right - at.left, at.bottom - at.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!created) throw std::runtime_error(std::string("cannot create a child window ") + className);
  hwnd_ = created;
  link_.Install(hwnd_);
  SendMessageW(hwnd_, WM_SETFONT, static_cast<WPARAM>(SendMessageW(parent, WM_GETFONT, 0, 0)),
               FALSE);
}

void ChildWindow::SetText(const std::string& text) {
  if (Text() != text) SetWindowTextA(hwnd_, text.c_str());
}

quillorb::Utf8 ChildWindow::Utf8Text() const {
  return Utf8FromWide(WindowTextW(hwnd_));
}

void ChildWindow::SetUtf8Text(const quillorb::Utf8& text) {
  if (Utf8Text() != text) SetWindowTextW(hwnd_, Wide(text).c_str());
}

void ChildWindow::SetFont(HFONT font, bool redraw) {
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

void ChildWindow::SetBounds(int left, int top, int width, int height) {
  design_ = RECT{left, top, left + width, top + height};
  placed_ = true;
  Rescale(WindowDpi(hwnd_));
}

void ChildWindow::PlaceAt(const RECT& pixels) {
  placed_ = false;
  SetWindowPos(hwnd_, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
               pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildWindow::Rescale(Dpi dpi) {
  if (!placed_ || !hwnd_) return;
  const RECT at = dpi.Scale(design_);
  SetWindowPos(hwnd_, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ChildWindow::Link::OnSubclassMessage(HWND, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRescaleMessage) {
    owner_.Rescale(Dpi(static_cast<int>(wp)));
    return 0;
  }
  return owner_.OnChildMessage(msg, wp, lp);
}

void ChildWindow::SetTabOrderAfter(HWND previous) const {
  SetWindowPos(hwnd_, previous ? previous : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

ChildWindow* ChildWindow::FromHandle(HWND hwnd) {
  Link* link = Subclass::Find<Link>(hwnd);
  return link ? &link->owner_ : nullptr;
}

}  // namespace win

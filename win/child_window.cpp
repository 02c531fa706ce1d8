#include "win/child_window.h"

#include <commctrl.h>

#include <stdexcept>

#include "win/window.h"

namespace win {
namespace {
constexpr char kLinkProperty[] = "Quillorb.Control";
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

std::string WindowText(HWND hwnd) {
  if (!hwnd) return {};
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

ChildWindow::~ChildWindow() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  Detach();
  DestroyWindow(hwnd);
}

void ChildWindow::CreateChild(const char* className, const std::string& text, DWORD style,
                              DWORD exStyle, int left, int top, int width, int height, HWND parent,
                              int id) {
  HWND created = CreateWindowExA(
      exStyle, className, text.c_str(), style | WS_CHILD, left, top, width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!created) throw std::runtime_error(std::string("cannot create a child window ") + className);
  hwnd_ = created;
  SetPropA(hwnd_, kLinkProperty, this);
  SetWindowSubclass(hwnd_, &ChildWindow::SubclassProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  SendMessageA(hwnd_, WM_SETFONT, static_cast<WPARAM>(SendMessageA(parent, WM_GETFONT, 0, 0)),
               FALSE);
}

void ChildWindow::Detach() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, &ChildWindow::SubclassProc, kSubclassId);
  RemovePropA(hwnd_, kLinkProperty);
  hwnd_ = nullptr;
}

void ChildWindow::SetText(const std::string& text) {
  if (Text() != text) SetWindowTextA(hwnd_, text.c_str());
}

void ChildWindow::SetFont(HFONT font, bool redraw) {
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

void ChildWindow::SetBounds(int left, int top, int width, int height) const {
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildWindow::SetTabOrderAfter(HWND previous) const {
  SetWindowPos(hwnd_, previous ? previous : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

ChildWindow* ChildWindow::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<ChildWindow*>(GetPropA(hwnd, kLinkProperty)) : nullptr;
}

LRESULT ChildWindow::DefaultChild(UINT msg, WPARAM wp, LPARAM lp) {
  return DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK ChildWindow::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR ref) {
  auto* self = reinterpret_cast<ChildWindow*>(ref);
  if (msg == WM_NCDESTROY) {
    // The window goes first (its parent is being destroyed): cut the link, forget the handle.
    self->Detach();
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  try {
    return self->OnChildMessage(msg, wp, lp);
  } catch (...) {
    ReportException();
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
}

}  // namespace win

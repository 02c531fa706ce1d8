#include "win/child_window.h"

#include <stdexcept>

#include "win/window.h"

namespace win {
namespace {
constexpr char kLinkProperty[] = "Quillorb.Control";
constexpr char kOriginalProperty[] = "Quillorb.ControlProc";
}  // namespace

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

void HookWindowProc(HWND hwnd, WNDPROC proc, const char* original) {
  const LONG_PTR previous = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  SetPropA(hwnd, original, reinterpret_cast<HANDLE>(previous));
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

void UnhookWindowProc(HWND hwnd, WNDPROC proc, const char* original) {
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(proc)) return;
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(hwnd, original)));
  RemovePropA(hwnd, original);
}

LRESULT CallOriginalProc(HWND hwnd, const char* original, UINT msg, WPARAM wp, LPARAM lp) {
  auto* proc = reinterpret_cast<WNDPROC>(GetPropA(hwnd, original));
  return proc ? CallWindowProcW(proc, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
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
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  HookWindowProc(hwnd_, &ChildWindow::SubclassProc, kOriginalProperty);
  original_ = reinterpret_cast<WNDPROC>(GetPropA(hwnd_, kOriginalProperty));
  SendMessageA(hwnd_, WM_SETFONT, static_cast<WPARAM>(SendMessageA(parent, WM_GETFONT, 0, 0)),
               FALSE);
}

void ChildWindow::Detach() {
  if (!hwnd_) return;
  UnhookWindowProc(hwnd_, &ChildWindow::SubclassProc, kOriginalProperty);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
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
  if (!hwnd) return nullptr;
  // Asked for every message of every control: the window's own data answers at once, while a
  // property costs Wine a server request. That data is only ours while our procedure is the
  // window's (the system classes leave it to the program; our own windows keep theirs there).
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
    return reinterpret_cast<ChildWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return static_cast<ChildWindow*>(GetPropA(hwnd, kLinkProperty));
}

LRESULT ChildWindow::DefaultChild(UINT msg, WPARAM wp, LPARAM lp) {
  return original_ ? CallWindowProcW(original_, hwnd_, msg, wp, lp)
                   : DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK ChildWindow::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ChildWindow* self = FromHandle(hwnd);
  if (!self) return CallOriginalProc(hwnd, kOriginalProperty, msg, wp, lp);  // left in a chain
  if (msg == WM_NCDESTROY) {
    // The window goes first (its parent is being destroyed): cut the link, forget the handle.
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOriginalProperty));
    self->Detach();
    return original ? CallWindowProcW(original, hwnd, msg, wp, lp)
                    : DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->OnChildMessage(msg, wp, lp);
  } catch (...) {
    ReportException();
    return CallOriginalProc(hwnd, kOriginalProperty, msg, wp, lp);
  }
}

}  // namespace win

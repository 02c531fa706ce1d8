#include "win/edit.h"

#include <commctrl.h>

#include <stdexcept>

#include "win/window.h"

namespace win {

Edit::Edit(HWND parent, int id, int left, int top, int width, int height, DWORD extraStyle) {
  hwnd_ =
      CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, left, top,
                      width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) throw std::runtime_error("cannot create an edit control");
  Attach(hwnd_);
  SetWindowSubclass(hwnd_, &Edit::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SendMessageA(hwnd_, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
}

Edit::~Edit() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, &Edit::SubclassProc, 1);
    Attach(nullptr);
    DestroyWindow(hwnd_);
  }
}

std::string Edit::Text() const {
  int length = GetWindowTextLengthA(hwnd_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void Edit::SetText(const std::string& text) {
  if (Text() != text) SetWindowTextA(hwnd_, text.c_str());
}

Edit::Selection Edit::GetSelection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end > start ? end - start : 0};
}

void Edit::SetSelection(size_t start, size_t length) {
  SendMessageA(hwnd_, EM_SETSEL, start, static_cast<LPARAM>(start + length));
}

void Edit::SelectAll() {
  SendMessageA(hwnd_, EM_SETSEL, 0, -1);
}

void Edit::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  brush_.reset();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Edit::SetTabOrderAfter(HWND previous) const {
  SetWindowPos(hwnd_, previous ? previous : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Edit::OnParentCommand(WORD code) {
  switch (code) {
    case EN_CHANGE:
      DoChange();
      return true;
    case EN_SETFOCUS:
      DoEnter();
      return true;
    case EN_KILLFOCUS:
      DoExit();
      return true;
    default:
      return false;
  }
}

bool Edit::OnParentColor(HDC dc, LRESULT& result) {
  if (!brush_) brush_.reset(CreateSolidBrush(color_));
  SetBkColor(dc, color_);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  result = reinterpret_cast<LRESULT>(brush_.get());
  return true;
}

void Edit::DoChange() {
  if (OnChange) OnChange(*this);
}
void Edit::DoEnter() {
  if (OnEnter) OnEnter(*this);
}
void Edit::DoExit() {
  if (OnExit) OnExit(*this);
}

LRESULT Edit::OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefaultEdit(msg, wp, lp);
}

LRESULT Edit::DefaultEdit(UINT msg, WPARAM wp, LPARAM lp) {
  return DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Edit::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR ref) {
  auto* self = reinterpret_cast<Edit*>(ref);
  try {
    return self->OnEditMessage(msg, wp, lp);
  } catch (...) {
    ReportException();
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
}

}  // namespace win

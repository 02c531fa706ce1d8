#include "win/edit.h"

namespace win {

Edit::Edit(HWND parent, int id, int left, int top, int width, int height, DWORD extraStyle) {
  CreateChild("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | extraStyle, WS_EX_CLIENTEDGE,
              left, top, width, height, parent, id);
  // The font came with the window, before this object took its messages: set the margins now.
  SendMessageA(hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
}

LRESULT Edit::OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_SETFONT) return OnEditMessage(msg, wp, lp);
  // A new font brings the font's own margins, a few pixels too wide for a small field.
  const LRESULT result = OnEditMessage(msg, wp, lp);
  DefaultEdit(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kMargin, kMargin));
  return result;
}

void Edit::ShowFromStart() {
  SendMessageA(hwnd(), EM_SETSEL, 0, 0);
  SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
}

Edit::Selection Edit::GetSelection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end > start ? end - start : 0};
}

void Edit::SetSelection(size_t start, size_t length) {
  SendMessageA(hwnd(), EM_SETSEL, start, static_cast<LPARAM>(start + length));
}

void Edit::SelectAll() {
  SendMessageA(hwnd(), EM_SETSEL, 0, -1);
}

void Edit::SetColor(COLORREF color) {
  if (color == color_) return;
  color_ = color;
  brush_.reset();
  InvalidateRect(hwnd(), nullptr, TRUE);
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

}  // namespace win

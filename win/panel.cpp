#include "win/panel.h"

#include "win/handles.h"

namespace win {

Panel::Panel(HWND parent, int id, int left, int top, int width, int height,
             const std::string& caption) {
  RegisterClass("QuillorbPanel", 0, nullptr, nullptr);
  CreateChildOf("QuillorbPanel", caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, left, top,
                width, height, parent, id);
}

void Panel::SetOuterBevel(Bevel bevel) {
  outer_ = bevel;
  Invalidate();
}

void Panel::Paint() {
  PaintScope paint(hwnd());
  RECT r = ClientRect();
  FillRect(paint.dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
  if (outer_ == Bevel::Lowered) DrawEdge(paint.dc(), &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (outer_ == Bevel::Raised) DrawEdge(paint.dc(), &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  std::string caption = Text();
  SelectScope select(paint.dc(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(paint.dc(), TRANSPARENT);
  SetTextColor(paint.dc(), GetSysColor(COLOR_BTNTEXT));
  DrawTextA(paint.dc(), caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT Panel::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      if (LOWORD(lp)) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
      return DLGC_STATIC;  // nothing to type into: the focus walk passes it by
    case WM_SETTEXT: {
      LRESULT result = Default(msg, wp, lp);
      Invalidate();
      return result;
    }
    default:
      return Window::OnMessage(msg, wp, lp);
  }
}

}  // namespace win

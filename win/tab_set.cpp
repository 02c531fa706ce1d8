#include "win/tab_set.h"

#include <windowsx.h>

#include "win/handles.h"

namespace win {

namespace {

// A line `m` pixels thick from `a` to `b` (without `b`, as LineTo draws): m one-pixel lines side
// by side, moved by `step` one after the other (inwards of the shape they outline).
void Line(HDC dc, POINT a, POINT b, int m, POINT step) {
  for (int i = 0; i < m; ++i) {
    MoveToEx(dc, a.x + step.x * i, a.y + step.y * i, nullptr);
    LineTo(dc, b.x + step.x * i, b.y + step.y * i);
  }
}

}  // namespace

TabSet::TabSet(HWND parent, int id, int left, int top, int width, int height)
    : dpi_(WindowDpi(parent)) {
  RegisterClass("QuillorbTabSet", 0, nullptr, nullptr);
  CreateChildOf("QuillorbTabSet", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, left, top, width,
                height, parent, id);
}

void TabSet::Rescale(Dpi dpi) {
  Window::Rescale(dpi);
  dpi_ = dpi;
  Layout();
  Invalidate();
}

void TabSet::SetTabs(std::vector<std::string> tabs) {
  tabs_ = std::move(tabs);
  if (index_ >= static_cast<int>(tabs_.size())) index_ = tabs_.empty() ? -1 : 0;
  Layout();
  Invalidate();
}

void TabSet::SetTabIndex(int index) {
  if (index < 0 || index >= static_cast<int>(tabs_.size()) || index == index_) return;
  index_ = index;
  Invalidate();
}

void TabSet::SetMetrics(int tabHeight, int startMargin, int endMargin) {
  tabHeight_ = tabHeight;
  startMargin_ = startMargin;
  endMargin_ = endMargin;
  Layout();
  Invalidate();
}

void TabSet::Layout() {
  textWidth_.assign(tabs_.size(), 0);
  start_.assign(tabs_.size(), 0);
  WindowDc screen(nullptr);
  SelectScope select(screen.get(), font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  const int edge = dpi_.Scale(kEdge);
  int x = dpi_.Scale(startMargin_);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    SIZE size{};
    GetTextExtentPoint32A(screen.get(), tabs_[i].c_str(), static_cast<int>(tabs_[i].size()), &size);
    textWidth_[i] = size.cx;
  }
  // Text that grows a little faster than the scale (fonts come in whole pixels) must not push
  // the last tab out of the window: the tabs give up some of their padding instead.
  const RECT client = ClientRect();
  int text = 0;
  for (int w : textWidth_) text += w;
  const int room =
      client.right - x - edge - dpi_.Scale(endMargin_) - edge * static_cast<int>(tabs_.size());
  if (client.right > 0 && text > room && room > 0) {
    for (int& w : textWidth_) w = w * room / text;
  }
  for (size_t i = 0; i < tabs_.size(); ++i) {
    start_[i] = x;
    x += edge + textWidth_[i];  // neighbours share one slanted side
  }
}

RECT TabSet::TabRect(int i) const {
  const auto k = static_cast<size_t>(i);
  const int edge = dpi_.Scale(kEdge);
  return RECT{start_[k] + edge / 2, 0, start_[k] + edge + textWidth_[k] + edge / 2 + 1,
              dpi_.Scale(tabHeight_)};
}

int TabSet::TabAt(POINT client) const {
  for (int i = 0; i < static_cast<int>(tabs_.size()); ++i) {
    RECT r = TabRect(i);
    if (client.x >= r.left && client.x < r.right && client.y >= 0 && client.y < r.bottom) {
      return i;
    }
  }
  return -1;
}

void TabSet::DrawTab(HDC dc, int i, bool selected) const {
  const auto k = static_cast<size_t>(i);
  const int edge = dpi_.Scale(kEdge);
  const int m = dpi_.Multiple();
  const int left = start_[k];
  const int right = left + 2 * edge + textWidth_[k];
  const int bottom = dpi_.Scale(tabHeight_) - 1;
  POINT shape[4] = {{left, 0}, {left + edge, bottom}, {right - edge, bottom}, {right, 0}};
  Brush fill(CreateSolidBrush(GetSysColor(selected ? COLOR_BTNFACE : COLOR_WINDOW)));
  SelectScope brush(dc, fill.get());
  SelectScope pen(dc, GetStockObject(NULL_PEN));
  Polygon(dc, shape, 4);

  Pen dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME)));
  Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  Pen light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
  // The outline thickens inwards: the sides towards the middle, the foot upwards.
  const POINT in{1, 0}, out{-1, 0}, up{0, -1};
  SelectObject(dc, dark.get());
  Line(dc, {left, 0}, {left + edge, bottom}, m, in);
  Line(dc, {left + edge, bottom}, {right - edge, bottom}, m, up);
  Line(dc, {right - edge, bottom}, {right + 1, -1}, m, out);
  if (selected) {
    SelectObject(dc, light.get());
    Line(dc, {left + m, 0}, {left + edge, bottom - m}, m, in);
    SelectObject(dc, shadow.get());
    Line(dc, {left + edge + m, bottom - m}, {right - edge, bottom - m}, m, up);
    Line(dc, {right - edge, bottom - m}, {right, -1}, m, out);
  }
  SelectObject(dc, GetStockObject(NULL_PEN));

  RECT text{left + edge, m, right - edge + m, bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, tabs_[k].c_str(), static_cast<int>(tabs_[k].size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TabSet::Paint(HDC dc) {
  RECT client = ClientRect();
  // The background: the dithered face of a tab strip.
  static const WORD kDither[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  Bitmap pattern(CreateBitmap(8, 8, 1, 1, kDither));
  Brush dither(CreatePatternBrush(pattern.get()));
  SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &client, dither.get());

  SelectScope font(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  // Unselected tabs from the right, so each overlaps its right neighbour; the selected one last.
  for (int i = static_cast<int>(tabs_.size()) - 1; i >= 0; --i) {
    if (i != index_) DrawTab(dc, i, false);
  }
  // The line the tabs hang from, broken under the selected tab.
  Pen dark(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME)));
  SelectScope pen(dc, dark.get());
  Line(dc, {0, 0}, {client.right, 0}, dpi_.Multiple(), {0, 1});
  if (index_ >= 0) DrawTab(dc, index_, true);
}

LRESULT TabSet::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintBuffered([this](HDC dc, const RECT&) { Paint(dc); });
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wp);
      Layout();
      if (LOWORD(lp)) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
      return DLGC_STATIC;  // mouse only: the focus walk passes it by
    case WM_LBUTTONDOWN: {
      int hit = TabAt(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (hit >= 0 && hit != index_) {
        index_ = hit;
        Invalidate();
        UpdateWindow(hwnd());
        if (OnClick) OnClick(*this);
      }
      return 0;
    }
    default:
      return Window::OnMessage(msg, wp, lp);
  }
}

}  // namespace win

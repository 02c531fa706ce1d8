// The string grid's layout and painting: scroll bars that follow the model, invalidation by cell
// and selection, and the double-buffered paint of the cells in the dirty area.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "win/handles.h"
#include "win/string_grid.h"

namespace win {

using quillorb::GridCoord;

void StringGrid::Relayout() {
  if (!hwnd()) return;
  layoutDirty_ = true;
  InvalidateAll();
}

const quillorb::GridModel& StringGrid::Laid() const {
  if (layoutDirty_) {
    auto* self = const_cast<StringGrid*>(this);
    self->layoutDirty_ = false;
    self->UpdateScrollBars();
  }
  return model_;
}

void StringGrid::UpdateScrollBars() {
  if (!hwnd() || updatingScrollBars_) return;
  updatingScrollBars_ = true;
  // Showing or hiding one bar changes the client area and so the other's range: settle it.
  for (int pass = 0; pass < 3; ++pass) {
    const RECT before = ClientRect();
    model_.SetClientSize(before.right, before.bottom);
    auto apply = [&](int bar, bool wanted, int first, int count, int maxFirst, int position) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      if (wanted && maxFirst > first) {
        si.nMin = first;
        si.nMax = count - 1;
        si.nPage = static_cast<UINT>(count - maxFirst);
        si.nPos = position;
      }
      // Setting a scroll bar redraws it: only when something changed.
      SCROLLINFO now{};
      now.cbSize = sizeof now;
      now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      const bool shown = GetScrollInfo(hwnd(), bar, &now) && now.nMax > now.nMin;
      const bool same = shown ? (now.nMin == si.nMin && now.nMax == si.nMax &&
                                 now.nPage == si.nPage && now.nPos == si.nPos)
                              : si.nMax <= si.nMin;
      if (same) return;
      // Drawing a scroll bar is slow on some systems: when only the position moved, the bar is
      // redrawn once the queue is empty, so that a burst of scrolls draws it once.
      const bool moveOnly = shown && now.nMin == si.nMin && now.nMax == si.nMax &&
                            now.nPage == si.nPage && si.nMax > si.nMin;
      SetScrollInfo(hwnd(), bar, &si, !moveOnly);
      if (moveOnly && !scrollBarRedrawPosted_) {
        scrollBarRedrawPosted_ = true;
        PostMessageA(hwnd(), kRedrawScrollBars, 0, 0);
      }
    };
    const bool vertical =
        scrollBars_ == GridScrollBars::Vertical || scrollBars_ == GridScrollBars::Both;
    const bool horizontal =
        scrollBars_ == GridScrollBars::Horizontal || scrollBars_ == GridScrollBars::Both;
    apply(SB_VERT, vertical, FixedRows(), RowCount(), model_.MaxTopRow(), TopRow());
    apply(SB_HORZ, horizontal, FixedCols(), ColCount(), model_.MaxLeftCol(), LeftCol());
    const RECT after = ClientRect();
    if (after.right == before.right && after.bottom == before.bottom) break;
  }
  const RECT client = ClientRect();
  model_.SetClientSize(client.right, client.bottom);
  updatingScrollBars_ = false;
}

void StringGrid::InvalidateAll() {
  if (!hwnd() || wholeInvalid_) return;
  wholeInvalid_ = true;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void StringGrid::InvalidateCell(int col, int row) {
  if (!hwnd() || wholeInvalid_) return;
  // Many cells at once (a fill): one invalidation for all.
  if (++invalidCells_ > 16) {
    InvalidateAll();
    return;
  }
  RECT r = CellRect(col, row);
  if (IsRectEmpty(&r)) return;  // not on screen
  if (options_ & GridRowSelect) {
    r = ClientRect();
    const RECT cell = CellRect(FixedCols(), row);
    r.top = cell.top;
    r.bottom = cell.bottom;
  }
  if (IsRectEmpty(&r)) return;
  InflateRect(&r, model_.GridLineWidth(), model_.GridLineWidth());
  InvalidateRect(hwnd(), &r, FALSE);
}

void StringGrid::InvalidateSelection() {
  if (!hwnd() || wholeInvalid_) return;
  const quillorb::GridRect s = model_.Selection();
  RECT a = CellRect(std::max(s.left, LeftCol()), std::max(s.top, TopRow()));
  RECT b = CellRect(s.right, s.bottom);
  if (IsRectEmpty(&b)) b = ClientRect();
  if (IsRectEmpty(&a)) return;
  RECT r{a.left, a.top, b.right, b.bottom};
  if (options_ & GridRowSelect) {
    r.left = 0;
    r.right = ClientRect().right;
  }
  InflateRect(&r, model_.GridLineWidth(), model_.GridLineWidth());
  InvalidateRect(hwnd(), &r, FALSE);
}

void StringGrid::PaintThroughBuffer() {
  PaintScope scope(hwnd());
  const RECT client = ClientRect();
  if (client.right <= 0 || client.bottom <= 0) return;
  // One off-screen bitmap of the client size, kept between paints.
  if (!buffer_.dc) {
    buffer_.dc.reset(CreateCompatibleDC(scope.dc()));
    buffer_.initial = GetCurrentObject(buffer_.dc.get(), OBJ_BITMAP);
  }
  if (!buffer_.bitmap || buffer_.width < client.right || buffer_.height < client.bottom) {
    // The old bitmap is let go of before it is deleted.
    SelectObject(buffer_.dc.get(), buffer_.initial);
    buffer_.bitmap.reset(CreateCompatibleBitmap(scope.dc(), client.right, client.bottom));
    buffer_.width = client.right;
    buffer_.height = client.bottom;
    SelectObject(buffer_.dc.get(), buffer_.bitmap.get());
  }
  const HDC buffer = buffer_.dc.get();
  const RECT& r = scope.rect();
  Paint(buffer, r);
  BitBlt(scope.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, buffer, r.left, r.top,
         SRCCOPY);
}

void StringGrid::RedrawScrollBars() {
  scrollBarRedrawPosted_ = false;
  // Setting a position draws the bar only when it changes: step away and back.
  for (int bar : {SB_VERT, SB_HORZ}) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(hwnd(), bar, &si) || si.nMax <= si.nMin) continue;
    const int pos = si.nPos;
    si.fMask = SIF_POS;
    si.nPos = pos == si.nMin ? si.nMax : si.nMin;
    SetScrollInfo(hwnd(), bar, &si, FALSE);
    si.nPos = pos;
    SetScrollInfo(hwnd(), bar, &si, TRUE);
  }
}

void StringGrid::Paint(HDC dc, const RECT& dirty) {
  const RECT client = ClientRect();
  const int line = model_.GridLineWidth();
  const HBRUSH window = GetSysColorBrush(COLOR_WINDOW);
  const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  // Lines: the background where no cell is painted.
  FillRect(dc, &dirty, line > 0 ? face : window);
  HGDIOBJ font = font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT);
  SelectScope selectFont(dc, font);
  SetBkMode(dc, OPAQUE);
  const bool focused = GetFocus() == hwnd();  // asked once: it may cost a call to the system

  // The columns and rows on screen: the fixed ones, then the scrolled ones from the top-left.
  auto visible = [](int fixed, int first, int count, int limit, auto size, int lineWidth) {
    std::vector<std::pair<int, int>> out;  // index, start
    int at = 0;
    for (int i = 0; i < fixed && at < limit; ++i) {
      out.push_back({i, at});
      at += size(i) + lineWidth;
    }
    for (int i = first; i < count && at < limit; ++i) {
      out.push_back({i, at});
      at += size(i) + lineWidth;
    }
    return std::pair{out, at};
  };
  const auto [cols, usedW] = visible(
      FixedCols(), LeftCol(), ColCount(), client.right, [&](int c) { return model_.ColWidth(c); },
      line);
  const auto [rows, usedH] = visible(
      FixedRows(), TopRow(), RowCount(), client.bottom, [&](int r) { return model_.RowHeight(r); },
      line);
  // Beyond the last column and row: window colour.
  RECT right{usedW, 0, client.right, client.bottom};
  RECT below{0, usedH, client.right, client.bottom};
  FillRect(dc, &right, window);
  FillRect(dc, &below, window);

  for (const auto& [row, y] : rows) {
    if (y >= dirty.bottom || y + model_.RowHeight(row) + line <= dirty.top) continue;
    for (const auto& [col, x] : cols) {
      if (x >= dirty.right || x + model_.ColWidth(col) + line <= dirty.left) continue;
      const RECT cell{x, y, x + model_.ColWidth(col), y + model_.RowHeight(row)};
      if (col < FixedCols() || row < FixedRows()) {
        // Fixed cells: darker lines to their right and below.
        if (line > 0 && (options_ & GridFixedLines)) {
          RECT lines{x, y, cell.right + line, cell.bottom + line};
          FillRect(dc, &lines, GetSysColorBrush(COLOR_3DDKSHADOW));
        }
      } else if (line > 0 && !(options_ & GridLines)) {
        RECT lines{x, y, cell.right + line, cell.bottom + line};
        FillRect(dc, &lines, window);
      }
      PaintCell(dc, col, row, cell, focused);
    }
  }
}

void StringGrid::PaintCell(HDC dc, int col, int row, const RECT& rect, bool focused) {
  const bool fixed = col < FixedCols() || row < FixedRows();
  const bool current = col == Col() && row == Row();
  // The selection is highlighted, except the current cell while the grid has the focus (it
  // shows the focus rectangle instead).
  bool selected = false;
  if (!fixed) {
    const quillorb::GridRect s = model_.Selection();
    if (options_ & GridRowSelect) {
      selected = row >= s.top && row <= s.bottom;
    } else {
      selected =
          model_.Selected(col, row) && (!current || !focused || (options_ & GridDrawFocusSelected));
    }
  }
  // Under the open editor the cell shows as the editor does.
  if (editorOpen_ && editorCell_ == GridCoord{col, row}) selected = false;
  COLORREF back = GetSysColor(fixed ? COLOR_BTNFACE : COLOR_WINDOW);
  COLORREF fore = GetSysColor(fixed ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
  if (selected) {
    back = GetSysColor(COLOR_HIGHLIGHT);
    fore = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  SetBkColor(dc, back);
  SetTextColor(dc, fore);
  const std::string& text = Cell(col, row);
  // Insets and edges are whole pixels of the grid's scale: two, and one.
  const int m = dpi_.Multiple();
  ExtTextOutA(dc, rect.left + 2 * m, rect.top + 2 * m, ETO_OPAQUE | ETO_CLIPPED, &rect, text.data(),
              static_cast<UINT>(text.size()), nullptr);
  if (fixed) {
    // A raised edge: light above and left, shadow below and right.
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    {
      const SelectScope light(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      PatBlt(dc, rect.left, rect.top, w, m, PATCOPY);
      PatBlt(dc, rect.left, rect.top, m, h, PATCOPY);
    }
    const SelectScope shadow(dc, GetSysColorBrush(COLOR_BTNSHADOW));
    PatBlt(dc, rect.left, rect.bottom - m, w, m, PATCOPY);
    PatBlt(dc, rect.right - m, rect.top, m, h, PATCOPY);
  } else if (current && focused && !(options_ & GridRowSelect) &&
             !(editorOpen_ && editorCell_ == model_.Current())) {
    RECT focus = rect;
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace win

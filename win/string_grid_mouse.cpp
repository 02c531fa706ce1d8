// The string grid's mouse: a click makes a cell current (or opens its editor), a drag with range
// selection extends the selection, and the scroll bars and the wheel scroll.
#include <algorithm>

#include "win/string_grid.h"

namespace win {

using quillorb::GridCoord;

void StringGrid::MouseDown(POINT pt, WPARAM keys, bool doubleClick) {
  const bool hadFocus = GetFocus() == hwnd();
  if (!hadFocus) ::SetFocus(hwnd());
  pressedCurrent_ = false;
  const GridCoord cell = CellAt(pt);
  if (cell.col < FixedCols() || cell.row < FixedRows()) return;
  const bool wasCurrent = cell == model_.Current();
  const bool extend = (keys & MK_SHIFT) && (options_ & GridRangeSelect);
  if (!FocusCell(cell, extend)) return;
  pressedCurrent_ = model_.Current() == cell;
  if ((options_ & GridRangeSelect) && !doubleClick) {
    dragging_ = true;
    SetCapture(hwnd());
  }
  // A click on the cell that was already current (with the focus) opens the editor.
  if (wasCurrent && hadFocus && !doubleClick && (options_ & GridEditing)) ShowEditor();
}

void StringGrid::MouseMove(POINT pt) {
  if (!dragging_) return;
  const RECT client = ClientRect();
  pt.x = std::clamp<LONG>(pt.x, 0, client.right - 1);
  pt.y = std::clamp<LONG>(pt.y, 0, client.bottom - 1);
  GridCoord cell = CellAt(pt);
  if (cell.col < 0) return;
  cell.col = std::max(cell.col, FixedCols());
  cell.row = std::max(cell.row, FixedRows());
  if (cell != model_.Current()) FocusCell(cell, true);
}

void StringGrid::OnScroll(int bar, WORD code) {
  Laid();
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd(), bar, &si);
  const bool vertical = bar == SB_VERT;
  int pos = vertical ? TopRow() : LeftCol();
  const int page = std::max(vertical ? VisibleRowCount() : VisibleColCount(), 1);
  switch (code) {
    case SB_LINEUP:
      --pos;
      break;
    case SB_LINEDOWN:
      ++pos;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = si.nTrackPos;
      break;
    case SB_TOP:
      pos = 0;
      break;
    case SB_BOTTOM:
      pos = vertical ? RowCount() : ColCount();
      break;
    default:
      return;
  }
  if (vertical) {
    ScrollTo(LeftCol(), pos);
  } else {
    ScrollTo(pos, TopRow());
  }
}

void StringGrid::MouseWheel(int delta) {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  if (lines == WHEEL_PAGESCROLL) lines = static_cast<UINT>(std::max(VisibleRowCount(), 1));
  wheelRemainder_ += delta;
  const int notches = wheelRemainder_ / WHEEL_DELTA;
  wheelRemainder_ -= notches * WHEEL_DELTA;
  if (notches != 0) ScrollTo(LeftCol(), TopRow() - notches * static_cast<int>(lines));
}

}  // namespace win

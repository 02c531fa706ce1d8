#include "win/string_grid.h"

#include <windowsx.h>

#include <algorithm>

#include "win/edit.h"
#include "win/handles.h"

namespace win {

using quillorb::GridCoord;
using quillorb::GridMove;

unsigned CurrentShiftState() {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) shift |= CtrlKey;
  if (GetKeyState(VK_MENU) < 0) shift |= AltKey;
  return shift;
}

// The in-place editor: a borderless system EDIT, a child of the grid, laid over the cell being
// edited. It takes Enter, Escape and (with GridTabs) Tab from the dialog, and hands the keys
// that leave a cell to the grid.
class GridEditor : public Edit {
 public:
  explicit GridEditor(StringGrid& grid) : Edit(grid.hwnd(), 0, 0, 0, 0, 0), grid_(grid) {
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, 0);
    SetWindowLongPtrA(hwnd(), GWL_STYLE, GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~WS_TABSTOP);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                     SWP_NOACTIVATE);
  }

 protected:
  LRESULT OnEditMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_GETDLGCODE: {
        const auto* key = reinterpret_cast<const MSG*>(lp);
        LRESULT code = DefaultEdit(msg, wp, lp) | DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (key && key->message == WM_KEYDOWN &&
            (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE ||
             (key->wParam == VK_TAB && (grid_.Options() & GridTabs)))) {
          code |= DLGC_WANTALLKEYS;
        }
        return code;
      }
      case WM_KEYDOWN:
        if (HandleKey(static_cast<WORD>(wp))) return 0;
        break;
      case WM_CHAR:
        // Their key-downs did the work; the edit would only beep.
        if (wp == VK_RETURN || wp == VK_ESCAPE || (wp == VK_TAB && (grid_.Options() & GridTabs))) {
          return 0;
        }
        break;
      case WM_KILLFOCUS: {
        const LRESULT result = DefaultEdit(msg, wp, lp);
        HWND next = reinterpret_cast<HWND>(wp);
        // Leaving the grid altogether keeps what was typed; the focus is already on its way.
        if (next != grid_.hwnd()) {
          grid_.CloseEditor(true, false);
          grid_.DoExit(next);
        }
        return result;
      }
      default:
        break;
    }
    return DefaultEdit(msg, wp, lp);
  }

 private:
  bool HandleKey(WORD key) {
    const unsigned shift = CurrentShiftState();
    switch (key) {
      case VK_RETURN:
        grid_.HideEditor();
        return true;
      case VK_ESCAPE:
        grid_.CancelEditor();
        return true;
      case VK_TAB:
        if (!(grid_.Options() & GridTabs)) return false;
        break;
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
        break;
      default:
        return false;
    }
    // Keys that leave the cell: commit, then the grid moves on.
    grid_.HideEditor();
    WORD k = key;
    grid_.KeyDown(k, shift);
    return true;
  }

  StringGrid& grid_;
};

namespace {
constexpr char kClassName[] = "QuillorbStringGrid";
}  // namespace

const UINT StringGrid::kRedrawScrollBars = WM_APP + 0x47;

StringGrid::StringGrid(HWND parent, int id, int left, int top, int width, int height) {
  RegisterClass(kClassName, CS_DBLCLKS, nullptr, nullptr);
  font_ = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
  CreateWindowOf(kClassName, "",
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                     WS_VSCROLL | WS_HSCROLL,
                 WS_EX_CLIENTEDGE, left, top, width, height, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  Relayout();
}

StringGrid::~StringGrid() {
  // The editor is our child: it goes before the grid's window does.
  editor_.reset();
}

// ------------------------------------------------------------------ sizes and cells

void StringGrid::SetColCount(int count) {
  if (count == ColCount()) return;
  HideEditor();
  model_.SetColCount(count);
  Relayout();
}

void StringGrid::SetRowCount(int count) {
  if (count == RowCount()) return;
  HideEditor();
  model_.SetRowCount(count);
  Relayout();
}

void StringGrid::SetFixedCols(int count) {
  HideEditor();
  model_.SetFixedCols(count);
  model_.MoveCurrent(model_.Current());
  Relayout();
}

void StringGrid::SetFixedRows(int count) {
  HideEditor();
  model_.SetFixedRows(count);
  model_.MoveCurrent(model_.Current());
  Relayout();
}

void StringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount() || model_.ColWidth(col) == std::max(width, 0)) return;
  model_.SetColWidth(col, width);
  Relayout();
  PlaceEditor();
  ColWidthsChanged();
}

void StringGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount() || model_.RowHeight(row) == std::max(height, 0)) return;
  model_.SetRowHeight(row, height);
  Relayout();
  PlaceEditor();
  RowHeightsChanged();
}

void StringGrid::SetDefaultColWidth(int width) {
  model_.SetDefaultColWidth(width);
  Relayout();
  PlaceEditor();
  ColWidthsChanged();
}

void StringGrid::SetDefaultRowHeight(int height) {
  model_.SetDefaultRowHeight(height);
  Relayout();
  PlaceEditor();
  RowHeightsChanged();
}

void StringGrid::SetGridLineWidth(int width) {
  model_.SetGridLineWidth(width);
  Relayout();
  PlaceEditor();
}

void StringGrid::SetCell(int col, int row, const std::string& text) {
  if (Cell(col, row) == text) return;
  model_.SetCell(col, row, text);
  InvalidateCell(col, row);
}

void StringGrid::SetOptions(unsigned options) {
  if (options == options_) return;
  options_ = options;
  if (!(options_ & GridEditing)) HideEditor();
  if (!(options_ & GridRangeSelect)) model_.MoveCurrent(model_.Current());
  InvalidateAll();
}

void StringGrid::SetScrollBars(GridScrollBars bars) {
  if (bars == scrollBars_) return;
  scrollBars_ = bars;
  Relayout();
}

void StringGrid::SetFont(HFONT font) {
  font_ = font;
  if (editor_) editor_->SetFont(font_);
  InvalidateAll();
}

// ------------------------------------------------------------------ position

bool StringGrid::SetCurrent(int col, int row) {
  return FocusCell({col, row}, false);
}

void StringGrid::SetTopLeft(int leftCol, int topRow) {
  ScrollTo(leftCol, topRow);
}

RECT StringGrid::CellRect(int col, int row) const {
  const quillorb::GridRect r = Laid().CellRect(col, row);
  return {r.left, r.top, r.right, r.bottom};
}

GridCoord StringGrid::CellAt(POINT client) const {
  return Laid().CellAt(client.x, client.y);
}

bool StringGrid::FocusCell(GridCoord cell, bool extend) {
  Laid();
  cell.col = std::clamp(cell.col, FixedCols(), ColCount() - 1);
  cell.row = std::clamp(cell.row, FixedRows(), RowCount() - 1);
  const GridCoord before = model_.Current();
  if (cell == before && (extend || model_.Anchor() == before)) {
    // Nothing moves; still make sure the cell is in view.
    if (model_.ScrollInView(cell)) {
      InvalidateAll();
      UpdateScrollBars();
      TopLeftChanged();
    }
    return true;
  }
  if (!SelectCell(cell.col, cell.row)) return false;
  HideEditor();
  InvalidateSelection();
  const bool scrolled = model_.MoveCurrent(cell, extend && (options_ & GridRangeSelect));
  if (scrolled) {
    InvalidateAll();
    UpdateScrollBars();
  } else {
    InvalidateSelection();
    if (options_ & GridRowSelect) InvalidateCell(before.col, before.row);
  }
  if (scrolled) TopLeftChanged();
  if ((options_ & GridAlwaysShowEditor) && GetFocus() == hwnd()) ShowEditor();
  return true;
}

void StringGrid::ScrollTo(int leftCol, int topRow) {
  Laid();
  const int oldLeft = LeftCol();
  const int oldTop = TopRow();
  if (!model_.SetTopLeft(leftCol, topRow)) return;
  // Scroll what stays on screen and repaint only the rows or columns that came in.
  const RECT client = ClientRect();
  int fixedW = 0;
  for (int c = 0; c < FixedCols(); ++c) fixedW += ColWidth(c) + GridLineWidth();
  int fixedH = 0;
  for (int r = 0; r < FixedRows(); ++r) fixedH += RowHeight(r) + GridLineWidth();
  auto span = [&](int from, int to, auto size) {
    int pixels = 0;
    for (int i = std::min(from, to); i < std::max(from, to); ++i)
      pixels += size(i) + GridLineWidth();
    return from < to ? -pixels : pixels;
  };
  const int dx = span(oldLeft, LeftCol(), [&](int c) { return ColWidth(c); });
  const int dy = span(oldTop, TopRow(), [&](int r) { return RowHeight(r); });
  if (editorOpen_) HideEditor();
  if (dx != 0 && dy == 0) {
    RECT area{fixedW, 0, client.right, client.bottom};
    ScrollWindowEx(hwnd(), dx, 0, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  } else if (dy != 0 && dx == 0) {
    RECT area{0, fixedH, client.right, client.bottom};
    ScrollWindowEx(hwnd(), 0, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  } else {
    InvalidateAll();
  }
  UpdateScrollBars();
  TopLeftChanged();
}

// ------------------------------------------------------------------ editor

bool StringGrid::EditorMode() const {
  return editorOpen_;
}

HWND StringGrid::EditorHandle() const {
  return editor_ ? editor_->hwnd() : nullptr;
}

void StringGrid::ShowEditor() {
  if (editorOpen_ || !CanEditShow() || !hwnd()) return;
  Laid();
  if (!model_.WhollyVisible(Col(), Row()) && model_.CellRect(Col(), Row()).Empty()) return;
  if (!editor_) {
    editor_ = std::make_unique<GridEditor>(*this);
    SendMessageA(editor_->hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  }
  editor_->SetFont(font_, false);
  editorCell_ = model_.Current();
  editorOriginal_ = Cell(Col(), Row());
  editorOpen_ = true;
  SetWindowTextA(editor_->hwnd(), editorOriginal_.c_str());
  PlaceEditor();
  ShowWindow(editor_->hwnd(), SW_SHOW);
  ::SetFocus(editor_->hwnd());
  editor_->SelectAll();
  InvalidateCell(Col(), Row());
}

void StringGrid::PlaceEditor() {
  if (!editorOpen_ || !editor_) return;
  const RECT r = CellRect(editorCell_.col, editorCell_.row);
  // Inside the cell, clear of its lines; the text stands where the grid paints it.
  SetWindowPos(editor_->hwnd(), nullptr, r.left + 1, r.top + 1,
               std::max<int>(r.right - r.left - 1, 0), std::max<int>(r.bottom - r.top - 1, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void StringGrid::CommitEditor() {
  if (!editor_) return;
  const std::string text = editor_->Text();
  if (text == Cell(editorCell_.col, editorCell_.row)) return;
  model_.SetCell(editorCell_.col, editorCell_.row, text);
  InvalidateCell(editorCell_.col, editorCell_.row);
  if (OnSetEditText) OnSetEditText(*this, editorCell_.col, editorCell_.row, text);
}

void StringGrid::HideEditor() {
  CloseEditor(true, true);
}

void StringGrid::CancelEditor() {
  CloseEditor(false, true);
}

void StringGrid::CloseEditor(bool commit, bool refocus) {
  if (!editorOpen_) return;
  if (commit) CommitEditor();
  editorOpen_ = false;
  const bool hadFocus = GetFocus() == editor_->hwnd();
  ShowWindow(editor_->hwnd(), SW_HIDE);
  if (hadFocus && refocus) ::SetFocus(hwnd());
  InvalidateCell(editorCell_.col, editorCell_.row);
}

// ------------------------------------------------------------------ hooks

bool StringGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(*this, col, row, canSelect);
  return canSelect;
}

void StringGrid::KeyDown(WORD& key, unsigned shift) {
  if (OnKeyDown) OnKeyDown(*this, key, shift);
  if (key != 0) HandleGridKey(key, shift);
}

void StringGrid::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
  const auto ch = static_cast<unsigned char>(key);
  if (ch < 0x20 || ch == 0x7F || !(options_ & GridEditing)) return;
  const bool opening = !editorOpen_;
  ShowEditor();
  if (editorOpen_) {
    // The first typed character replaces the text, as typing over a selection does (the
    // second byte of a double-byte character follows the first).
    if (opening) editor_->SelectAll();
    SendMessageA(editor_->hwnd(), WM_CHAR, ch, 0);
  }
}

void StringGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(*this);
}

void StringGrid::ColWidthsChanged() {
  if (OnColWidthsChanged) OnColWidthsChanged(*this);
}

void StringGrid::RowHeightsChanged() {
  if (OnRowHeightsChanged) OnRowHeightsChanged(*this);
}

bool StringGrid::CanEditShow() const {
  return (options_ & GridEditing) && !(options_ & GridRowSelect);
}

void StringGrid::DoEnter() {
  if (OnEnter) OnEnter(*this);
  if ((options_ & GridAlwaysShowEditor) && (options_ & GridEditing)) ShowEditor();
}

void StringGrid::DoExit(HWND /*next*/) {
  if (OnExit) OnExit(*this);
}

bool StringGrid::WantsReturn() const {
  return (options_ & GridEditing) || static_cast<bool>(OnKeyDown);
}

bool StringGrid::HandleGridKey(WORD key, unsigned shift) {
  Laid();
  const bool extend = (shift & ShiftKey) && (options_ & GridRangeSelect);
  const bool ctrl = (shift & CtrlKey) != 0;
  GridMove move;
  switch (key) {
    case VK_LEFT:
      move = GridMove::Left;
      break;
    case VK_RIGHT:
      move = GridMove::Right;
      break;
    case VK_UP:
      move = GridMove::Up;
      break;
    case VK_DOWN:
      move = GridMove::Down;
      break;
    case VK_HOME:
      move = ctrl ? GridMove::CtrlHome : GridMove::Home;
      break;
    case VK_END:
      move = ctrl ? GridMove::CtrlEnd : GridMove::End;
      break;
    case VK_PRIOR:
      move = GridMove::PageUp;
      break;
    case VK_NEXT:
      move = GridMove::PageDown;
      break;
    case VK_TAB:
      if (!(options_ & GridTabs)) return false;
      FocusCell(model_.Target((shift & ShiftKey) ? GridMove::PrevCell : GridMove::NextCell), false);
      return true;
    case VK_F2:
    case VK_RETURN:
      if (!(options_ & GridEditing)) return false;
      ShowEditor();
      return true;
    default:
      return false;
  }
  FocusCell(model_.Target(move), extend);
  return true;
}

// ------------------------------------------------------------------ layout and painting

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
  InflateRect(&r, GridLineWidth(), GridLineWidth());
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
  InflateRect(&r, GridLineWidth(), GridLineWidth());
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
  const int line = GridLineWidth();
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
      FixedCols(), LeftCol(), ColCount(), client.right, [&](int c) { return ColWidth(c); }, line);
  const auto [rows, usedH] = visible(
      FixedRows(), TopRow(), RowCount(), client.bottom, [&](int r) { return RowHeight(r); }, line);
  // Beyond the last column and row: window colour.
  RECT right{usedW, 0, client.right, client.bottom};
  RECT below{0, usedH, client.right, client.bottom};
  FillRect(dc, &right, window);
  FillRect(dc, &below, window);

  for (const auto& [row, y] : rows) {
    if (y >= dirty.bottom || y + RowHeight(row) + line <= dirty.top) continue;
    for (const auto& [col, x] : cols) {
      if (x >= dirty.right || x + ColWidth(col) + line <= dirty.left) continue;
      const RECT cell{x, y, x + ColWidth(col), y + RowHeight(row)};
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
  ExtTextOutA(dc, rect.left + 2, rect.top + 2, ETO_OPAQUE | ETO_CLIPPED, &rect, text.data(),
              static_cast<UINT>(text.size()), nullptr);
  if (fixed) {
    // A raised edge: light above and left, shadow below and right.
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    HGDIOBJ old = SelectObject(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    PatBlt(dc, rect.left, rect.top, w, 1, PATCOPY);
    PatBlt(dc, rect.left, rect.top, 1, h, PATCOPY);
    SelectObject(dc, GetSysColorBrush(COLOR_BTNSHADOW));
    PatBlt(dc, rect.left, rect.bottom - 1, w, 1, PATCOPY);
    PatBlt(dc, rect.right - 1, rect.top, 1, h, PATCOPY);
    SelectObject(dc, old);
  } else if (current && focused && !(options_ & GridRowSelect) &&
             !(editorOpen_ && editorCell_ == model_.Current())) {
    RECT focus = rect;
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &focus);
  }
}

// ------------------------------------------------------------------ mouse and scrolling

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

LRESULT StringGrid::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Laid();
      wholeInvalid_ = false;
      invalidCells_ = 0;
      PaintThroughBuffer();
      return 0;
    case kRedrawScrollBars:
      RedrawScrollBars();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (!updatingScrollBars_) {
        layoutDirty_ = true;
        InvalidateAll();
        PlaceEditor();
      }
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (options_ & GridTabs) code |= DLGC_WANTTAB;
      const auto* key = reinterpret_cast<const MSG*>(lp);
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && WantsReturn()) {
        code |= DLGC_WANTALLKEYS;
      }
      return code;
    }
    case WM_SETFOCUS:
      InvalidateSelection();
      InvalidateCell(Col(), Row());
      if (editor_ && reinterpret_cast<HWND>(wp) == editor_->hwnd()) return 0;
      DoEnter();
      return 0;
    case WM_KILLFOCUS: {
      InvalidateSelection();
      InvalidateCell(Col(), Row());
      HWND next = reinterpret_cast<HWND>(wp);
      // Into our own editor the focus stays within the grid.
      if (editor_ && next == editor_->hwnd()) return 0;
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
      }
      DoExit(next);
      return 0;
    }
    case WM_KEYDOWN: {
      WORD key = static_cast<WORD>(wp);
      KeyDown(key, CurrentShiftState());
      return 0;
    }
    case WM_SYSKEYDOWN: {
      // F10 and every key held with Alt: the grid's key handling as for any key, except Alt+F4
      // and Alt+Space, which close the window and open its menu as everywhere. A key the
      // handling swallowed goes no further (no menu mode after F10), nor does its character.
      const bool alt = (HIWORD(lp) & KF_ALTDOWN) != 0;
      sysCharTaken_ = false;
      if (alt && (wp == VK_F4 || wp == VK_SPACE)) break;
      WORD key = static_cast<WORD>(wp);
      KeyDown(key, CurrentShiftState() | (alt ? AltKey : 0u));
      if (key != 0) break;
      sysCharTaken_ = true;
      return 0;
    }
    case WM_SYSCHAR:
      if (!sysCharTaken_) break;
      sysCharTaken_ = false;
      return 0;
    case WM_CHAR: {
      char key = static_cast<char>(wp);
      KeyPress(key);
      return 0;
    }
    case WM_LBUTTONDOWN:
      MouseDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      MouseDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, wp, true);
      if (OnDblClick) OnDblClick(*this);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
      }
      if (OnClick) OnClick(*this);
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      if (lines == WHEEL_PAGESCROLL) lines = static_cast<UINT>(std::max(VisibleRowCount(), 1));
      wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wp);
      const int notches = wheelRemainder_ / WHEEL_DELTA;
      wheelRemainder_ -= notches * WHEEL_DELTA;
      if (notches != 0) ScrollTo(LeftCol(), TopRow() - notches * static_cast<int>(lines));
      return 0;
    }
    case WM_VSCROLL:
      OnScroll(SB_VERT, LOWORD(wp));
      return 0;
    case WM_HSCROLL:
      OnScroll(SB_HORZ, LOWORD(wp));
      return 0;
    case WM_COMMAND:
      if (lp) {
        if (ChildWindow* child = ChildWindow::FromHandle(reinterpret_cast<HWND>(lp))) {
          if (child->OnParentCommand(HIWORD(wp))) return 0;
        }
      }
      break;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wp));
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace win

#include "win/string_grid.h"

#include <windowsx.h>

#include <algorithm>

#include "win/app.h"
#include "win/grid_editor.h"

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

namespace {
constexpr char kClassName[] = "QuillorbStringGrid";
}  // namespace

const UINT StringGrid::kRedrawScrollBars = WM_APP + 0x47;

StringGrid::StringGrid(HWND parent, int id, int left, int top, int width, int height) {
  RegisterClass(kClassName, CS_DBLCLKS, nullptr, nullptr);
  font_ = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
  CreateChildOf(kClassName, "",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                    WS_VSCROLL | WS_HSCROLL,
                WS_EX_CLIENTEDGE, left, top, width, height, parent, id);
  sizes96_.cols.assign(static_cast<size_t>(model_.ColCount()), sizes96_.defaultCol);
  sizes96_.rows.assign(static_cast<size_t>(model_.RowCount()), sizes96_.defaultRow);
  dpi_ = WindowDpi(parent);
  ApplySizes();
  Relayout();
}

void StringGrid::ApplySizes() {
  model_.SetGridLineWidth(sizes96_.line * dpi_.Multiple());
  model_.SetDefaultColWidth(dpi_.Scale(sizes96_.defaultCol));
  model_.SetDefaultRowHeight(dpi_.Scale(sizes96_.defaultRow));
  for (size_t c = 0; c < sizes96_.cols.size(); ++c) {
    model_.SetColWidth(static_cast<int>(c), dpi_.Scale(sizes96_.cols[c]));
  }
  for (size_t r = 0; r < sizes96_.rows.size(); ++r) {
    model_.SetRowHeight(static_cast<int>(r), dpi_.Scale(sizes96_.rows[r]));
  }
}

void StringGrid::Rescale(Dpi dpi) {
  Window::Rescale(dpi);
  dpi_ = dpi;
  ApplySizes();
  Resized(&StringGrid::ColWidthsChanged);
  RowHeightsChanged();
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
  sizes96_.cols.resize(static_cast<size_t>(ColCount()), sizes96_.defaultCol);
  Relayout();
}

void StringGrid::SetRowCount(int count) {
  if (count == RowCount()) return;
  HideEditor();
  model_.SetRowCount(count);
  sizes96_.rows.resize(static_cast<size_t>(RowCount()), sizes96_.defaultRow);
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

int StringGrid::ColWidth(int col) const {
  return col >= 0 && col < ColCount() ? sizes96_.cols[static_cast<size_t>(col)] : 0;
}

int StringGrid::RowHeight(int row) const {
  return row >= 0 && row < RowCount() ? sizes96_.rows[static_cast<size_t>(row)] : 0;
}

void StringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount() || ColWidth(col) == std::max(width, 0)) return;
  sizes96_.cols[static_cast<size_t>(col)] = std::max(width, 0);
  model_.SetColWidth(col, dpi_.Scale(std::max(width, 0)));
  Resized(&StringGrid::ColWidthsChanged);
}

void StringGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount() || RowHeight(row) == std::max(height, 0)) return;
  sizes96_.rows[static_cast<size_t>(row)] = std::max(height, 0);
  model_.SetRowHeight(row, dpi_.Scale(std::max(height, 0)));
  Resized(&StringGrid::RowHeightsChanged);
}

void StringGrid::SetDefaultColWidth(int width) {
  sizes96_.defaultCol = std::max(width, 0);
  sizes96_.cols.assign(sizes96_.cols.size(), sizes96_.defaultCol);
  model_.SetDefaultColWidth(dpi_.Scale(sizes96_.defaultCol));
  Resized(&StringGrid::ColWidthsChanged);
}

void StringGrid::SetDefaultRowHeight(int height) {
  sizes96_.defaultRow = std::max(height, 0);
  sizes96_.rows.assign(sizes96_.rows.size(), sizes96_.defaultRow);
  model_.SetDefaultRowHeight(dpi_.Scale(sizes96_.defaultRow));
  Resized(&StringGrid::RowHeightsChanged);
}

void StringGrid::SetGridLineWidth(int width) {
  sizes96_.line = std::max(width, 0);
  model_.SetGridLineWidth(sizes96_.line * dpi_.Multiple());
  Resized(nullptr);
}

void StringGrid::Resized(void (StringGrid::*changed)()) {
  Relayout();
  PlaceEditor();
  if (changed) (this->*changed)();
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
  const int line = model_.GridLineWidth();
  for (int c = 0; c < FixedCols(); ++c) fixedW += model_.ColWidth(c) + line;
  int fixedH = 0;
  for (int r = 0; r < FixedRows(); ++r) fixedH += model_.RowHeight(r) + line;
  auto span = [&](int from, int to, auto size) {
    int pixels = 0;
    for (int i = std::min(from, to); i < std::max(from, to); ++i) pixels += size(i) + line;
    return from < to ? -pixels : pixels;
  };
  const int dx = span(oldLeft, LeftCol(), [&](int c) { return model_.ColWidth(c); });
  const int dy = span(oldTop, TopRow(), [&](int r) { return model_.RowHeight(r); });
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

void StringGrid::TypeIntoEditor(wchar_t typed) {
  if (!(options_ & GridEditing)) return;
  const bool opening = !editorOpen_;
  ShowEditor();
  if (!editorOpen_) return;
  if (opening) editor_->SelectAll();
  SendMessageW(editor_->hwnd(), WM_CHAR, typed, 0);
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

LRESULT StringGrid::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kRescaleMessage) return Window::OnMessage(msg, wp, lp);
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
      // A UTF-16 unit (the grid is a Unicode window). OnKeyPress sees the ANSI character, byte by
      // byte as an ANSI window would (a double-byte character's lead byte first); one that the
      // code page lacks (or half of a surrogate pair) goes to the editor as it is, unseen, as
      // typing into the editor itself would.
      const auto typed = static_cast<wchar_t>(wp);
      const std::optional<std::string> ansi = WideToAnsi(std::wstring_view(&typed, 1));
      if (!ansi || ansi->empty()) {
        TypeIntoEditor(typed);
        return 0;
      }
      for (char byte : *ansi) {
        char key = byte;
        KeyPress(key);
      }
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
    case WM_MOUSEWHEEL:
      MouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
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

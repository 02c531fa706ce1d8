// A string grid: a child window of our own that shows cells of text in columns and rows, with
// fixed header rows and columns, a current cell (and, where allowed, a range selection), keyboard
// and mouse navigation, scroll bars, and an in-place editor (a system EDIT laid over the cell).
// The arithmetic lives in quillorb::GridModel (model/grid_model.h); this class paints it
// (double-buffered, only the cells in the dirty area), feeds it input and reports events. Its
// jobs live in files of their own: string_grid.cpp (sizes, cells, keys and messages),
// string_grid_mouse.cpp (clicks, drags, scroll bars and the wheel), string_grid_paint.cpp (layout
// and painting), string_grid_editor.cpp with grid_editor.h (the in-place editor).
//
// Keys (while the grid has the focus): arrows, Home/End, Ctrl+Home/End, PgUp/PgDn move the
// current cell (with Shift and GridRangeSelect they extend the selection); Tab/Shift+Tab move
// between cells with GridTabs (otherwise Tab moves the focus on, as in any dialog); with
// GridEditing, F2 or Enter opens the editor and a typed character opens it with that character;
// in the editor Enter commits and Escape restores the cell's text. Enter reaches the grid (and
// OnKeyDown) when the grid has a use for it: editing on, an OnKeyDown handler, or a derived grid
// that says so (WantsReturn); otherwise the dialog gets it (its default button).
//
// A derived grid (quillorb::TCtrlGrid) hooks the protected virtual operations; each of them
// runs the grid's own handling and fires the matching event.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/grid_model.h"
#include "win/window.h"
#include "win/handles.h"

namespace win {

// Option flags (combine with |).
enum GridOption : unsigned {
  GridFixedLines = 1u << 0,         // lines between fixed cells
  GridLines = 1u << 1,              // lines between scrolling cells
  GridRangeSelect = 1u << 2,        // Shift+arrows and dragging select a range
  GridEditing = 1u << 3,            // cells can be edited in place
  GridTabs = 1u << 4,               // Tab and Shift+Tab move between cells
  GridRowSelect = 1u << 5,          // the whole row of the current cell is shown selected
  GridAlwaysShowEditor = 1u << 6,   // with GridEditing: the editor opens on every current cell
  GridDrawFocusSelected = 1u << 7,  // the current cell is painted selected, not only framed
};
inline constexpr unsigned kDefaultGridOptions = GridFixedLines | GridLines | GridRangeSelect;

enum class GridScrollBars { None, Horizontal, Vertical, Both };

// Modifier keys held with a key or a click (combine with |).
enum ShiftState : unsigned {
  ShiftKey = 1u << 0,
  CtrlKey = 1u << 1,
  AltKey = 1u << 2,
};
// The modifiers held now (GetKeyState).
unsigned CurrentShiftState();

class GridEditor;

class StringGrid : public Window {
 public:
  // A visible WS_TABSTOP child of `parent` with a sunken border, kDefaultGridOptions, both
  // scroll bars, 5 x 5 cells with one fixed column and row, and the parent's font.
  StringGrid(HWND parent, int id, int left, int top, int width, int height);
  ~StringGrid() override;

  int Id() const { return GetDlgCtrlID(hwnd()); }

  // Counts and sizes (see GridModel); every setter repaints what changed.
  int ColCount() const { return model_.ColCount(); }
  int RowCount() const { return model_.RowCount(); }
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedCols() const { return model_.FixedCols(); }
  int FixedRows() const { return model_.FixedRows(); }
  void SetFixedCols(int count);
  void SetFixedRows(int count);
  // Sizes in pixels at 96 DPI, shown at the grid's DPI (the lines at its whole multiple); the
  // model (Model()) holds them as shown. Fire ColWidthsChanged / RowHeightsChanged.
  int ColWidth(int col) const;
  int RowHeight(int row) const;
  void SetColWidth(int col, int width);
  void SetRowHeight(int row, int height);
  int DefaultColWidth() const { return sizes96_.defaultCol; }
  int DefaultRowHeight() const { return sizes96_.defaultRow; }
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);
  int GridLineWidth() const { return sizes96_.line; }
  void SetGridLineWidth(int width);

  // Cell text; the empty text outside the grid.
  const std::string& Cell(int col, int row) const { return model_.Cell(col, row); }
  void SetCell(int col, int row, const std::string& text);

  unsigned Options() const { return options_; }
  void SetOptions(unsigned options);
  GridScrollBars ScrollBars() const { return scrollBars_; }
  void SetScrollBars(GridScrollBars bars);
  // The font of the cells and of the editor; not owned (nullptr: the system's GUI font). The
  // parent's font is taken at creation.
  HFONT Font() const { return font_; }
  void SetFont(HFONT font);

  // The current cell. SetCurrent asks SelectCell first (as a click does) and returns whether the
  // cell became current.
  int Col() const { return model_.Current().col; }
  int Row() const { return model_.Current().row; }
  bool SetCurrent(int col, int row);
  quillorb::GridRect Selection() const { return model_.Selection(); }

  // The scroll position: the top-left scrolling cell (clamped; fires TopLeftChanged on change).
  int LeftCol() const { return Laid().LeftCol(); }
  int TopRow() const { return Laid().TopRow(); }
  void SetTopLeft(int leftCol, int topRow);
  int VisibleColCount() const { return Laid().VisibleColCount(); }
  int VisibleRowCount() const { return Laid().VisibleRowCount(); }

  // The cell's rectangle in client coordinates (cut to the client area); empty ({0,0,0,0}) when
  // no part of it is on screen.
  RECT CellRect(int col, int row) const;
  bool CellWhollyVisible(int col, int row) const { return Laid().WhollyVisible(col, row); }
  // The cell under a client point; {-1, -1} outside the cells.
  quillorb::GridCoord CellAt(POINT client) const;

  // Whether the last press of the left button (or double click) landed on a scrolling cell and
  // that cell is the current one: false after a press on a fixed cell, on the blank area beside
  // or below the cells, or on a cell that could not become current.
  bool PressedCurrentCell() const { return pressedCurrent_; }

  // The in-place editor. ShowEditor opens it over the current cell (when CanEditShow allows),
  // HideEditor closes it keeping what was typed in the cell, CancelEditor closes it restoring the
  // text the cell had when it opened.
  bool EditorMode() const;
  void ShowEditor();
  void HideEditor();
  void CancelEditor();
  // The editor's window (nullptr before it first opened).
  HWND EditorHandle() const;

  // The arithmetic behind the window (read only; change the grid through the setters above).
  const quillorb::GridModel& Model() const { return Laid(); }

  // Events. A key-down handler runs before the grid's own key handling; setting `key` to 0
  // swallows the key.
  std::function<void(StringGrid& sender)> OnClick;
  std::function<void(StringGrid& sender)> OnDblClick;
  std::function<void(StringGrid& sender, WORD& key, unsigned shift)> OnKeyDown;
  std::function<void(StringGrid& sender, char& key)> OnKeyPress;
  // Asked before a cell becomes current; clearing `canSelect` keeps the current cell.
  std::function<void(StringGrid& sender, int col, int row, bool& canSelect)> OnSelectCell;
  std::function<void(StringGrid& sender)> OnTopLeftChanged;
  std::function<void(StringGrid& sender)> OnColWidthsChanged;
  std::function<void(StringGrid& sender)> OnRowHeightsChanged;
  // The editor wrote `text` into a cell.
  std::function<void(StringGrid& sender, int col, int row, const std::string& text)> OnSetEditText;
  std::function<void(StringGrid& sender)> OnEnter;
  std::function<void(StringGrid& sender)> OnExit;

 protected:
  // The hooks of a derived grid. Each base version does the grid's own handling and fires its
  // event; a derived grid adds before or after calling it.
  //
  // May (col, row) become current? Fires OnSelectCell.
  virtual bool SelectCell(int col, int row);
  // A key went down in the grid (not in its editor): OnKeyDown, then the grid's handling unless
  // the key was swallowed.
  virtual void KeyDown(WORD& key, unsigned shift);
  // A character was typed in the grid: OnKeyPress, then (with editing) the editor opens with it.
  virtual void KeyPress(char& key);
  virtual void TopLeftChanged();
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // May the in-place editor open on the current cell? GridEditing is set.
  virtual bool CanEditShow() const;
  // Focus arrives / leaves (`next`: the window that takes it, may be nullptr).
  virtual void DoEnter();
  virtual void DoExit(HWND next);
  // Whether Enter should reach the grid rather than the dialog.
  virtual bool WantsReturn() const;

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The place, the sizes and the editor at a new DPI.
  void Rescale(Dpi dpi) override;

 private:
  // A typed character without an ANSI form, straight into the editor (opened when it is not).
  void TypeIntoEditor(wchar_t typed);
  friend class GridEditor;
  static const UINT kRedrawScrollBars;  // posted: draw the scroll bars whose position moved
  void PaintThroughBuffer();
  void RedrawScrollBars();
  void Paint(HDC dc, const RECT& dirty);
  void PaintCell(HDC dc, int col, int row, const RECT& rect, bool focused);
  // After a change of sizes or counts: the whole grid is repainted, and the scroll bars (with
  // the client size they leave) are brought up to date at the next paint or the next question
  // that depends on them, so that a run of changes costs one update.
  void Relayout();
  // After a change of sizes: Relayout, the editor moved with its cell, then `changed`
  // (ColWidthsChanged or RowHeightsChanged; none for the grid lines).
  void Resized(void (StringGrid::*changed)());
  // The model with the client size and scroll bars brought up to date.
  const quillorb::GridModel& Laid() const;
  void UpdateScrollBars();
  // Moves the current cell (asking SelectCell), scrolls it into view, repaints; returns whether
  // it moved.
  bool FocusCell(quillorb::GridCoord cell, bool extend);
  void ScrollTo(int leftCol, int topRow);
  // The mouse and the scroll bars (string_grid_mouse.cpp).
  void OnScroll(int bar, WORD code);
  void MouseDown(POINT pt, WPARAM keys, bool doubleClick);
  void MouseMove(POINT pt);
  void MouseWheel(int delta);
  void InvalidateAll();
  void InvalidateCell(int col, int row);
  void InvalidateSelection();
  // Editor: where it goes, and its text into the cell.
  void PlaceEditor();
  void CommitEditor();
  // Closes the editor, writing its text into the cell or not; `refocus`: a focus in the editor
  // goes to the grid.
  void CloseEditor(bool commit, bool refocus);
  bool HandleGridKey(WORD key, unsigned shift);

  // The model's sizes and lines from sizes96_ at dpi_.
  void ApplySizes();

  quillorb::GridModel model_;
  // The sizes as set, at 96 DPI.
  struct Sizes {
    std::vector<int> cols;
    std::vector<int> rows;
    int defaultCol = quillorb::GridModel::kDefaultColWidth;
    int defaultRow = quillorb::GridModel::kDefaultRowHeight;
    int line = 1;
  } sizes96_;
  Dpi dpi_;
  unsigned options_ = kDefaultGridOptions;
  GridScrollBars scrollBars_ = GridScrollBars::Both;
  HFONT font_ = nullptr;
  std::unique_ptr<GridEditor> editor_;
  bool editorOpen_ = false;
  std::string editorOriginal_;      // the cell's text when the editor opened
  quillorb::GridCoord editorCell_;  // the cell the editor is over
  bool dragging_ = false;
  bool pressedCurrent_ = false;
  bool sysCharTaken_ = false;  // the last system key was swallowed: so is its character
  bool updatingScrollBars_ = false;
  int wheelRemainder_ = 0;
  bool layoutDirty_ = false;
  bool wholeInvalid_ = false;  // the whole client area waits for a paint
  int invalidCells_ = 0;       // cells invalidated one by one since the last paint
  bool scrollBarRedrawPosted_ = false;
  // The off-screen bitmap paints go through, kept between paints. The bitmap comes first: the DC,
  // destroyed before it, lets go of it, and only a bitmap selected into no DC can be deleted.
  struct Buffer {
    Bitmap bitmap;
    MemoryDc dc;
    HGDIOBJ initial = nullptr;  // the bitmap the DC came with
    int width = 0;
    int height = 0;
  } buffer_;
};

}  // namespace win

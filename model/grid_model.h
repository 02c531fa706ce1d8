// The arithmetic of a string grid, without a window: cells of text addressed by column and row,
// column widths and row heights, fixed (header) rows and columns, the current cell and the anchor
// of a range selection, the top-left scroll position with its limits, keyboard navigation, and
// where a cell lies in the client area. The grid window (win/string_grid.h) keeps one of these and
// paints and scrolls by what it says.
//
// Coordinates: the client area starts at (0, 0); fixed columns and rows stand at its left and top
// and never scroll; the scrolled part starts with column LeftCol() and row TopRow() right after
// them. Each column and row is followed by a grid line of GridLineWidth() pixels; a cell's
// rectangle excludes its lines. Scrolling moves by whole columns and rows.
#pragma once

#include <string>
#include <vector>

namespace quillorb {

struct GridCoord {
  int col = 0;
  int row = 0;
  bool operator==(const GridCoord&) const = default;
};

// A rectangle of pixels (right and bottom exclusive) or of cells (inclusive). The all-zero
// rectangle is the empty one.
struct GridRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const GridRect&) const = default;
  bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

// The navigation keys of a grid.
enum class GridMove {
  Left,
  Right,
  Up,
  Down,
  Home,      // first scrolling column of the row
  End,       // last column of the row
  CtrlHome,  // first scrolling cell of the grid
  CtrlEnd,   // last cell of the grid
  PageUp,    // one screenful of rows up
  PageDown,  // one screenful of rows down
  NextCell,  // Tab: right, wrapping to the next row
  PrevCell,  // Shift+Tab: left, wrapping to the previous row
};

class GridModel {
 public:
  static constexpr int kDefaultColWidth = 64;
  static constexpr int kDefaultRowHeight = 24;

  GridModel(int colCount = 5, int rowCount = 5);

  // Counts: at least 1. Growing keeps every cell, shrinking drops the cells beyond; the fixed
  // counts, the current cell and the top-left position follow into range.
  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  int RowCount() const { return static_cast<int>(rowHeights_.size()); }
  void SetColCount(int count);
  void SetRowCount(int count);
  // Fixed columns/rows: 0 .. count - 1.
  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixedCols(int count);
  void SetFixedRows(int count);

  // Text of a cell; the empty text outside the grid (writes outside are ignored).
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, std::string text);

  // Sizes in pixels (at least 0). Setting the default size sets every column or row; columns
  // and rows added later get the default.
  int ColWidth(int col) const;
  int RowHeight(int row) const;
  void SetColWidth(int col, int width);
  void SetRowHeight(int row, int height);
  int DefaultColWidth() const { return defaultColWidth_; }
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);
  int GridLineWidth() const { return lineWidth_; }
  void SetGridLineWidth(int width);

  // The client area the grid is shown in.
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);

  // The top-left scrolled cell. SetTopLeft clamps to FixedCols() .. MaxLeftCol() and
  // FixedRows() .. MaxTopRow() and returns whether the position changed.
  int LeftCol() const { return leftCol_; }
  int TopRow() const { return topRow_; }
  bool SetTopLeft(int leftCol, int topRow);
  // The largest top row (left column) with which the last row (column) is wholly visible; the
  // first scrolling one when even that does not fit.
  int MaxTopRow() const;
  int MaxLeftCol() const;
  // Scrolling rows (columns) wholly visible from the current top row (left column); at least 1
  // when there is any scrolling row (column).
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // The current cell, always a scrolling (non-fixed) cell when there is one.
  GridCoord Current() const { return current_; }
  // The other corner of the selection; equal to Current() without a range.
  GridCoord Anchor() const { return anchor_; }
  // Moves the current cell (clamped into the scrolling cells). `extend` keeps the anchor (a
  // range selection grows), otherwise the anchor follows. Scrolls the cell into view; returns
  // whether the top-left position changed.
  bool MoveCurrent(GridCoord cell, bool extend = false);
  // The selection in cells (inclusive).
  GridRect Selection() const;
  bool Selected(int col, int row) const;

  // Scrolls as little as possible so that the cell is wholly visible (as far as it fits at all);
  // returns whether the top-left position changed.
  bool ScrollInView(GridCoord cell);

  // Where a navigation key takes the current cell (the cell itself when it cannot move).
  GridCoord Target(GridMove move) const;

  // The cell's rectangle in client coordinates, without its grid lines, cut to the client area;
  // the empty rectangle when no part of it is on screen (a scrolling cell scrolled away).
  GridRect CellRect(int col, int row) const;
  // Shown whole enough for a control to be laid over it: not cut at the left edge, and with its
  // whole height (not cut at the top or the bottom). A cell may be cut at the right edge (a
  // last column a little wider than the room left of the scroll bar): a control laid over it
  // covers what is shown.
  bool WhollyVisible(int col, int row) const;
  // The cell under a client point (grid lines belong to the cell before them); {-1, -1} when
  // the point is beyond the last column or row or outside the client area.
  GridCoord CellAt(int x, int y) const;

 private:
  int ClampCol(int col) const;
  int ClampRow(int row) const;
  void Normalise();
  // One direction of the grid, columns across or rows down: the layout arithmetic is the same
  // for both.
  struct Axis;
  Axis Cols() const;
  Axis Rows() const;

  std::vector<std::vector<std::string>> cells_;  // [row][col]
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int defaultColWidth_ = kDefaultColWidth;
  int defaultRowHeight_ = kDefaultRowHeight;
  int lineWidth_ = 1;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int leftCol_ = 1;
  int topRow_ = 1;
  GridCoord current_{1, 1};
  GridCoord anchor_{1, 1};
};

// One registered pattern of cells: a column and a row, each an index, -1 for every one, or -k
// (k >= 2) for the index count + 1 - k counted from the end (-2 the last, -3 the one before).
struct CellPattern {
  int col = 0;
  int row = 0;
};

// Whether a pattern value matches `index` among `count`.
bool PatternMatches(int pattern, int index, int count);
// The first pattern, in order, matching the cell; -1 when none does.
int FindCellPattern(const std::vector<CellPattern>& patterns, int col, int row, int colCount,
                    int rowCount);

}  // namespace quillorb

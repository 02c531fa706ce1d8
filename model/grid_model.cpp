#include "model/grid_model.h"

#include <algorithm>

namespace quillorb {
namespace {
const std::string kNoText;
}  // namespace

// Sizes along one direction, the fixed cells at its start, the first scrolling cell shown and the
// room the client area gives. Every size counts with the grid line after it.
struct GridModel::Axis {
  const std::vector<int>& sizes;
  int defaultSize;
  int fixed;
  int first;
  int client;
  int line;

  int Count() const { return static_cast<int>(sizes.size()); }
  int Size(int i) const {
    return i >= 0 && i < Count() ? sizes[static_cast<size_t>(i)] : defaultSize;
  }
  // Pixels of the cells from..to-1, their lines included.
  int Span(int from, int to) const {
    int pixels = 0;
    for (int i = from; i < to; ++i) pixels += Size(i) + line;
    return pixels;
  }
  int FixedExtent() const { return Span(0, fixed); }
  int Room() const { return client - FixedExtent(); }

  // The largest first cell with which the last cell is wholly shown: walk back from the last
  // cell while the cells so far still fit beside the fixed ones.
  int MaxFirst() const {
    const int room = Room();
    int used = 0;
    int start = Count() - 1;
    for (int i = Count() - 1; i >= fixed; --i) {
      used += Size(i) + line;
      if (used - line > room) break;
      start = i;
    }
    return std::max(start, fixed);
  }

  int VisibleCount() const {
    int at = FixedExtent();
    int count = 0;
    for (int i = first; i < Count(); ++i) {
      if (at + Size(i) > client) break;
      at += Size(i) + line;
      ++count;
    }
    return first < Count() ? std::max(count, 1) : 0;
  }

  // The first cell after scrolling as little as possible for `cell` to be wholly shown (or to be
  // the first when it does not fit).
  int FirstShowing(int cell) const {
    if (cell < fixed) return first;
    if (cell < first) return cell;
    const int room = Room();
    int start = first;
    while (start < cell && Span(start, cell + 1) - line > room) ++start;
    return start;
  }

  // Where the cell starts in the client area; -1 when it is scrolled away.
  int Offset(int i) const {
    if (i < fixed) return Span(0, i);
    if (i < first) return -1;
    return FixedExtent() + Span(first, i);
  }

  // The cell at a client position (a line belongs to the cell before it); -1 past the last.
  int At(int pos) const {
    int at = 0;
    for (int i = 0; i < fixed; ++i) {
      at += Size(i) + line;
      if (pos < at) return i;
    }
    for (int i = first; i < Count(); ++i) {
      at += Size(i) + line;
      if (pos < at) return i;
    }
    return -1;
  }
};

GridModel::Axis GridModel::Cols() const {
  return {colWidths_, defaultColWidth_, fixedCols_, leftCol_, clientWidth_, lineWidth_};
}

GridModel::Axis GridModel::Rows() const {
  return {rowHeights_, defaultRowHeight_, fixedRows_, topRow_, clientHeight_, lineWidth_};
}

GridModel::GridModel(int colCount, int rowCount)
    : colWidths_(static_cast<size_t>(std::max(colCount, 1)), kDefaultColWidth),
      rowHeights_(static_cast<size_t>(std::max(rowCount, 1)), kDefaultRowHeight) {
  cells_.assign(rowHeights_.size(), std::vector<std::string>(colWidths_.size()));
  Normalise();
}

void GridModel::SetColCount(int count) {
  count = std::max(count, 1);
  colWidths_.resize(static_cast<size_t>(count), defaultColWidth_);
  for (auto& row : cells_) row.resize(static_cast<size_t>(count));
  Normalise();
}

void GridModel::SetRowCount(int count) {
  count = std::max(count, 1);
  rowHeights_.resize(static_cast<size_t>(count), defaultRowHeight_);
  cells_.resize(static_cast<size_t>(count));
  for (auto& row : cells_) row.resize(colWidths_.size());
  Normalise();
}

void GridModel::SetFixedCols(int count) {
  fixedCols_ = std::clamp(count, 0, ColCount() - 1);
  Normalise();
}

void GridModel::SetFixedRows(int count) {
  fixedRows_ = std::clamp(count, 0, RowCount() - 1);
  Normalise();
}

// Keeps the fixed counts, the current cell, the anchor and the top-left position in range.
void GridModel::Normalise() {
  fixedCols_ = std::clamp(fixedCols_, 0, ColCount() - 1);
  fixedRows_ = std::clamp(fixedRows_, 0, RowCount() - 1);
  current_ = {ClampCol(current_.col), ClampRow(current_.row)};
  anchor_ = {ClampCol(anchor_.col), ClampRow(anchor_.row)};
  leftCol_ = std::clamp(leftCol_, fixedCols_, MaxLeftCol());
  topRow_ = std::clamp(topRow_, fixedRows_, MaxTopRow());
}

int GridModel::ClampCol(int col) const {
  return std::clamp(col, fixedCols_, ColCount() - 1);
}

int GridModel::ClampRow(int row) const {
  return std::clamp(row, fixedRows_, RowCount() - 1);
}

const std::string& GridModel::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return kNoText;
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void GridModel::SetCell(int col, int row, std::string text) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
}

int GridModel::ColWidth(int col) const {
  return Cols().Size(col);
}

int GridModel::RowHeight(int row) const {
  return Rows().Size(row);
}

void GridModel::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount()) return;
  colWidths_[static_cast<size_t>(col)] = std::max(width, 0);
  Normalise();
}

void GridModel::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount()) return;
  rowHeights_[static_cast<size_t>(row)] = std::max(height, 0);
  Normalise();
}

void GridModel::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(width, 0);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  Normalise();
}

void GridModel::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(height, 0);
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  Normalise();
}

void GridModel::SetGridLineWidth(int width) {
  lineWidth_ = std::max(width, 0);
  Normalise();
}

void GridModel::SetClientSize(int width, int height) {
  clientWidth_ = std::max(width, 0);
  clientHeight_ = std::max(height, 0);
  Normalise();
}

bool GridModel::SetTopLeft(int leftCol, int topRow) {
  const int left = std::clamp(leftCol, fixedCols_, MaxLeftCol());
  const int top = std::clamp(topRow, fixedRows_, MaxTopRow());
  if (left == leftCol_ && top == topRow_) return false;
  leftCol_ = left;
  topRow_ = top;
  return true;
}

int GridModel::MaxTopRow() const {
  return Rows().MaxFirst();
}

int GridModel::MaxLeftCol() const {
  return Cols().MaxFirst();
}

int GridModel::VisibleRowCount() const {
  return Rows().VisibleCount();
}

int GridModel::VisibleColCount() const {
  return Cols().VisibleCount();
}

bool GridModel::MoveCurrent(GridCoord cell, bool extend) {
  current_ = {ClampCol(cell.col), ClampRow(cell.row)};
  if (!extend) anchor_ = current_;
  return ScrollInView(current_);
}

GridRect GridModel::Selection() const {
  return {std::min(anchor_.col, current_.col), std::min(anchor_.row, current_.row),
          std::max(anchor_.col, current_.col), std::max(anchor_.row, current_.row)};
}

bool GridModel::Selected(int col, int row) const {
  const GridRect s = Selection();
  return col >= s.left && col <= s.right && row >= s.top && row <= s.bottom;
}

bool GridModel::ScrollInView(GridCoord cell) {
  return SetTopLeft(Cols().FirstShowing(cell.col), Rows().FirstShowing(cell.row));
}

GridCoord GridModel::Target(GridMove move) const {
  const int firstCol = fixedCols_;
  const int firstRow = fixedRows_;
  const int lastCol = ColCount() - 1;
  const int lastRow = RowCount() - 1;
  const int page = std::max(VisibleRowCount(), 1);
  GridCoord c = current_;
  switch (move) {
    case GridMove::Left:
      c.col = std::max(c.col - 1, firstCol);
      break;
    case GridMove::Right:
      c.col = std::min(c.col + 1, lastCol);
      break;
    case GridMove::Up:
      c.row = std::max(c.row - 1, firstRow);
      break;
    case GridMove::Down:
      c.row = std::min(c.row + 1, lastRow);
      break;
    case GridMove::Home:
      c.col = firstCol;
      break;
    case GridMove::End:
      c.col = lastCol;
      break;
    case GridMove::CtrlHome:
      c = {firstCol, firstRow};
      break;
    case GridMove::CtrlEnd:
      c = {lastCol, lastRow};
      break;
    case GridMove::PageUp:
      c.row = std::max(c.row - page, firstRow);
      break;
    case GridMove::PageDown:
      c.row = std::min(c.row + page, lastRow);
      break;
    case GridMove::NextCell:
      if (c.col < lastCol) {
        ++c.col;
      } else if (c.row < lastRow) {
        c = {firstCol, c.row + 1};
      }
      break;
    case GridMove::PrevCell:
      if (c.col > firstCol) {
        --c.col;
      } else if (c.row > firstRow) {
        c = {lastCol, c.row - 1};
      }
      break;
  }
  return {ClampCol(c.col), ClampRow(c.row)};
}

GridRect GridModel::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  const int x = Cols().Offset(col);
  const int y = Rows().Offset(row);
  if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return {};
  const int right = std::min(x + ColWidth(col), clientWidth_);
  const int bottom = std::min(y + RowHeight(row), clientHeight_);
  if (right <= x || bottom <= y) return {};
  return {x, y, right, bottom};
}

bool GridModel::WhollyVisible(int col, int row) const {
  const GridRect r = CellRect(col, row);
  if (r.Empty()) return false;
  // Cut at the left edge or at the top or bottom edge: not whole.
  if (r.left == 0 && r.right - r.left != ColWidth(col)) return false;
  return r.bottom - r.top == RowHeight(row);
}

GridCoord GridModel::CellAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return {-1, -1};
  const int col = Cols().At(x);
  const int row = Rows().At(y);
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

bool PatternMatches(int pattern, int index, int count) {
  return pattern == index || pattern == index - count - 1 || pattern == -1;
}

int FindCellPattern(const std::vector<CellPattern>& patterns, int col, int row, int colCount,
                    int rowCount) {
  for (size_t i = 0; i < patterns.size(); ++i) {
    if (PatternMatches(patterns[i].col, col, colCount) &&
        PatternMatches(patterns[i].row, row, rowCount)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace quillorb

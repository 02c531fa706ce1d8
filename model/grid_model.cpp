#include "model/grid_model.h"

#include <algorithm>

namespace quillorb {
namespace {
const std::string kNoText;
}  // namespace

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
  return col >= 0 && col < ColCount() ? colWidths_[static_cast<size_t>(col)] : defaultColWidth_;
}

int GridModel::RowHeight(int row) const {
  return row >= 0 && row < RowCount() ? rowHeights_[static_cast<size_t>(row)] : defaultRowHeight_;
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

int GridModel::FixedWidth() const {
  int width = 0;
  for (int c = 0; c < fixedCols_; ++c) width += ColWidth(c) + lineWidth_;
  return width;
}

int GridModel::FixedHeight() const {
  int height = 0;
  for (int r = 0; r < fixedRows_; ++r) height += RowHeight(r) + lineWidth_;
  return height;
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
  // Walk up from the last row while the rows so far still fit below the fixed rows.
  const int room = clientHeight_ - FixedHeight();
  int used = 0;
  int top = RowCount() - 1;
  for (int r = RowCount() - 1; r >= fixedRows_; --r) {
    used += RowHeight(r) + lineWidth_;
    if (used - lineWidth_ > room) break;
    top = r;
  }
  return std::max(top, fixedRows_);
}

int GridModel::MaxLeftCol() const {
  const int room = clientWidth_ - FixedWidth();
  int used = 0;
  int left = ColCount() - 1;
  for (int c = ColCount() - 1; c >= fixedCols_; --c) {
    used += ColWidth(c) + lineWidth_;
    if (used - lineWidth_ > room) break;
    left = c;
  }
  return std::max(left, fixedCols_);
}

int GridModel::VisibleRowCount() const {
  int y = FixedHeight();
  int count = 0;
  for (int r = topRow_; r < RowCount(); ++r) {
    if (y + RowHeight(r) > clientHeight_) break;
    y += RowHeight(r) + lineWidth_;
    ++count;
  }
  return topRow_ < RowCount() ? std::max(count, 1) : 0;
}

int GridModel::VisibleColCount() const {
  int x = FixedWidth();
  int count = 0;
  for (int c = leftCol_; c < ColCount(); ++c) {
    if (x + ColWidth(c) > clientWidth_) break;
    x += ColWidth(c) + lineWidth_;
    ++count;
  }
  return leftCol_ < ColCount() ? std::max(count, 1) : 0;
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
  int left = leftCol_;
  int top = topRow_;
  if (cell.col >= fixedCols_) {
    if (cell.col < left) {
      left = cell.col;
    } else {
      // Move the left column on until the cell's right edge fits (or the cell is the leftmost).
      const int room = clientWidth_ - FixedWidth();
      while (left < cell.col) {
        int right = 0;
        for (int c = left; c <= cell.col; ++c) right += ColWidth(c) + lineWidth_;
        if (right - lineWidth_ <= room) break;
        ++left;
      }
    }
  }
  if (cell.row >= fixedRows_) {
    if (cell.row < top) {
      top = cell.row;
    } else {
      const int room = clientHeight_ - FixedHeight();
      while (top < cell.row) {
        int bottom = 0;
        for (int r = top; r <= cell.row; ++r) bottom += RowHeight(r) + lineWidth_;
        if (bottom - lineWidth_ <= room) break;
        ++top;
      }
    }
  }
  return SetTopLeft(left, top);
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
  int x = 0;
  if (col < fixedCols_) {
    for (int c = 0; c < col; ++c) x += ColWidth(c) + lineWidth_;
  } else {
    if (col < leftCol_) return {};
    x = FixedWidth();
    for (int c = leftCol_; c < col; ++c) x += ColWidth(c) + lineWidth_;
  }
  int y = 0;
  if (row < fixedRows_) {
    for (int r = 0; r < row; ++r) y += RowHeight(r) + lineWidth_;
  } else {
    if (row < topRow_) return {};
    y = FixedHeight();
    for (int r = topRow_; r < row; ++r) y += RowHeight(r) + lineWidth_;
  }
  if (x >= clientWidth_ || y >= clientHeight_) return {};
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
  auto find = [&](int pos, int fixed, int first, int count, auto size) {
    int at = 0;
    for (int i = 0; i < fixed; ++i) {
      at += size(i) + lineWidth_;
      if (pos < at) return i;
    }
    for (int i = first; i < count; ++i) {
      at += size(i) + lineWidth_;
      if (pos < at) return i;
    }
    return -1;
  };
  const int col = find(x, fixedCols_, leftCol_, ColCount(), [&](int c) { return ColWidth(c); });
  const int row = find(y, fixedRows_, topRow_, RowCount(), [&](int r) { return RowHeight(r); });
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

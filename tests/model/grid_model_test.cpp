#include "model/grid_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillorb {
namespace {

// 9 x 65 cells of 50 x 10 pixels with one fixed column and row, in a 200 x 100 client area:
// lines of 1 pixel, so the fixed row takes 11 pixels, eight scrolling rows fit whole and a ninth
// shows 1 pixel; two scrolling columns fit whole and a third shows 47 of its 50 pixels.
GridModel Sized(int cols = 9, int rows = 65) {
  GridModel grid(cols, rows);
  grid.SetDefaultColWidth(50);
  grid.SetDefaultRowHeight(10);
  grid.SetClientSize(200, 100);
  return grid;
}

TEST(GridModel, CellsSurviveGrowingAndAreDroppedWhenShrinking) {
  GridModel grid = Sized(4, 6);
  grid.SetCell(1, 2, "kept");
  grid.SetCell(3, 5, "corner");
  grid.SetCell(9, 9, "outside");  // ignored
  grid.MoveCurrent({3, 5});
  grid.SetColCount(3);
  grid.SetRowCount(5);
  EXPECT_EQ(grid.Current(), (GridCoord{2, 4}));
  grid.SetColCount(4);
  grid.SetRowCount(6);
  EXPECT_EQ(grid.Cell(1, 2), "kept");
  EXPECT_EQ(grid.Cell(3, 5), "");
  EXPECT_EQ(grid.Cell(9, 9), "");
  EXPECT_EQ(grid.ColWidth(3), 50);  // a new column takes the default width

  // Counts never fall below 1 and leave at least one scrolling row and column.
  grid.SetFixedRows(3);
  grid.SetRowCount(0);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.TopRow(), 0);
}

TEST(GridModel, NavigationKeys) {
  struct Case {
    GridCoord from;
    GridMove move;
    GridCoord to;
  };
  const Case cases[] = {
      {{1, 1}, GridMove::Down, {1, 2}},      {{1, 1}, GridMove::Up, {1, 1}},
      {{1, 1}, GridMove::Left, {1, 1}},      {{1, 1}, GridMove::Right, {2, 1}},
      {{8, 64}, GridMove::Down, {8, 64}},    {{8, 64}, GridMove::Right, {8, 64}},
      {{5, 3}, GridMove::Home, {1, 3}},      {{5, 3}, GridMove::End, {8, 3}},
      {{5, 30}, GridMove::CtrlHome, {1, 1}}, {{5, 30}, GridMove::CtrlEnd, {8, 64}},
      {{1, 1}, GridMove::PageDown, {1, 9}},  {{1, 60}, GridMove::PageDown, {1, 64}},
      {{1, 5}, GridMove::PageUp, {1, 1}},    {{8, 3}, GridMove::NextCell, {1, 4}},
      {{1, 4}, GridMove::PrevCell, {8, 3}},  {{8, 64}, GridMove::NextCell, {8, 64}},
      {{1, 1}, GridMove::PrevCell, {1, 1}},
  };
  for (const Case& c : cases) {
    GridModel grid = Sized();
    grid.MoveCurrent(c.from);
    grid.SetTopLeft(1, 1);  // PageDown/PageUp count the rows seen from the top
    EXPECT_EQ(grid.Target(c.move), c.to)
        << "from " << c.from.col << "," << c.from.row << " move " << static_cast<int>(c.move);
  }
}

TEST(GridModel, ScrollingKeepsTheCurrentCellInViewWithinLimits) {
  GridModel grid = Sized();
  EXPECT_EQ(grid.MaxTopRow(), 57);  // rows 57..64 fill the eight whole rows
  EXPECT_EQ(grid.MaxLeftCol(), 7);
  EXPECT_EQ(grid.VisibleRowCount(), 8);
  EXPECT_EQ(grid.VisibleColCount(), 2);

  struct Step {
    GridCoord to;
    int leftCol, topRow;
  };
  const Step steps[] = {
      {{1, 8}, 1, 1},    // still on screen: no scroll
      {{1, 9}, 1, 2},    // the cut ninth row: one row down, as little as possible
      {{1, 64}, 1, 57},  // the last row: the limit
      {{1, 60}, 1, 57},  // on screen
      {{1, 20}, 1, 20},  // above: it becomes the top row
      {{4, 20}, 3, 20},  // right: columns 3 and 4 fill the room
      {{1, 20}, 1, 20},
  };
  for (const Step& s : steps) {
    grid.MoveCurrent(s.to);
    EXPECT_EQ(grid.LeftCol(), s.leftCol) << s.to.col << "," << s.to.row;
    EXPECT_EQ(grid.TopRow(), s.topRow) << s.to.col << "," << s.to.row;
  }

  EXPECT_TRUE(grid.SetTopLeft(-5, 100));
  EXPECT_EQ(grid.LeftCol(), 1);
  EXPECT_EQ(grid.TopRow(), 57);
  EXPECT_FALSE(grid.SetTopLeft(1, 57));

  // A smaller client lowers the limits; a taller one than the rows need pins the top.
  grid.SetClientSize(200, 1000);
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.MaxTopRow(), 1);

  // A range: the anchor stays while the current cell extends.
  grid.MoveCurrent({2, 3});
  grid.MoveCurrent({4, 6}, true);
  EXPECT_EQ(grid.Selection(), (GridRect{2, 3, 4, 6}));
  EXPECT_TRUE(grid.Selected(3, 5));
  EXPECT_FALSE(grid.Selected(5, 5));
}

TEST(GridModel, CellRectanglesAndTheWhollyVisibleRuleAtTheCutEdges) {
  GridModel grid = Sized();
  struct Case {
    int col, row;
    GridRect rect;
    bool whole;
  };
  const Case cases[] = {
      {0, 0, {0, 0, 50, 10}, true},       // fixed corner
      {1, 1, {51, 11, 101, 21}, true},    // first scrolling cell
      {3, 1, {153, 11, 200, 21}, true},   // cut at the right edge: a control covers what shows
      {1, 9, {51, 99, 101, 100}, false},  // cut at the bottom edge
      {1, 10, {}, false},                 // below the client area
      {4, 1, {}, false},                  // right of it
      {9, 1, {}, false},                  // outside the grid
  };
  for (const Case& c : cases) {
    EXPECT_EQ(grid.CellRect(c.col, c.row), c.rect) << c.col << "," << c.row;
    EXPECT_EQ(grid.WhollyVisible(c.col, c.row), c.whole) << c.col << "," << c.row;
  }
  // Scrolled away: empty; scrolled in: right after the fixed row.
  grid.SetTopLeft(1, 5);
  EXPECT_TRUE(grid.CellRect(1, 4).Empty());
  EXPECT_EQ(grid.CellRect(1, 5), (GridRect{51, 11, 101, 21}));
  EXPECT_EQ(grid.CellAt(60, 15), (GridCoord{1, 5}));
  EXPECT_EQ(grid.CellAt(101, 21), (GridCoord{1, 5}));  // the lines belong to the cell before
  EXPECT_EQ(grid.CellAt(60, 5), (GridCoord{1, 0}));
  EXPECT_EQ(grid.CellAt(-1, 5), (GridCoord{-1, -1}));

  // Without fixed cells a cell starts at the edge: cut at the left (a column wider than the
  // client) or at the top (a row taller than it), it is not whole.
  GridModel bare = Sized(3, 3);
  bare.SetFixedCols(0);
  bare.SetFixedRows(0);
  EXPECT_TRUE(bare.WhollyVisible(0, 0));
  bare.SetColWidth(0, 300);
  EXPECT_EQ(bare.CellRect(0, 0), (GridRect{0, 0, 200, 10}));
  EXPECT_FALSE(bare.WhollyVisible(0, 0));
  bare.SetColWidth(0, 50);
  bare.SetRowHeight(0, 150);
  EXPECT_FALSE(bare.WhollyVisible(0, 0));
}

TEST(CellPattern, FindsTheFirstMatchingRegistrationAgainstTheCurrentCounts) {
  struct Case {
    std::vector<CellPattern> patterns;
    int col, row, colCount, rowCount;
    int expected;
  };
  const Case cases[] = {
      // (1, -1): column 1 of every row, column 0 never.
      {{{1, -1}}, 1, 5, 2, 33, 0},
      {{{1, -1}}, 1, 32, 2, 33, 0},
      {{{1, -1}}, 0, 5, 2, 33, -1},
      // (1, 2) before (1, -1): the cell (1, 2) takes the first, other rows the second ...
      {{{1, 2}, {1, -1}}, 1, 2, 2, 33, 0},
      {{{1, 2}, {1, -1}}, 1, 3, 2, 33, 1},
      // ... in the other order (1, -1) wins everywhere.
      {{{1, -1}, {1, 2}}, 1, 2, 2, 33, 0},
      // (-2, -1) is the last column, whatever the count is now.
      {{{-2, -1}}, 4, 1, 5, 10, 0},
      {{{-2, -1}}, 4, 1, 7, 10, -1},
      {{{-2, -1}}, 6, 1, 7, 10, 0},
      {{{-3, -2}}, 5, 9, 7, 10, 0},  // the column before the last, the last row
      {{{-3, -2}}, 5, 8, 7, 10, -1},
      {{}, 1, 1, 2, 2, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindCellPattern(c.patterns, c.col, c.row, c.colCount, c.rowCount), c.expected)
        << c.col << "," << c.row << " of " << c.colCount << "x" << c.rowCount;
  }
}

}  // namespace
}  // namespace quillorb

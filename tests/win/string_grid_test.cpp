// The string grid on a form under a message loop with the dialog keyboard handling, driven by real
// keystrokes and clicks (SendInput).
#include "win/string_grid.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "tests/win/grid_input.h"
#include "win/app.h"
#include "win/child_window.h"
#include "win/edit.h"
#include "win/form.h"

namespace quillorb {
namespace {

using grid_test::CellPoint;
using grid_test::Chord;
using grid_test::PumpUntil;

// 9 x 65 cells of 16-pixel rows in a 397 x 173 grid, then an edit (the next tab stop).
class GridForm : public win::Form {
 public:
  GridForm() {
    CreateForm("QuillorbStringGridTest", "String grid", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0,
               100, 100, 410, 215, nullptr);
    SetFont(win::Font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, "Arial")));
    grid = std::make_unique<win::StringGrid>(hwnd(), 100, 4, 4, 397, 173);
    next = std::make_unique<win::Edit>(hwnd(), 101, 4, 185, 100, 20);
    grid->SetColCount(9);
    grid->SetRowCount(65);
    grid->SetDefaultRowHeight(16);
    grid->SetDefaultColWidth(50);
    for (int r = 0; r < 65; ++r) grid->SetCell(0, r, std::to_string(r));
    grid->SetOptions(grid->Options() | win::GridEditing | win::GridTabs);
  }

  bool Pump(const std::function<bool()>& condition) { return PumpUntil(hwnd(), condition); }
  bool At(int col, int row) const { return grid->Col() == col && grid->Row() == row; }

  std::unique_ptr<win::StringGrid> grid;
  std::unique_ptr<win::Edit> next;
};

class StringGridTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(grid_test::Activate(form.hwnd(), form.grid->hwnd())); }

  // Presses a key (with modifiers) and waits until `condition` holds.
  bool Press(std::initializer_list<WORD> modifiers, WORD vk,
             const std::function<bool()>& condition) {
    Chord(modifiers, vk);
    return form.Pump(condition);
  }

  GridForm form;
};

TEST_F(StringGridTest, KeyboardNavigationAndEditing) {
  win::StringGrid& g = *form.grid;
  ASSERT_TRUE(form.At(1, 1));
  EXPECT_TRUE(Press({}, VK_DOWN, [&] { return form.At(1, 2); }));
  EXPECT_TRUE(Press({}, VK_END, [&] { return form.At(8, 2); }));
  EXPECT_TRUE(Press({VK_CONTROL}, VK_END, [&] { return form.At(8, 64); }));
  EXPECT_EQ(g.TopRow(), g.Model().MaxTopRow());
  EXPECT_TRUE(g.CellWhollyVisible(8, 64));
  EXPECT_TRUE(Press({}, VK_HOME, [&] { return form.At(1, 64); }));
  EXPECT_TRUE(Press({}, VK_PRIOR, [&] { return form.At(1, 64 - g.VisibleRowCount()); }));
  EXPECT_TRUE(Press({VK_CONTROL}, VK_HOME, [&] { return form.At(1, 1) && g.TopRow() == 1; }));
  // Tab between cells with GridTabs.
  EXPECT_TRUE(Press({}, VK_TAB, [&] { return form.At(2, 1); }));
  EXPECT_TRUE(Press({VK_SHIFT}, VK_TAB, [&] { return form.At(1, 1); }));

  // Typing opens the editor with the typed text; Enter commits it.
  harness::TypeText("hi");
  ASSERT_TRUE(
      form.Pump([&] { return g.EditorMode() && win::WindowText(g.EditorHandle()) == "hi"; }));
  EXPECT_EQ(GetFocus(), g.EditorHandle());
  EXPECT_TRUE(Press({}, VK_RETURN, [&] { return !g.EditorMode(); }));
  EXPECT_EQ(g.Cell(1, 1), "hi");
  EXPECT_EQ(GetFocus(), g.hwnd());
  // F2 opens it on the cell's text; Escape restores the cell.
  EXPECT_TRUE(Press({}, VK_F2, [&] { return g.EditorMode(); }));
  EXPECT_EQ(win::WindowText(g.EditorHandle()), "hi");
  harness::TypeText("x");
  ASSERT_TRUE(form.Pump([&] { return win::WindowText(g.EditorHandle()) == "x"; }));
  EXPECT_TRUE(Press({}, VK_ESCAPE, [&] { return !g.EditorMode(); }));
  EXPECT_EQ(g.Cell(1, 1), "hi");
  // Down in the editor commits and moves on.
  harness::TypeText("y");
  ASSERT_TRUE(form.Pump([&] { return g.EditorMode(); }));
  EXPECT_TRUE(Press({}, VK_DOWN, [&] { return form.At(1, 2) && !g.EditorMode(); }));
  EXPECT_EQ(g.Cell(1, 1), "y");

  // Shift+arrows extend a range.
  EXPECT_TRUE(Press({VK_SHIFT}, VK_RIGHT, [&] { return form.At(2, 2); }));
  EXPECT_EQ(g.Selection(), (GridRect{1, 2, 2, 2}));

  // Without GridTabs, Tab leaves the grid for the next control.
  g.SetOptions(g.Options() & ~win::GridTabs);
  EXPECT_TRUE(Press({}, VK_TAB, [&] { return GetFocus() == form.next->hwnd(); }));
  EXPECT_TRUE(form.At(2, 2));
}

TEST_F(StringGridTest, EventsReachTheirHandlersAndKeysCanBeSwallowed) {
  win::StringGrid& g = *form.grid;
  std::vector<WORD> keys;
  int doubleClicks = 0;
  int topLeftChanges = 0;
  g.OnKeyDown = [&](win::StringGrid&, WORD& key, unsigned) {
    keys.push_back(key);
    if (key == VK_DOWN || key == VK_RETURN) key = 0;
  };
  g.OnDblClick = [&](win::StringGrid&) { ++doubleClicks; };
  g.OnSelectCell = [&](win::StringGrid&, int col, int, bool& canSelect) {
    if (col == 3) canSelect = false;
  };
  g.OnTopLeftChanged = [&](win::StringGrid&) { ++topLeftChanges; };

  // Swallowed: the handler saw Down, the grid did not move; Enter opens no editor.
  EXPECT_TRUE(Press({}, VK_DOWN, [&] { return keys.size() == 1; }));
  EXPECT_TRUE(Press({}, VK_RETURN, [&] { return keys.size() == 2; }));
  EXPECT_EQ(keys, (std::vector<WORD>{VK_DOWN, VK_RETURN}));
  EXPECT_TRUE(form.At(1, 1));
  EXPECT_FALSE(g.EditorMode());
  // Not swallowed: the grid moves; column 3 refuses the selection.
  EXPECT_TRUE(Press({}, VK_RIGHT, [&] { return form.At(2, 1); }));
  EXPECT_TRUE(Press({}, VK_RIGHT, [&] { return keys.size() == 4; }));
  EXPECT_TRUE(form.At(2, 1));

  EXPECT_TRUE(Press({}, VK_NEXT, [&] { return topLeftChanges == 1; }));
  EXPECT_GT(g.TopRow(), 1);

  harness::DoubleClick(CellPoint(g, 4, g.TopRow() + 2));
  EXPECT_TRUE(form.Pump([&] { return doubleClicks == 1; }));
  EXPECT_TRUE(form.At(4, g.TopRow() + 2));
}

// The grid is a Unicode window: a typed character comes as a UTF-16 unit. One the code page has
// reaches OnKeyPress as its ANSI character; one it lacks reaches the editor unseen and unchanged,
// as typing into the editor itself would.
TEST_F(StringGridTest, TypedCharactersReachTheEditorAsTyped) {
  win::StringGrid& g = *form.grid;
  ASSERT_TRUE(IsWindowUnicode(g.hwnd()) && IsWindowUnicode(form.hwnd()));
  std::string seen;
  g.OnKeyPress = [&](win::StringGrid&, char& key) { seen += key; };
  const std::wstring typed = L"\u00E9\u0416";  // an e with acute accent, a Cyrillic Zhe
  std::string expected;
  for (wchar_t c : typed) expected += win::WideToAnsi(std::wstring(1, c)).value_or("");
  for (wchar_t c : typed) {
    for (DWORD up : {0ul, static_cast<DWORD>(KEYEVENTF_KEYUP)}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = c;
      in.ki.dwFlags = KEYEVENTF_UNICODE | up;
      SendInput(1, &in, sizeof in);
    }
  }
  ASSERT_TRUE(form.Pump([&] { return win::WindowTextW(g.EditorHandle()) == typed; })) << seen;
  EXPECT_EQ(seen, expected);
}

// What the grid drew at a point of a cell, read from its window (the screen follows when the
// system passes the window's picture on).
COLORREF DrawnPixel(const win::StringGrid& grid, int col, int row, int dx, int dy) {
  const RECT r = grid.CellRect(col, row);
  HDC dc = GetDC(grid.hwnd());
  const COLORREF pixel = GetPixel(dc, r.left + dx, r.top + dy);
  ReleaseDC(grid.hwnd(), dc);
  return pixel;
}

TEST_F(StringGridTest, PaintsWithTheSystemColours) {
  win::StringGrid& g = *form.grid;
  g.SetCurrent(2, 3);
  g.SetCell(2, 5, "text");
  // Without the focus the current cell shows as selected.
  SetFocus(form.next->hwnd());
  ASSERT_TRUE(form.Pump([&] { return GetFocus() == form.next->hwnd(); }));
  UpdateWindow(g.hwnd());
  EXPECT_EQ(DrawnPixel(g, 2, 3, 40, 8), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(DrawnPixel(g, 2, 4, 40, 8), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(DrawnPixel(g, 2, 0, 40, 8), GetSysColor(COLOR_BTNFACE));
  // A scroll moves what was drawn and paints the rows that came in.
  g.SetTopLeft(1, 3);
  UpdateWindow(g.hwnd());
  EXPECT_EQ(DrawnPixel(g, 2, 3, 40, 8), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(DrawnPixel(g, 2, 5, 40, 8), GetSysColor(COLOR_WINDOW));
  const int last = g.TopRow() + g.VisibleRowCount() - 1;  // came in with the scroll
  EXPECT_EQ(DrawnPixel(g, 2, last, 40, 8), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace quillorb

// The control grid of the demonstration window (a combo box registered for column 1 of every row)
// under a message loop with the dialog keyboard handling, driven by real keystrokes, clicks and
// scroll messages.
#include "controls/ctrl_grid.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/demo/grid_demo.h"
#include "tests/harness/harness.h"
#include "tests/win/grid_input.h"
#include "win/app.h"

namespace quillorb {
namespace {

using grid_test::CellPoint;
using grid_test::Chord;

class CtrlGridTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(grid_test::Activate(form.hwnd(), form.grid->hwnd())); }

  bool Pump(const std::function<bool()>& condition) {
    return grid_test::PumpUntil(form.hwnd(), condition);
  }
  bool Press(WORD vk, const std::function<bool()>& condition) {
    Chord({}, vk);
    return Pump(condition);
  }
  // The combo box lies over (col, row) exactly: the cell's left, top and width in the form's
  // client coordinates, at least the cell's height, with the cell's text.
  void ExpectOver(int col, int row, const std::string& text) {
    TCtrlGrid& g = *form.grid;
    ASSERT_EQ(g.ActiveCtrl(), form.combo.get());
    EXPECT_EQ(g.ActiveCol(), col);
    EXPECT_EQ(g.ActiveRow(), row);
    EXPECT_TRUE(IsWindowVisible(form.combo->hwnd()));
    RECT cell = g.CellRect(col, row);
    MapWindowPoints(g.hwnd(), form.hwnd(), reinterpret_cast<POINT*>(&cell), 2);
    const RECT combo = harness::ChildRect(form.combo->hwnd());
    EXPECT_EQ(combo.left, cell.left);
    EXPECT_EQ(combo.top, cell.top);
    EXPECT_EQ(combo.right, cell.right);
    EXPECT_GE(combo.bottom, cell.bottom);
    EXPECT_EQ(form.combo->Text(), text);
  }
  bool ComboFocused() const { return form.combo->HasFocus(); }
  std::vector<std::string> Column1() const {
    std::vector<std::string> cells;
    for (int r = 0; r < form.grid->RowCount(); ++r) cells.push_back(form.grid->Cell(1, r));
    return cells;
  }

  GridDemoForm form;
};

TEST_F(CtrlGridTest, TheComboCycle) {
  TCtrlGrid& g = *form.grid;
  // A click on a cell of column 1 lays the combo over it with the cell's text.
  harness::Click(CellPoint(g, 1, 2));
  ASSERT_TRUE(Pump([&] { return g.Row() == 2 && g.ActiveRow() == 2; }));
  ExpectOver(1, 2, "Choice 02");

  // Enter on a cell with text: the combo keeps it and takes the focus.
  EXPECT_TRUE(Press(VK_RETURN, [&] { return ComboFocused(); }));
  EXPECT_EQ(form.combo->Text(), "Choice 02");
  // Enter inside the combo: back to the grid, and the combo over the same cell again.
  EXPECT_TRUE(Press(VK_RETURN, [&] { return GetFocus() == g.hwnd(); }));
  ExpectOver(1, 2, "Choice 02");

  // Down to an empty cell; Enter fills the default text and focuses the combo.
  EXPECT_TRUE(Press(VK_DOWN, [&] { return g.ActiveRow() == 3; }));
  ExpectOver(1, 3, "");
  EXPECT_TRUE(Press(VK_RETURN, [&] { return ComboFocused(); }));
  EXPECT_EQ(form.combo->Text(), GridDemoForm::kDefaultText);
  EXPECT_EQ(g.Cell(1, 3), "");
  // Typing into the combo and Enter writes the cell.
  harness::TypeText("Z");
  ASSERT_TRUE(Pump([&] { return form.combo->Text().find('Z') != std::string::npos; }));
  const std::string typed = form.combo->Text();
  EXPECT_TRUE(Press(VK_RETURN, [&] { return GetFocus() == g.hwnd(); }));
  EXPECT_EQ(g.Cell(1, 3), typed);
  ExpectOver(1, 3, typed);

  // Leaving the grid for the combo by a click is Enter too; leaving it for elsewhere writes the
  // cell and hides the combo until the grid has the focus again.
  g.SetCell(1, 4, "");
  EXPECT_TRUE(Press(VK_DOWN, [&] { return g.ActiveRow() == 4; }));
  const RECT box = harness::WindowRectOf(form.combo->hwnd());
  harness::Click(POINT{box.left + 20, (box.top + box.bottom) / 2});
  ASSERT_TRUE(Pump([&] { return ComboFocused(); }));
  EXPECT_EQ(form.combo->Text(), GridDemoForm::kDefaultText);
  SetFocus(nullptr);
  EXPECT_TRUE(Pump([&] { return !IsWindowVisible(form.combo->hwnd()); }));
  EXPECT_EQ(g.Cell(1, 4), GridDemoForm::kDefaultText);
  EXPECT_EQ(g.ActiveCtrl(), nullptr);
  SetFocus(g.hwnd());
  EXPECT_TRUE(Pump([&] { return g.ActiveCtrl() != nullptr; }));
  ExpectOver(1, 4, GridDemoForm::kDefaultText);
}

// The combo's list follows the cell it lies over: Down and Up in it go on from the cell's item
// (the default text's, for an empty cell opened with Enter), not from an item chosen elsewhere.
TEST_F(CtrlGridTest, UpAndDownGoOnFromTheCellsItem) {
  TCtrlGrid& g = *form.grid;
  form.combo->SetItemIndex(40);  // an earlier choice
  struct Case {
    int row;
    std::string down, up;
  };
  const Case cases[] = {{2, "Choice 03", "Choice 01"},
                        {8, "Choice 09", "Choice 07"},
                        {3, "Choice 02", "Choice 01"}};  // empty: the default text, Choice 01
  for (const Case& c : cases) {
    ASSERT_TRUE(g.SetCurrent(1, c.row));
    ASSERT_TRUE(Press(VK_RETURN, [&] { return ComboFocused(); }));
    EXPECT_TRUE(Press(VK_DOWN, [&] { return form.combo->Text() == c.down; }))
        << c.row << ": " << form.combo->Text();
    EXPECT_TRUE(Press(VK_UP, [&] { return form.combo->Text() != c.down; }));
    EXPECT_TRUE(Press(VK_UP, [&] { return form.combo->Text() == c.up; }))
        << c.row << ": " << form.combo->Text();
    ASSERT_TRUE(Press(VK_RETURN, [&] { return GetFocus() == g.hwnd(); }));
  }
  // A text that is no item selects none.
  g.SetCell(1, 10, "free text");
  ASSERT_TRUE(g.SetCurrent(1, 10));
  EXPECT_EQ(form.combo->ItemIndex(), -1);
  g.SetCell(1, 11, "choice 11");  // another case: no item either
  ASSERT_TRUE(g.SetCurrent(1, 11));
  EXPECT_EQ(form.combo->ItemIndex(), -1);
}

TEST_F(CtrlGridTest, ACellCutByScrollingHidesTheComboUntilItIsWholeAgain) {
  TCtrlGrid& g = *form.grid;
  // Eight and a half rows below the header: the ninth scrolling row is cut at the bottom.
  SetWindowPos(g.hwnd(), nullptr, 0, 0, 397, 165, SWP_NOMOVE | SWP_NOZORDER);
  g.SetCell(1, 9, "Nine");
  ASSERT_TRUE(g.SetCurrent(1, 9));
  ASSERT_EQ(g.TopRow(), 2);
  ExpectOver(1, 9, "Nine");
  const std::vector<std::string> before = Column1();

  SendMessageA(g.hwnd(), WM_VSCROLL, SB_LINEUP, 0);  // row 9 cut at the bottom edge
  EXPECT_EQ(g.TopRow(), 1);
  EXPECT_FALSE(g.CellWhollyVisible(1, 9));
  EXPECT_EQ(g.ActiveCtrl(), nullptr);
  EXPECT_FALSE(IsWindowVisible(form.combo->hwnd()));
  SendMessageA(g.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  ExpectOver(1, 9, "Nine");
  SendMessageA(g.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);  // scrolled away above
  EXPECT_EQ(g.ActiveCtrl(), nullptr);
  g.SetTopLeft(1, 2);
  ExpectOver(1, 9, "Nine");
  EXPECT_EQ(Column1(), before);
}

TEST_F(CtrlGridTest, ScrollingWithTheListOpenWritesOnlyTheComboCell) {
  TCtrlGrid& g = *form.grid;
  ASSERT_TRUE(g.SetCurrent(1, 4));
  ASSERT_TRUE(Press(VK_RETURN, [&] { return ComboFocused(); }));
  form.combo->SetDroppedDown(true);
  ASSERT_TRUE(form.combo->DroppedDown());
  form.combo->SetText("Picked");
  std::vector<std::string> expected = Column1();
  expected[4] = "Picked";

  // The wheel over the grid scrolls row 4 away while the list is down.
  SendMessageA(g.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
  EXPECT_GT(g.TopRow(), 4);
  EXPECT_FALSE(form.combo->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(form.combo->hwnd()));
  EXPECT_EQ(GetFocus(), g.hwnd());  // the focus did not stay in a hidden window
  // Whatever the list still reports after closing reaches no cell.
  EXPECT_TRUE(Pump([] { return true; }));
  EXPECT_EQ(Column1(), expected);

  SendMessageA(g.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA), 0);
  ExpectOver(1, 4, "Picked");
}

TEST_F(CtrlGridTest, LongCellTextsAreNeverCutByPassingOver) {
  TCtrlGrid& g = *form.grid;
  const std::string longText(300, 'w');
  g.SetCell(1, 5, longText);
  ASSERT_TRUE(g.SetCurrent(1, 5));
  EXPECT_EQ(form.combo->Text(), longText.substr(0, TCtrlGrid::kMaxControlText));
  ASSERT_TRUE(g.SetCurrent(1, 6));
  EXPECT_EQ(g.Cell(1, 5), longText);
  // Changed in the combo, the cell takes what the combo holds.
  ASSERT_TRUE(g.SetCurrent(1, 5));
  form.combo->SetText("short");
  ASSERT_TRUE(g.SetCurrent(1, 6));
  EXPECT_EQ(g.Cell(1, 5), "short");
}

TEST_F(CtrlGridTest, TheThirtyThirdRegistrationIsRefusedWithAMessage) {
  TCtrlGrid& g = *form.grid;
  win::SetApplicationTitle("Quillorb grid test");
  for (int i = 1; i < TCtrlGrid::kMaxCtrls; ++i) g.AddControl(5, i, nullptr, "");
  ASSERT_EQ(g.CtrlCount(), TCtrlGrid::kMaxCtrls);

  std::wstring text;
  std::atomic<bool> seen{false};
  std::thread watcher([&] {
    HWND box = nullptr;
    harness::WaitUntil(
        [&] { return (box = FindWindowA("#32770", "Quillorb grid test")) != nullptr; });
    if (!box) return;
    text = harness::MessageBoxText(box);
    seen = true;
    harness::DismissMessageBox(box);
  });
  g.AddControl(1, 1, form.combo.get(), "");
  watcher.join();
  ASSERT_TRUE(seen);
  EXPECT_EQ(text, L"CtrlGrid:コントロールが既に32個登録されています。");
  EXPECT_EQ(g.CtrlCount(), TCtrlGrid::kMaxCtrls);

  // The first registration still works.
  ASSERT_TRUE(g.SetCurrent(1, 7));
  ExpectOver(1, 7, "Choice 07");
}

TEST_F(CtrlGridTest, TheControlsOwnHandlersStillRun) {
  // A second grid with a combo that has handlers of its own before it is registered: typed 'a'
  // becomes 'b', every key and every exit is counted.
  ShowWindow(form.grid->hwnd(), SW_HIDE);
  TCtrlGrid g(form.hwnd(), 200, 4, 28, 397, 173);
  g.SetOptions(g.Options() | win::GridEditing);
  g.SetColCount(2);
  g.SetColWidth(1, 200);
  win::ComboBox combo(form.hwnd(), 201, 0, 0, 120);
  std::vector<char> keys;
  int exits = 0;
  combo.OnKeyPress = [&](win::HostedControl&, char& key) {
    keys.push_back(key);
    if (key == 'a') key = 'b';
  };
  combo.OnExit = [&](win::HostedControl&) { ++exits; };
  g.AddControl(1, 2, &combo, "");
  g.AddControl(1, -1, &combo, "");  // the same control again: its own handlers once, no loop
  ASSERT_TRUE(grid_test::Activate(form.hwnd(), g.hwnd()));
  ASSERT_TRUE(Press(VK_RETURN, [&] { return combo.HasFocus(); }));
  harness::TypeText("a");
  ASSERT_TRUE(Pump([&] { return combo.Text() == "b"; }));
  EXPECT_TRUE(Press(VK_RETURN, [&] { return GetFocus() == g.hwnd(); }));
  EXPECT_EQ(g.Cell(1, 1), "b");
  EXPECT_EQ(keys, (std::vector<char>{'a', '\r'}));
  EXPECT_EQ(exits, 1);
}

TEST_F(CtrlGridTest, TheComboFieldKeepsCharactersOutsideAscii) {
  // The field's procedure is a wide one, so typed characters arrive as UTF-16: OnKeyPress sees
  // those of the code page in ANSI (and may change them); the others pass unseen, as a plain
  // combo box keeps them.
  ASSERT_EQ(GetACP(), 1252u) << "the cases are those of the Western code page";
  win::ComboBox combo(form.hwnd(), 202, 0, 0, 120);
  std::vector<char> keys;
  combo.OnKeyPress = [&](win::HostedControl&, char& key) {
    keys.push_back(key);
    if (key == 'a') key = '\xE9';
  };
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo.hwnd(), &info));
  for (wchar_t c : std::wstring(L"\x20AC\x0151"
                                L"a"))
    SendMessageW(info.hwndItem, WM_CHAR, c, 1);
  wchar_t text[16] = {};
  GetWindowTextW(info.hwndItem, text, 16);
  EXPECT_EQ(std::wstring(text), L"\x20AC\x0151\x00E9");  // euro sign, o with double acute, e acute
  EXPECT_EQ(keys, (std::vector<char>{'\x80', 'a'}));
}

TEST_F(CtrlGridTest, TheComboOutlivingTheGridIgnoresItsHandlers) {
  ASSERT_TRUE(form.grid->SetCurrent(1, 2));
  form.grid.reset();
  ASSERT_TRUE(form.combo->OnKeyPress);
  char key = '\r';
  form.combo->OnKeyPress(*form.combo, key);
  form.combo->OnExit(*form.combo);
  EXPECT_EQ(key, '\r');
}

}  // namespace
}  // namespace quillorb

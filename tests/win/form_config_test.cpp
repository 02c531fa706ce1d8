// The configuration dialog in-process, driven with real window messages: the pages, the toggles
// and the key capture, the user slots, OK and Cancel through the main window's exchange.
// With QUILLORB_SHOT_DIR set, the Pictures test saves every page as config-<n>.bmp there.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/form_main.h"
#include "dialogs/form_config.h"
#include "tests/harness/harness.h"
#include "tests/win/dialog_script.h"
#include "tests/win/grid_input.h"
#include "tests/win/main_window_fixture.h"
#include "win/app.h"

namespace quillorb {
namespace {

class ConfigDialog : public MainWindowFixture {
 protected:
  // A dialog on a copy of `data`, filled and shown (without a modal run).
  std::unique_ptr<TForm_Config> Open(ConfigData data) {
    data.ClientCaptions = {"a", "b", "c", "d", "e"};
    auto dialog = std::make_unique<TForm_Config>(main_->hwnd(), TForm_Config::Resources{}, data);
    dialog->FillPages();
    ShowWindow(dialog->hwnd(), SW_SHOWNOACTIVATE);
    return dialog;
  }

  // Real mouse and key messages to a grid's window.
  static void DoubleClickCell(win::StringGrid& grid, int col, int row) {
    const RECT r = grid.CellRect(col, row);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(grid.hwnd(), WM_LBUTTONUP, 0, at);
    SendMessageA(grid.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(grid.hwnd(), WM_LBUTTONUP, 0, at);
  }
  static void Key(win::StringGrid& grid, WORD vk) {
    SendMessageA(grid.hwnd(), WM_KEYDOWN, vk, 1);
    SendMessageA(grid.hwnd(), WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  }

  static void SelectWithFocus(TForm_Config& dialog, int page, win::StringGrid& grid, int col,
                              int row) {
    dialog.PageControl1->SetActivePage(page);
    SetFocus(grid.hwnd());
    ASSERT_TRUE(grid.SetCurrent(col, row));
  }

  // Runs the main window's Configuration button; `drive` runs inside the modal run, on the
  // dialog, and ends it.
  static void RunConfigButton(const std::function<void(TForm_Config&)>& drive) {
    drive_ = &drive;
    SetTimer(nullptr, 0, 1, &ConfigDialog::Drive);
    main_->SpeedButton_ConfigClick();
    drive_ = nullptr;
  }
  static void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND w = FindWindowA(kConfigDialogClass, nullptr);
    auto* dialog = dynamic_cast<TForm_Config*>(
        reinterpret_cast<win::Window*>(GetWindowLongPtrA(w, GWLP_USERDATA)));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->Running());
    (*drive_)(*dialog);
  }

  static inline TForm_Main*& main_ = form_;  // the fixture's main window
  static const std::function<void(TForm_Config&)>* drive_;
};
const std::function<void(TForm_Config&)>* ConfigDialog::drive_ = nullptr;

TEST_F(ConfigDialog, WindowAndPages) {
  auto dialog = Open(ConfigData{});
  HWND w = dialog->hwnd();
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "TForm_Config");
  EXPECT_EQ(dialog->Text(), "Quillorb - Config");
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 422);
  EXPECT_EQ(client.bottom, 297);
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_THICKFRAME);

  HWND tabs = dialog->PageControl1->hwnd();
  const char* captions[] = {"General",  "User List", "Spellbook && Danger", "Spell Casting",
                            "Reagents", "Macro",     "Spell Information",   "About"};
  ASSERT_EQ(TabCtrl_GetItemCount(tabs), 8);
  for (int i = 0; i < 8; ++i) {
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, captions[i]);
    // Each page is a window of its own inside the tab control; only the selected one shows.
    EXPECT_EQ(GetParent(dialog->TabSheets[static_cast<size_t>(i)]->hwnd()), tabs);
    EXPECT_EQ(IsWindowVisible(dialog->TabSheets[static_cast<size_t>(i)]->hwnd()) != 0, i == 0);
  }
  EXPECT_EQ(harness::ChildRect(dialog->Button1->hwnd()).left, 256);
  EXPECT_TRUE(dialog->Button2->Cancel);
  EXPECT_TRUE(dialog->ComboBox_Caption->Visible());  // for a client found by its caption
  // The other pages' controls are made when they first show.
  EXPECT_FALSE(dialog->PageCreated(kPageUserList));
  EXPECT_EQ(dialog->CtrlGrid_User, nullptr);
  dialog->PageControl1->SetActivePage(kPageUserList);
  EXPECT_EQ(dialog->CtrlGrid_User->RowCount(), 33);
  EXPECT_EQ(dialog->ComboBox_Spell->Count(), 64);
  EXPECT_EQ(dialog->PriceEdit(0).Text(), "5.00");

  // Choosing a tab with the mouse shows its page.
  RECT tab{};
  TabCtrl_GetItemRect(tabs, kPageMacro, &tab);
  const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(tabs, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(dialog->PageControl1->ActivePageIndex(), kPageMacro);
  EXPECT_TRUE(IsWindowVisible(dialog->StringGrid_Macro->hwnd()));
  EXPECT_FALSE(IsWindowVisible(dialog->TabSheets[kPageGeneral]->hwnd()));
}

// Tab goes round the page tabs, the shown page's controls, OK and Cancel, and Shift+Tab the same
// way back, on two pages; Ctrl+Tab and Ctrl+Shift+Tab still switch the pages, and Tab then Enter
// after a switch stays in the page instead of pressing OK.
TEST_F(ConfigDialog, TabGoesRoundThePageTabsThePageAndTheButtons) {
  TForm_Config d(main_->hwnd(), TForm_Config::Resources{}, ConfigData{});
  HWND tabs = d.PageControl1->hwnd();
  // The control holding the focus (a combo box for its field).
  auto focused = [&] {
    HWND f = GetFocus();
    while (f && GetParent(f) && GetParent(f) != d.hwnd() &&
           !(GetWindowLongPtrA(GetParent(f), GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
      f = GetParent(f);
    }
    return f;
  };
  constexpr int kPresses = 24;  // more than a round on either page
  struct Round {
    int page;
    std::vector<HWND> inOrder;  // some of the page's controls, in their order
    std::vector<HWND> seen;     // after 0, 1, .. kPresses Tabs, then 1, 2, .. Shift+Tabs
  };
  std::vector<Round> rounds(2);
  std::vector<std::function<void()>> steps;
  auto walk = [&](Round& round) {
    for (int i = 0; i < 2 * kPresses; ++i) {
      steps.push_back([&, i] {
        round.seen.push_back(focused());
        i < kPresses ? grid_test::Chord({}, VK_TAB) : grid_test::Chord({VK_SHIFT}, VK_TAB);
      });
    }
    steps.push_back([&] { round.seen.push_back(focused()); });
  };
  steps.push_back([&] {
    rounds[0].page = d.PageControl1->ActivePageIndex();
    for (int r = 0; r < kReagentCount; ++r) rounds[0].inOrder.push_back(d.PriceEdit(r).hwnd());
    rounds[0].inOrder.push_back(d.CheckBox_OnTop->hwnd());
  });
  walk(rounds[0]);
  steps.push_back([&] {
    SetFocus(tabs);
    for (int i = 0; i < 3; ++i) grid_test::Chord({VK_CONTROL, VK_SHIFT}, VK_TAB);  // back round
  });
  steps.push_back([&] {
    rounds[1].page = d.PageControl1->ActivePageIndex();
    rounds[1].inOrder = {d.StringGrid_Macro->hwnd(), d.Button3->hwnd()};
  });
  walk(rounds[1]);
  int switchedTo = -1;
  bool runningAfterEnter = false;
  steps.push_back([&] {
    SetFocus(tabs);
    for (int i = 0; i < 4; ++i) grid_test::Chord({VK_CONTROL}, VK_TAB);
  });
  steps.push_back([&] {
    switchedTo = d.PageControl1->ActivePageIndex();
    grid_test::Chord({}, VK_TAB);
    grid_test::Chord({}, VK_RETURN);
  });
  steps.push_back([&] {
    runningAfterEnter = d.Running() && d.ComboBox_Spell && d.ComboBox_Spell->HasFocus();
    grid_test::Chord({}, VK_ESCAPE);
  });
  DialogScript script(std::move(steps));
  EXPECT_EQ(d.ShowModal(), win::kModalCancel);
  ASSERT_TRUE(script.Finished());

  EXPECT_EQ(rounds[0].page, kPageGeneral);
  EXPECT_EQ(rounds[1].page, kPageMacro);
  for (const Round& round : rounds) {
    SCOPED_TRACE("page " + std::to_string(round.page));
    const std::vector<HWND>& seen = round.seen;
    ASSERT_EQ(seen.size(), 2u * kPresses + 1);
    // The round: from the page tabs to the next time they have the focus.
    const auto back = std::find(seen.begin() + 1, seen.end(), tabs);
    ASSERT_EQ(seen.front(), tabs);
    ASSERT_NE(back, seen.end());
    const std::vector<HWND> cycle(seen.begin(), back);
    ASSERT_GE(cycle.size(), 3u + round.inOrder.size());
    EXPECT_EQ(cycle[cycle.size() - 2], d.Button1->hwnd());
    EXPECT_EQ(cycle.back(), d.Button2->hwnd());
    HWND page = d.TabSheets[static_cast<size_t>(round.page)]->hwnd();
    for (size_t i = 1; i + 2 < cycle.size(); ++i) EXPECT_TRUE(IsChild(page, cycle[i])) << i;
    auto next = cycle.begin();
    for (HWND control : round.inOrder) {
      next = std::find(next, cycle.end(), control);
      EXPECT_NE(next, cycle.end()) << "in its place";
    }
    // Every Tab goes one on, every Shift+Tab one back, round and round.
    const int n = static_cast<int>(cycle.size());
    for (int k = 0; k < static_cast<int>(seen.size()); ++k) {
      const int position = k <= kPresses ? k : 2 * kPresses - k;
      EXPECT_EQ(seen[static_cast<size_t>(k)], cycle[static_cast<size_t>(position % n)]) << k;
    }
  }
  EXPECT_EQ(switchedTo, kPageUserList);
  EXPECT_TRUE(runningAfterEnter);
}

TEST_F(ConfigDialog, MacroPageTogglesAndCapturesKeys) {
  ConfigData data;
  data.Spells[0].Key = 0x70;
  data.Spells[1].Key = 0x87;
  data.Spells[2].Key = 0x41;
  for (TSpell& s : data.Spells) s.Ctrl = false;
  auto dialog = Open(data);
  dialog->PageControl1->SetActivePage(kPageMacro);
  win::StringGrid& grid = *dialog->StringGrid_Macro;
  EXPECT_EQ(grid.Cell(4, 1), "F1");
  EXPECT_EQ(grid.Cell(4, 2), "F24");
  EXPECT_EQ(grid.Cell(4, 3), "A");

  ASSERT_TRUE(grid.SetCurrent(4, 4));
  Key(grid, VK_F5);
  EXPECT_EQ(grid.Cell(4, 4), "F5");
  Key(grid, 'A');
  EXPECT_EQ(grid.Cell(4, 4), "A");
  Key(grid, VK_SPACE);
  Key(grid, VK_RETURN);
  EXPECT_EQ(grid.Cell(4, 4), "A");
  Key(grid, VK_DOWN);  // moves on and leaves the cell
  EXPECT_EQ(grid.Row(), 5);
  EXPECT_EQ(grid.Cell(4, 4), "A");
  EXPECT_EQ(grid.Cell(4, 5), "1");

  DoubleClickCell(grid, 2, 6);
  EXPECT_EQ(grid.Cell(2, 6), "CTRL");
  DoubleClickCell(grid, 2, 7);
  DoubleClickCell(grid, 2, 7);
  EXPECT_EQ(grid.Cell(2, 7), "");
  DoubleClickCell(grid, 4, 6);  // the KEY column does not toggle
  EXPECT_EQ(grid.Cell(4, 6), "1");

  dialog->ApplyPages();
  EXPECT_EQ(dialog->Spells[0].Key, 0x70);
  EXPECT_EQ(dialog->Spells[1].Key, 0x87);
  EXPECT_EQ(dialog->Spells[2].Key, 0x41);
  EXPECT_EQ(dialog->Spells[3].Key, 0x41);
  EXPECT_TRUE(dialog->Spells[5].Ctrl);
  EXPECT_FALSE(dialog->Spells[6].Ctrl);
}

// F10 and every key held with Alt come as system keys; Delete clears the KEY cell; keys whose
// character is a control character leave it.
TEST_F(ConfigDialog, KeyColumnTakesSystemKeysAndDelete) {
  auto dialog = Open(ConfigData{});
  dialog->PageControl1->SetActivePage(kPageMacro);
  win::StringGrid& grid = *dialog->StringGrid_Macro;
  ASSERT_TRUE(grid.SetCurrent(4, 3));
  constexpr LPARAM kAlt = LPARAM{1} << 29;
  struct Case {
    UINT msg;
    WORD vk;
    LPARAM alt;
    std::string cell;
  };
  std::vector<Case> cases;
  for (WORD n = 1; n <= 24; ++n) {
    // Alt+F4 closes the dialog (the real-input test shows it): F4 comes without Alt here.
    cases.push_back({WM_SYSKEYDOWN, static_cast<WORD>(VK_F1 + n - 1), n == 4 ? 0 : kAlt,
                     "F" + std::to_string(n)});
  }
  cases.push_back({WM_SYSKEYDOWN, VK_F10, 0, "F10"});
  cases.push_back({WM_SYSKEYDOWN, 'Q', kAlt, "Q"});
  cases.push_back({WM_SYSKEYDOWN, '7', kAlt, "7"});
  cases.push_back({WM_SYSKEYDOWN, VK_OEM_2, kAlt, "/"});
  cases.push_back({WM_KEYDOWN, VK_OEM_PERIOD, 0, "."});
  cases.push_back({WM_KEYDOWN, VK_BACK, 0, "."});
  cases.push_back({WM_KEYDOWN, VK_TAB, 0, "."});
  cases.push_back({WM_KEYDOWN, VK_ESCAPE, 0, "."});
  cases.push_back({WM_KEYDOWN, VK_DELETE, 0, ""});
  for (const Case& c : cases) {
    SendMessageA(grid.hwnd(), c.msg, c.vk, c.alt | 1);
    SendMessageA(grid.hwnd(), c.msg == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, c.vk,
                 c.alt | static_cast<LPARAM>(0xC0000001u));
    EXPECT_EQ(grid.Cell(4, 3), c.cell) << "key " << c.vk;
  }
  EXPECT_EQ(grid.Row(), 3);
  // Alt+Space stays the window menu's key: it toggles no modifier.
  ASSERT_TRUE(grid.SetCurrent(1, 3));
  const std::string alt = grid.Cell(1, 3);
  SendMessageA(grid.hwnd(), WM_SYSKEYDOWN, VK_SPACE, kAlt | 1);
  EXPECT_EQ(grid.Cell(1, 3), alt);
  dialog->ApplyPages();
  EXPECT_EQ(dialog->Spells[2].Key, 0);
  // Spell 2's key line (after two entries of three lines) begins with the blank.
  const std::string file = MacroFileText(dialog->Spells);
  size_t line = 0;
  for (int n = 0; n < 6; ++n) line = file.find("\r\n", line) + 2;
  EXPECT_EQ(file.substr(line, 2), " " + std::string(dialog->Spells[2].Ctrl ? "1" : "0"));
}

// A double click toggles the data cell under the pointer only: on a header, a spell's label or
// the blank area right of the columns nothing changes, even with the selected cell out of view.
TEST_F(ConfigDialog, DoubleClickAwayFromTheDataCellsChangesNothing) {
  auto dialog = Open(ConfigData{});
  struct Grid {
    int page;
    std::function<win::StringGrid&()> grid;
    int col;
  };
  const Grid grids[] = {
      {kPageSpellbook, [&]() -> win::StringGrid& { return *dialog->StringGrid_Spellbook; }, 1},
      {kPageReagents, [&]() -> win::StringGrid& { return *dialog->StringGrid_Reagent; }, 1},
      {kPageMacro, [&]() -> win::StringGrid& { return *dialog->StringGrid_Macro; }, 2},
  };
  for (const Grid& g : grids) {
    dialog->PageControl1->SetActivePage(g.page);
    win::StringGrid& grid = g.grid();
    for (const bool outOfView : {false, true}) {
      ASSERT_TRUE(grid.SetCurrent(g.col, 1));
      grid.SetTopLeft(1, outOfView ? 40 : 1);
      const std::string before = grid.Cell(g.col, 1);
      const RECT client = grid.ClientRect();
      const RECT header = grid.CellRect(g.col, 0);
      const RECT label = grid.CellRect(0, grid.TopRow() + 2);
      const POINT spots[] = {{(header.left + header.right) / 2, header.top + 8},
                             {label.left + 20, label.top + 8},
                             {client.right - 2, label.top + 8}};
      for (const POINT& at : spots) {
        const GridCoord under = grid.CellAt(at);
        EXPECT_TRUE(under.col < 1 || under.row < 1);  // not a data cell
        const LPARAM lp = MAKELPARAM(at.x, at.y);
        SendMessageA(grid.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, lp);
        SendMessageA(grid.hwnd(), WM_LBUTTONUP, 0, lp);
        SendMessageA(grid.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, lp);
        SendMessageA(grid.hwnd(), WM_LBUTTONUP, 0, lp);
        EXPECT_EQ(grid.Cell(g.col, 1), before)
            << "page " << g.page << " at " << at.x << "," << at.y << (outOfView ? " scrolled" : "");
        grid.SetCell(g.col, 1, before);
      }
    }
  }
}

// A price field takes both the point and the comma for the decimal point and shows the system's
// separator, on a system of either; it refuses a second point, a minus sign and a digit that
// would make more than 20.
TEST_F(ConfigDialog, PriceFieldsTakePointAndCommaAndNoNegative) {
  char saved[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, sizeof saved);
  auto dialog = Open(ConfigData{});
  TNumEdit& price = dialog->PriceEdit(0);
  auto type = [&](const std::string& text) {
    SetFocus(price.hwnd());
    SendMessageA(price.hwnd(), EM_SETSEL, 0, -1);
    for (char c : text) SendMessageA(price.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 1);
  };
  for (const char* separator : {".", ","}) {
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator));
    const std::string sep = separator;
    SCOPED_TRACE("separator " + sep);
    struct Case {
      const char* typed;
      std::string shown;
      double value;
    };
    const Case cases[] = {{"3,5", "3" + sep + "5", 3.5},
                          {"0.25", "0" + sep + "25", 0.25},
                          {"1,2.5", "1" + sep + "25", 1.25},
                          {"-3", "3", 3.0},
                          {"35", "3", 3.0},
                          {",75", sep + "75", 0.75}};
    for (const Case& c : cases) {
      type(c.typed);
      EXPECT_EQ(price.Text(), c.shown) << c.typed;
      EXPECT_DOUBLE_EQ(price.Real(), c.value) << c.typed;
    }
    SetFocus(dialog->Button1->hwnd());
    EXPECT_EQ(price.Text(), "0" + sep + "75");
  }
  SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  SetFocus(price.hwnd());
  SetWindowTextA(price.hwnd(), "-3");  // pasted: kept at the minimum
  EXPECT_DOUBLE_EQ(price.Real(), 0.0);
  SetFocus(dialog->Button1->hwnd());
  dialog->ApplyPages();
  EXPECT_FLOAT_EQ(dialog->ReagentCost[0], 0.0f);
}

TEST_F(ConfigDialog, SpellbookReagentsAndInformation) {
  ConfigData data;
  data.Spells[0].Reagent = {2, 0, 0, 0, 0, 0, 0, 0};
  data.Spells[1].InSpellBook = false;
  auto dialog = Open(data);
  for (int page : {kPageSpellbook, kPageInfo, kPageReagents})
    dialog->PageControl1->SetActivePage(page);
  win::StringGrid& book = *dialog->StringGrid_Spellbook;
  ASSERT_TRUE(book.SetCurrent(1, 2));
  Key(book, VK_RETURN);
  EXPECT_EQ(book.Cell(1, 2), "BOOK");
  ASSERT_TRUE(book.SetCurrent(2, 2));
  Key(book, VK_SPACE);
  EXPECT_EQ(book.Cell(2, 2), "DANGER");

  win::StringGrid& reagents = *dialog->StringGrid_Reagent;
  EXPECT_EQ(reagents.Cell(1, 1), "BP");
  DoubleClickCell(reagents, 7, 3);
  DoubleClickCell(reagents, 8, 3);
  EXPECT_EQ(reagents.Cell(7, 3), "SA");

  // Mana typed through the grid's editor; a renamed spell keeps its label on the other pages.
  win::StringGrid& info = *dialog->StringGrid_Info;
  ASSERT_TRUE(info.SetCurrent(3, 1));
  for (char c : std::string("abc")) SendMessageA(info.hwnd(), WM_CHAR, c, 1);
  info.HideEditor();
  EXPECT_EQ(info.Cell(3, 1), "abc");
  info.SetCell(3, 2, "-5");
  info.SetCell(3, 3, "");
  info.SetCell(1, 4, "Renamed\tSpell");
  dialog->ApplyPages();
  EXPECT_EQ(dialog->Spells[0].Reagent, (ReagentCounts{2, 0, 0, 0, 0, 0, 0, 0}));  // still marked
  EXPECT_TRUE(dialog->Spells[1].InSpellBook && dialog->Spells[1].Danger);
  EXPECT_EQ(dialog->Spells[2].Reagent[6], 1);
  EXPECT_EQ(dialog->Spells[2].Reagent[7], 1);
  EXPECT_EQ(dialog->Spells[0].Mana, 10);
  EXPECT_EQ(dialog->Spells[1].Mana, -5);
  EXPECT_EQ(dialog->Spells[2].Mana, 10);
  EXPECT_EQ(dialog->Spells[3].Name, "Renamed Spell");  // never a column break in spells.txt
  EXPECT_EQ(book.Cell(0, 4), "1-4 ");
}

TEST_F(ConfigDialog, UserSlotsThroughTheSpellChooser) {
  ConfigData data;
  data.Spells[19].Name = "Fire Field";
  data.UserSlot[3][7] = 70;
  auto dialog = Open(data);
  dialog->CreatePage(kPageUserList);
  TCtrlGrid& grid = *dialog->CtrlGrid_User;
  EXPECT_EQ(grid.Cell(0, 10), "B-2");
  EXPECT_EQ(grid.Cell(1, 32), "");  // 70 is no spell

  // The chooser lies over the selected cell; picking item 19 and leaving writes its label.
  SelectWithFocus(*dialog, kPageUserList, grid, 1, 10);
  ASSERT_EQ(grid.ActiveCtrl(), dialog->ComboBox_Spell.get());
  // The chooser fits its row: it covers neither the next row nor, on the last row shown, the
  // grid's edge.
  auto inPage = [&](RECT r) {
    MapWindowPoints(grid.hwnd(), dialog->TabSheets[kPageUserList]->hwnd(),
                    reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  for (const int row : {grid.TopRow() + grid.VisibleRowCount() - 1, 10}) {
    ASSERT_TRUE(grid.SetCurrent(1, row));
    const RECT chooser = harness::ChildRect(dialog->ComboBox_Spell->hwnd());
    const RECT cell = inPage(grid.CellRect(1, row));
    EXPECT_EQ(chooser.top, cell.top) << row;
    EXPECT_LE(chooser.bottom, cell.bottom + grid.GridLineWidth()) << row;
    EXPECT_LE(chooser.bottom, inPage(grid.ClientRect()).bottom) << row;
  }
  dialog->ComboBox_Spell->SetItemIndex(19);
  SetFocus(dialog->Button1->hwnd());
  EXPECT_EQ(grid.Cell(1, 10), "3-4 Fire Field");
  grid.SetCell(1, 11, "x");
  grid.SetCell(1, 12, "9-1 typed");
  dialog->ApplyPages();
  EXPECT_EQ(dialog->UserSlot[1][1], 19);
  EXPECT_EQ(dialog->UserSlot[1][2], 0);
  EXPECT_EQ(dialog->UserSlot[1][3], 0);  // never 64 + 0, outside the spells
  EXPECT_EQ(dialog->UserSlot[3][7], 0);
}

// The caption chooser through the main window's exchange: a fresh profile's five equal captions
// are offered once; Alt+G reaches the chooser; OK refuses, with its reason and the dialog still
// open, each caption that names no game client; a caption that does is taken and offered first.
TEST_F(ConfigDialog, CaptionChooserRefusesCaptionsThatNameNoClient) {
  const std::string def(kDefaultClientCaption);
  main_->ClientCaption = def;
  main_->ClientCaptions.assign(kCaptionSlots, def);
  auto dialog = [] {
    return dynamic_cast<TForm_Config*>(reinterpret_cast<win::Window*>(
        GetWindowLongPtrA(FindWindowA(kConfigDialogClass, nullptr), GWLP_USERDATA)));
  };
  auto field = [&] { return dialog()->ComboBox_Caption->hwnd(); };
  std::vector<std::string> offered, messages;
  std::vector<int> focusedIds;
  auto noteFocus = [&] { focusedIds.push_back(GetDlgCtrlID(GetParent(GetFocus()))); };
  std::vector<std::function<void()>> steps = {[&] {
    offered = dialog()->CaptionList();
    SetFocus(dialog()->PriceEdit(0).hwnd());
    PostMessageA(dialog()->PriceEdit(0).hwnd(), WM_SYSCHAR, 'g', LPARAM{1} << 29);
  }};
  const std::pair<const wchar_t*, const char*> refused[] = {
      {L"U", "too short"},
      {L"Ultima Online", "classic client's caption starts"},
      {L"UOAssist", "assistant program's caption"},
      {L"\x0416\x0443\x043A - Shard", "outside the system's code page"},
  };
  for (const auto& [typed, reason] : refused) {
    steps.push_back([&, typed = typed] {
      noteFocus();
      dialog()->PageControl1->SetActivePage(kPageMacro);
      SetWindowTextW(field(), typed);
      PostMessageA(dialog()->Button1->hwnd(), BM_CLICK, 0, 0);
    });
    steps.push_back([&] {  // inside the refusal's message box
      HWND box = FindWindowA("#32770", nullptr);
      messages.push_back(box ? harness::WindowText(GetDlgItem(box, 0xFFFF)) : "no message");
      if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
  }
  steps.push_back([&] {
    noteFocus();
    EXPECT_EQ(dialog()->PageControl1->ActivePageIndex(), kPageGeneral);
    SetWindowTextA(field(), "My Shard - ");
    PostMessageA(dialog()->Button1->hwnd(), BM_CLICK, 0, 0);
  });
  DialogScript script(steps);
  main_->SpeedButton_ConfigClick();
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(offered, std::vector<std::string>{def});
  ASSERT_EQ(messages.size(), std::size(refused));
  for (size_t i = 0; i < messages.size(); ++i) {
    EXPECT_NE(messages[i].find(refused[i].second), std::string::npos) << messages[i];
  }
  EXPECT_EQ(focusedIds, std::vector<int>(std::size(refused) + 1, kIdComboBoxCaption));
  EXPECT_EQ(main_->ClientCaption, "My Shard - ");
  EXPECT_EQ(main_->ClientCaptions, (std::vector<std::string>{"My Shard - ", def}));
  main_->ClientCaption = def;
}

TEST_F(ConfigDialog, CancelLeavesTheMainWindowAndOkTakesTheCopyBack) {
  main_->AlwaysOnTop = true;
  main_->SpeedButton_Casting->SetDown(false);
  const SpellTable spells = main_->Spells;
  const ReagentPrices prices = main_->ReagentCost;
  // Someone else made the strip non-topmost: Cancel still applies the setting again.
  SetWindowPos(main_->hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RunConfigButton([](TForm_Config& d) {
    for (int page = 0; page < kConfigPageCount; ++page) d.CreatePage(page);
    // The spellcasting words show in the main window's dialog font (Shift-JIS on Japanese).
    EXPECT_EQ(d.StringGrid_Casting->Font(), main_->ConfigDialogFont());
    d.PriceEdit(0).SetReal(12.5);
    d.StringGrid_Info->SetCell(1, 1, "Changed");
    d.CheckBox_OnTop->SetChecked(false);
    d.NumEdit_WarnCasts->SetInteger(9);
    d.Button2->Press();
  });
  EXPECT_EQ(main_->WarnCasts, kDefaultWarnCasts);
  EXPECT_EQ(main_->Spells[0].Name, spells[0].Name);
  EXPECT_EQ(main_->ReagentCost, prices);
  EXPECT_TRUE(harness::IsTopmost(main_->hwnd()));
  EXPECT_FALSE(main_->SpeedButton_Casting->Down());

  RunConfigButton([](TForm_Config& d) {
    for (int page = 0; page < kConfigPageCount; ++page) d.CreatePage(page);
    d.PriceEdit(0).SetReal(12.5);
    d.StringGrid_Info->SetCell(1, 1, "Changed");
    SendMessageA(d.CheckBox_OnTop->hwnd(), BM_CLICK, 0, 0);  // unticks
    SendMessageA(d.CheckBoxEnableSpellCast->hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(d.NumEdit_WarnCasts->Text(), "5");
    d.NumEdit_WarnCasts->SetInteger(0);  // no warnings
    d.UserSlot[0][0] = 0;
    d.CtrlGrid_User->SetCell(1, 1, "2-1 X");
    d.Button1->Press();
  });
  EXPECT_EQ(main_->Spells[0].Name, "Changed");
  EXPECT_FLOAT_EQ(main_->ReagentCost[0], 12.5f);
  EXPECT_EQ(main_->SpellSlot[0][0], 8);
  EXPECT_FALSE(main_->AlwaysOnTop);
  EXPECT_FALSE(harness::IsTopmost(main_->hwnd()));
  EXPECT_TRUE(main_->SpeedButton_Casting->Down());  // the tick was off, the click set it
  EXPECT_EQ(main_->WarnCasts, 0);
  EXPECT_EQ(main_->Panel1->Caption(), " Spell Information...");
  EXPECT_EQ(FindWindowA(kConfigDialogClass, nullptr), nullptr);  // destroyed
  main_->AlwaysOnTop = true;
  main_->ApplyTopmost();
  main_->WarnCasts = kDefaultWarnCasts;
}

// With the focus below a hidden window, Alt+letter that is no accelerator must not send the
// dialog manager's accelerator search round for ever (under Wine it never ends there): the
// modal run goes on and Cancel ends it.
TEST_F(ConfigDialog, AltLetterWithTheFocusBelowAHiddenWindowKeepsTheDialogRunning) {
  bool focusBelowHidden = false;
  RunConfigButton([&](TForm_Config& d) {
    HWND price = d.PriceEdit(0).hwnd();
    SetFocus(price);
    SetWindowPos(d.TabSheets[kPageGeneral]->hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    focusBelowHidden = GetFocus() == price;
    PostMessageA(price, WM_SYSCHAR, 'J', LPARAM{1} << 29);
    PostMessageA(d.Button2->hwnd(), BM_CLICK, 0, 0);
  });
  EXPECT_TRUE(focusBelowHidden);
  EXPECT_EQ(FindWindowA(kConfigDialogClass, nullptr), nullptr);
}

TEST_F(ConfigDialog, Pictures) {
  const char* dir = std::getenv("QUILLORB_SHOT_DIR");
  if (!dir) GTEST_SKIP() << "QUILLORB_SHOT_DIR not set";
  ConfigData data;
  for (int i = 0; i < kSpellCount; ++i) data.Spells[static_cast<size_t>(i)] = main_->Spells[i];
  data.UserSlot = {{{0, 1, 2, 3, 4, 5, 6, 7}}};
  data.ReagentCost = main_->ReagentCost;
  TForm_Config::Resources resources;
  resources.castingFont = main_->ConfigDialogFont();
  for (int r = 0; r < kReagentCount; ++r) {
    resources.reagentPictures[static_cast<size_t>(r)] = main_->ReagentImage(r).BitmapHandle();
  }
  for (int i : kAboutSpells) main_->ImageSrc.Draw(i);
  resources.spellAtlas = main_->ImageSrc.normal.get();
  TForm_Config dialog(main_->hwnd(), resources);
  static_cast<ConfigData&>(dialog) = data;
  dialog.FillPages();
  ShowWindow(dialog.hwnd(), SW_SHOWNORMAL);
  for (int p = 0; p < kConfigPageCount; ++p) {
    dialog.PageControl1->SetActivePage(p);
    if (p == kPageUserList) SetFocus(dialog.CtrlGrid_User->hwnd());
    RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(
        harness::SaveScreenshot(harness::WindowRectOf(dialog.hwnd()),
                                std::string(dir) + "/config-" + std::to_string(p) + ".bmp"));
  }
}

}  // namespace
}  // namespace quillorb

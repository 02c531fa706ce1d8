// The controls driven by messages sent straight to them, without real input: each table row sends
// a few messages and compares what the control told its parent and its handlers, in order and
// with the state each of them saw, against the row's expected sequence.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/num_edit.h"
#include "tests/harness/harness.h"
#include "win/check_box.h"
#include "win/combo_box.h"
#include "win/form.h"
#include "win/string_grid.h"

namespace quillorb {
namespace {

using Log = std::vector<std::string>;

// A form that writes down the focus and change notifications of its edits (EN_UPDATE, which the
// system sends beside every EN_CHANGE, is left out) before the form hands them on.
class RecordingForm : public win::Form {
 public:
  RecordingForm() {
    CreateForm("QuillorbMessageRecorder", "Messages", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0,
               100, 100, 420, 240, nullptr);
  }
  Log log;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND && lp) {
      const char* name = HIWORD(wp) == EN_CHANGE      ? "change"
                         : HIWORD(wp) == EN_SETFOCUS  ? "setfocus"
                         : HIWORD(wp) == EN_KILLFOCUS ? "killfocus"
                                                      : nullptr;
      if (name) log.push_back(std::string(name) + " " + std::to_string(LOWORD(wp)));
    }
    return win::Form::OnMessage(msg, wp, lp);
  }
};

void SendChars(HWND window, const std::string& chars) {
  for (char c : chars) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// A key as the dialog message handling offers it to the focused control (IsDialogMessage asks
// with WM_GETDLGCODE before anything else), then the key itself unless the control declined it.
void DialogKey(HWND window, WPARAM vk) {
  MSG key{window, WM_KEYDOWN, vk, 1, 0, {}};
  const LRESULT code = SendMessageA(window, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&key));
  if (code & DLGC_WANTALLKEYS) SendMessageA(window, WM_KEYDOWN, vk, 1);
}

bool SetClipboardText(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory) {
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
  return memory != nullptr;
}

// ------------------------------------------------------------------ the numeric field

struct NumEditRow {
  const char* name;
  std::function<void(TNumEdit& field)> act;
  Log expected;
  int32_t value;
};

// A counter (0..999, the number 5 in it, focused and selected whole) and the field after it.
TEST(ControlMessages, NumEditTellsEachChangeOnceAndAfterTheValue) {
  const NumEditRow rows[] = {
      {"a typed digit replaces the selection",
       [](TNumEdit& f) { SendChars(f.hwnd(), "7"); },
       {"change 10", "OnChange 7"},
       7},
      {"a refused character never reaches the text",
       [](TNumEdit& f) { SendChars(f.hwnd(), "x-"); },
       {},
       5},
      {"digits past the maximum are clamped as they come",
       [](TNumEdit& f) {
         f.SetSelection(1, 0);
         SendChars(f.hwnd(), "99");
         SendChars(f.hwnd(), "9");
       },
       {"change 10", "OnChange 59", "change 10", "OnChange 599", "change 10", "OnChange 999"},
       999},
      {"Backspace over the selection empties it",
       [](TNumEdit& f) { SendChars(f.hwnd(), "\b"); },
       {"change 10", "OnChange 0"},
       0},
      {"a paste is parsed, not filtered",
       [](TNumEdit& f) {
         ASSERT_TRUE(SetClipboardText(f.hwnd(), "42abc"));
         SendMessageA(f.hwnd(), WM_PASTE, 0, 0);
       },
       {"change 10", "OnChange 42"},
       42},
      {"an assigned value is told once; the same value not at all",
       [](TNumEdit& f) {
         f.SetInteger(12);
         f.SetInteger(12);
       },
       {"change 10", "OnChange 12"},
       12},
      {"Escape brings the entry text back",
       [](TNumEdit& f) {
         SendChars(f.hwnd(), "7");
         DialogKey(f.hwnd(), VK_ESCAPE);
       },
       {"change 10", "OnChange 7", "change 10", "OnChange 5"},
       5},
      {"Return moves the focus on, once",
       [](TNumEdit& f) {
         DialogKey(f.hwnd(), VK_RETURN);
         SendChars(f.hwnd(), "\r");
       },
       {"OnEnterKey", "killfocus 10", "OnExit 5", "setfocus 11"},
       5},
  };
  for (const NumEditRow& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingForm form;
    TNumEdit field(form.hwnd(), 10, 10, 10, 60, 20);
    TNumEdit next(form.hwnd(), 11, 10, 40, 60, 20);
    field.Max = 999;
    field.EnableNegative = false;
    field.EnterKeyToExit = true;
    field.EscToReset = true;
    field.SetInteger(5);
    field.OnChange = [&](win::Edit&) {
      form.log.push_back("OnChange " + std::to_string(field.Integer()));
    };
    field.OnExit = [&](win::Edit&) {
      form.log.push_back("OnExit " + std::to_string(field.Integer()));
    };
    field.OnEnterKey = [&](TCustomEditEx&) { form.log.push_back("OnEnterKey"); };
    field.SetFocus();
    ASSERT_TRUE(field.Focused());
    ASSERT_EQ(field.GetSelection().length, 1u);
    form.log.clear();

    row.act(field);
    EXPECT_EQ(form.log, row.expected);
    EXPECT_EQ(field.Integer(), row.value);
  }
}

// ------------------------------------------------------------------ the string grid

struct GridRow {
  const char* name;
  std::function<void(win::StringGrid& grid)> act;
  Log expected;
  int col, row;      // the current cell afterwards
  const char* cell;  // the text of cell 1,1 afterwards
};

HWND Editor(const win::StringGrid& grid) {
  return grid.EditorHandle();
}

// A 5 x 5 grid (one fixed row and column) with editing on, the focus on it and cell 1,1 current.
// Cell 2,1 cannot be chosen.
TEST(ControlMessages, StringGridTellsKeysSelectionAndEditsInOrder) {
  const GridRow rows[] = {
      {"an arrow key asks for the cell below first",
       [](win::StringGrid& g) { SendMessageA(g.hwnd(), WM_KEYDOWN, VK_DOWN, 1); },
       {"key 40", "select 1,2 from 1,1"},
       1,
       2,
       ""},
      {"a refused cell stays unchosen",
       [](win::StringGrid& g) { SendMessageA(g.hwnd(), WM_KEYDOWN, VK_RIGHT, 1); },
       {"key 39", "select 2,1 from 1,1"},
       1,
       1,
       ""},
      {"a swallowed key moves nothing",
       [](win::StringGrid& g) { SendMessageA(g.hwnd(), WM_KEYDOWN, VK_END, 1); },
       {"key 35"},
       1,
       1,
       ""},
      {"a typed character opens the editor with it; Return writes the cell once",
       [](win::StringGrid& g) {
         SendMessageA(g.hwnd(), WM_CHAR, 'a', 1);
         SendChars(Editor(g), "b");
         DialogKey(Editor(g), VK_RETURN);
       },
       {"char a", "edited 1,1 ab (cell ab)"},
       1,
       1,
       "ab"},
      {"Escape in the editor restores the cell and tells nothing",
       [](win::StringGrid& g) {
         SendMessageA(g.hwnd(), WM_CHAR, 'a', 1);
         DialogKey(Editor(g), VK_ESCAPE);
       },
       {"char a"},
       1,
       1,
       ""},
      {"an editor closed with its text unchanged tells nothing",
       [](win::StringGrid& g) {
         SendMessageA(g.hwnd(), WM_KEYDOWN, VK_F2, 1);
         DialogKey(Editor(g), VK_RETURN);
       },
       {"key 113"},
       1,
       1,
       ""},
      {"the editor's arrow key writes the cell, then moves",
       [](win::StringGrid& g) {
         SendMessageA(g.hwnd(), WM_CHAR, 'z', 1);
         SendMessageA(Editor(g), WM_KEYDOWN, VK_DOWN, 1);
       },
       {"char z", "edited 1,1 z (cell z)", "key 40", "select 1,2 from 1,1"},
       1,
       2,
       "z"},
  };
  for (const GridRow& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingForm form;
    win::StringGrid grid(form.hwnd(), 20, 10, 10, 300, 150);
    grid.SetOptions(grid.Options() | win::GridEditing);
    Log& log = form.log;
    grid.OnKeyDown = [&](win::StringGrid&, WORD& key, unsigned) {
      log.push_back("key " + std::to_string(key));
      if (key == VK_END) key = 0;
    };
    grid.OnKeyPress = [&](win::StringGrid&, char& key) {
      log.push_back(std::string("char ") + key);
    };
    grid.OnSelectCell = [&](win::StringGrid& g, int col, int r, bool& canSelect) {
      log.push_back("select " + std::to_string(col) + "," + std::to_string(r) + " from " +
                    std::to_string(g.Col()) + "," + std::to_string(g.Row()));
      canSelect = !(col == 2 && r == 1);
    };
    grid.OnSetEditText = [&](win::StringGrid& g, int col, int r, const std::string& text) {
      log.push_back("edited " + std::to_string(col) + "," + std::to_string(r) + " " + text +
                    " (cell " + g.Cell(col, r) + ")");
    };
    SetFocus(grid.hwnd());
    ASSERT_EQ(GetFocus(), grid.hwnd());
    ASSERT_EQ(grid.Col(), 1);
    ASSERT_EQ(grid.Row(), 1);
    log.clear();

    row.act(grid);
    EXPECT_EQ(log, row.expected);
    EXPECT_EQ(grid.Col(), row.col);
    EXPECT_EQ(grid.Row(), row.row);
    EXPECT_EQ(grid.Cell(1, 1), row.cell);
    EXPECT_FALSE(grid.EditorMode());
  }
}

// ------------------------------------------------------------------ check box and combo box

struct Choosers {
  explicit Choosers(HWND parent)
      : check(parent, 30, 10, 10, 120, 20, "&Check"), combo(parent, 31, 10, 40, 150) {}
  win::CheckBox check;
  win::ComboBox combo;
};

struct ChooserRow {
  const char* name;
  std::function<void(Choosers& c)> act;
  Log expected;
};

// The check box clear; the combo box (typing allowed) holding three items, none chosen, the focus
// in its field. A typed '!' is swallowed, a typed 'q' becomes 'Q'.
TEST(ControlMessages, CheckAndComboBoxTellOnlyWhatThePlayerDid) {
  const ChooserRow rows[] = {
      {"a click ticks, a second clears; the program's own tick is not told",
       [](Choosers& c) {
         SendMessageA(c.check.hwnd(), BM_CLICK, 0, 0);
         c.check.SetChecked(false);
         c.check.SetChecked(true);
         SendMessageA(c.check.hwnd(), BM_CLICK, 0, 0);
       },
       {"click 1", "click 0"}},
      {"typed characters reach the handler, then the field",
       [](Choosers&) { SendChars(GetFocus(), "bq"); },
       {"key b", "change 'b' -1", "key q", "change 'bQ' -1"}},
      {"a swallowed character changes nothing",
       [](Choosers&) { SendChars(GetFocus(), "!"); },
       {"key !"}},
      {"an item chosen with the arrow key is told with its index",
       [](Choosers&) { SendMessageA(GetFocus(), WM_KEYDOWN, VK_DOWN, 1); },
       {"change 'Apple' 0"}},
      {"an item the program chooses is not told", [](Choosers& c) { c.combo.SetItemIndex(2); }, {}},
  };
  for (const ChooserRow& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingForm form;
    Choosers c(form.hwnd());
    for (const char* item : {"Apple", "Banana", "Cherry"}) c.combo.Add(item);
    Log& log = form.log;
    c.check.OnClick = [&](win::CheckBox& b) { log.push_back(b.Checked() ? "click 1" : "click 0"); };
    c.combo.OnKeyPress = [&](win::HostedControl&, char& key) {
      log.push_back(std::string("key ") + key);
      if (key == '!') key = 0;
      if (key == 'q') key = 'Q';
    };
    c.combo.OnChange = [&](win::ComboBox& b) {
      // A chosen item is told before the field shows it (the system's order): its text is read
      // from the list.
      const int index = b.ItemIndex();
      log.push_back("change '" + (index < 0 ? b.Text() : b.Item(index)) + "' " +
                    std::to_string(index));
    };
    c.combo.SetFocus();
    ASSERT_TRUE(IsChild(c.combo.hwnd(), GetFocus()));
    log.clear();

    row.act(c);
    EXPECT_EQ(log, row.expected);
  }
}

}  // namespace
}  // namespace quillorb

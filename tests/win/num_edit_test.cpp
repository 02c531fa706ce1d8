// The numeric edit controls on a real form under a message loop that uses IsDialogMessage, driven
// by real keystrokes (SendInput), clipboard pastes and focus changes.
#include "controls/num_edit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "win/form.h"
#include "win/panel.h"

namespace quillorb {
namespace {

using harness::PumpUntil;

HWND Button(HWND parent, int id, int top, const char* caption, DWORD style) {
  return CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 300, top,
                         80, 24, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

// Tab order: OK (default), Cancel, a, b, a disabled and a hidden field, a panel with one edit
// (not a tab stop), money, text, plain (an edit without the navigation), tail.
class TestForm : public win::Form {
 public:
  TestForm() {
    CreateForm("QuillorbNumEditTest", "Numeric edit", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0,
               100, 100, 400, 260, nullptr);
    ok = Button(hwnd(), IDOK, 10, "OK", BS_DEFPUSHBUTTON);
    cancel = Button(hwnd(), IDCANCEL, 40, "Cancel", BS_PUSHBUTTON);
    a = Counter(10);
    b = Counter(35);
    disabled = std::make_unique<TEditEx>(hwnd(), 13, 10, 60, 80, 20);
    EnableWindow(disabled->hwnd(), FALSE);
    hidden = std::make_unique<TEditEx>(hwnd(), 14, 10, 85, 80, 20);
    ShowWindow(hidden->hwnd(), SW_HIDE);
    panel = std::make_unique<win::Panel>(hwnd(), 15, 10, 110, 100, 30, "");
    inner = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 80, 20, panel->hwnd(),
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    money = std::make_unique<TNumEdit>(hwnd(), 16, 150, 10, 100, 20);
    money->Max = 20;
    money->SetNumDecimals(2);
    text = std::make_unique<TEditEx>(hwnd(), 17, 150, 35, 100, 20);
    plain = std::make_unique<win::Edit>(hwnd(), 18, 150, 60, 100, 20);
    tail = Counter(85);
    MoveWindow(tail->hwnd(), 150, 85, 60, 20, TRUE);
  }

  std::unique_ptr<TNumEdit> Counter(int top) {
    auto edit = std::make_unique<TNumEdit>(hwnd(), 10 + top, 10, top, 60, 20);
    edit->Max = 999;
    edit->EnableNegative = false;
    edit->EnterKeyToExit = true;
    return edit;
  }

  int okClicks = 0;
  int cancelClicks = 0;
  HWND ok = nullptr, cancel = nullptr, inner = nullptr;
  std::unique_ptr<TNumEdit> a, b, money, tail;
  std::unique_ptr<TEditEx> disabled, hidden, text;
  std::unique_ptr<win::Panel> panel;
  std::unique_ptr<win::Edit> plain;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
      if (LOWORD(wp) == IDOK) ++okClicks;
      if (LOWORD(wp) == IDCANCEL) ++cancelClicks;
    }
    return win::Form::OnMessage(msg, wp, lp);
  }
};

class NumEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TestForm>();
    SetForegroundWindow(form_->hwnd());
    ASSERT_TRUE(Pump([&] { return GetForegroundWindow() == form_->hwnd(); }));
  }

  bool Pump(const std::function<bool()>& condition) { return PumpUntil(form_->hwnd(), condition); }
  void Focus(win::Edit& edit) {
    SetFocus(edit.hwnd());
    ASSERT_TRUE(Pump([&] { return GetFocus() == edit.hwnd(); }));
  }
  // Types `keys`, then a digit that must arrive in `edit`: everything before it has been handled.
  void TypeAndSettle(win::Edit& edit, const std::string& keys) {
    harness::TypeText(keys);
    harness::PressKey(VK_END);
    harness::TypeText("7");
    ASSERT_TRUE(Pump([&] {
      const std::string t = edit.Text();
      return !t.empty() && t.back() == '7';
    })) << edit.Text();
    harness::PressKey(VK_BACK);
    ASSERT_TRUE(Pump([&] {
      const std::string t = edit.Text();
      return t.empty() || t.back() != '7';
    }));
  }
  bool Paste(win::Edit& edit, const std::string& clip) {
    if (!OpenClipboard(form_->hwnd())) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, clip.size() + 1);
    memcpy(GlobalLock(memory), clip.c_str(), clip.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    SendMessageA(edit.hwnd(), WM_PASTE, 0, 0);
    return true;
  }

  std::unique_ptr<TestForm> form_;
};

TEST_F(NumEditTest, TypedValueAboveMaxIsClampedAtOnceAndShownClampedAfterLeaving) {
  TestForm& f = *form_;
  f.a->SetInteger(12);
  std::vector<int32_t> seenByOnChange;
  f.a->OnChange = [&](win::Edit&) { seenByOnChange.push_back(f.a->Integer()); };
  Focus(*f.a);
  EXPECT_EQ(f.a->Text(), "12");
  EXPECT_EQ(f.a->GetSelection().length, 2u);  // AutoSelect: typing replaces the number
  harness::TypeText("1500");
  ASSERT_TRUE(Pump([&] { return f.a->Text() == "1500"; })) << f.a->Text();
  EXPECT_EQ(f.a->Integer(), 999);
  EXPECT_EQ(f.a->Real(), 999.0);
  EXPECT_EQ(seenByOnChange.back(), 999);  // parsed before OnChange fires
  EXPECT_TRUE(f.a->Modified);

  harness::PressKey(VK_TAB);
  ASSERT_TRUE(Pump([&] { return GetFocus() == f.b->hwnd(); }));
  EXPECT_EQ(f.a->Text(), "999");
  EXPECT_EQ(f.a->Integer(), 999);

  // Cleared and left: 0.
  Focus(*f.a);
  harness::PressKey(VK_DELETE);
  ASSERT_TRUE(Pump([&] { return f.a->Text().empty(); }));
  Focus(*f.b);
  EXPECT_EQ(f.a->Text(), "0");
  EXPECT_EQ(f.a->Integer(), 0);
}

TEST_F(NumEditTest, RejectedKeysAndPastesNeverLeaveTheRange) {
  TestForm& f = *form_;
  Focus(*f.a);
  // Letters, separators, a sign in a field without negatives, a point without decimals.
  TypeAndSettle(*f.a, "4ab, -+.x");
  EXPECT_EQ(f.a->Text(), "4");
  harness::PressKey(VK_ESCAPE);  // claimed, nothing reset
  TypeAndSettle(*f.a, "");
  EXPECT_EQ(f.a->Text(), "4");

  // Pasted text is not filtered but parsed and clamped.
  struct Case {
    const char* clip;
    int32_t value;
    const char* shownAfterExit;
  };
  for (const Case& c : {Case{"12abc", 12, "12"}, Case{"-50", 0, "0"}, Case{"1e999", 999, "999"},
                        Case{"abc", 0, "0"}, Case{"-", 0, "0"}, Case{".", 0, "0"},
                        Case{"0x1F", 0, "0"}, Case{"nan", 0, "0"}, Case{"998.9", 998, "999"}}) {
    Focus(*f.a);
    f.a->SelectAll();
    ASSERT_TRUE(Paste(*f.a, c.clip));
    EXPECT_EQ(f.a->Text(), c.clip);
    EXPECT_EQ(f.a->Integer(), c.value) << c.clip;
    EXPECT_GE(f.a->Real(), 0.0) << c.clip;
    EXPECT_LE(f.a->Real(), 999.0) << c.clip;
    Focus(*f.b);
    EXPECT_EQ(f.a->Text(), c.shownAfterExit) << c.clip;
  }

  // Sign and point where they are allowed.
  Focus(*f.money);
  f.money->SetSelection(0, 0);
  TypeAndSettle(*f.money, "-");
  EXPECT_EQ(f.money->Text(), "-0.00");
  EXPECT_EQ(f.money->Real(), 0.0);
  f.money->SelectAll();
  TypeAndSettle(*f.money, "-2.9.9");
  EXPECT_EQ(f.money->Text(), "-2.99");
  EXPECT_EQ(f.money->Integer(), -2);
  f.money->SetSelection(0, 0);
  TypeAndSettle(*f.money, "-");  // a second sign
  EXPECT_EQ(f.money->Text(), "-2.99");
  f.money->SetSelection(0, 0);
  harness::TypeText("5");  // no digit before the sign
  TypeAndSettle(*f.money, "");
  EXPECT_EQ(f.money->Text(), "-2.99");
}

TEST_F(NumEditTest, EnterMovesOnAndNeverPressesTheDefaultButton) {
  TestForm& f = *form_;
  int enterKeys = 0;
  f.b->OnEnterKey = [&](TCustomEditEx& sender) {
    EXPECT_EQ(&sender, f.b.get());
    ++enterKeys;
  };
  Focus(*f.a);
  harness::PressKey(VK_RETURN);
  ASSERT_TRUE(Pump([&] { return GetFocus() == f.b->hwnd(); }));
  // Disabled, hidden and the panel with a child are passed over; the panel's edit is taken
  // although it is no tab stop.
  harness::PressKey(VK_RETURN);
  ASSERT_TRUE(Pump([&] { return GetFocus() == f.inner; }));
  EXPECT_EQ(enterKeys, 1);
  // The last control wraps around to the first.
  Focus(*f.tail);
  harness::PressKey(VK_RETURN);
  ASSERT_TRUE(Pump([&] { return GetFocus() == f.ok; }));

  // Without EnterKeyToExit: the focus stays and the default button is not pressed either.
  Focus(*f.text);
  harness::PressKey(VK_RETURN);
  TypeAndSettle(*f.text, "");
  EXPECT_EQ(GetFocus(), f.text->hwnd());
  EXPECT_EQ(f.okClicks, 0);

  // A plain edit on the same form does press it: the form above would notice.
  Focus(*f.plain);
  harness::PressKey(VK_RETURN);
  EXPECT_TRUE(Pump([&] { return f.okClicks == 1; }));
}

TEST(NumEditAlone, EnterWithNoOtherControlKeepsTheFocus) {
  struct Lone : win::Form {
    Lone() {
      CreateForm("QuillorbNumEditLone", "Lone", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, 100,
                 400, 200, 60, nullptr);
      edit = std::make_unique<TNumEdit>(hwnd(), 10, 10, 10, 60, 20);
      edit->EnterKeyToExit = true;
    }
    std::unique_ptr<TNumEdit> edit;
  } lone;
  SetForegroundWindow(lone.hwnd());
  SetFocus(lone.edit->hwnd());
  harness::PressKey(VK_RETURN);
  harness::TypeText("7");
  ASSERT_TRUE(PumpUntil(lone.hwnd(), [&] { return lone.edit->Text() == "7"; }));
  EXPECT_EQ(GetFocus(), lone.edit->hwnd());
}

TEST_F(NumEditTest, EscapeResetsExitsOrIsClaimed) {
  TestForm& f = *form_;
  f.a->SetInteger(5);
  f.a->EscToReset = true;
  Focus(*f.a);
  harness::TypeText("123");
  ASSERT_TRUE(Pump([&] { return f.a->Text() == "123"; }));
  harness::PressKey(VK_ESCAPE);
  ASSERT_TRUE(Pump([&] { return f.a->Text() == "5"; }));
  EXPECT_EQ(f.a->Integer(), 5);
  EXPECT_FALSE(f.a->Modified);
  EXPECT_EQ(GetFocus(), f.a->hwnd());

  // The handler may veto the reset and ask to leave: the form then sees Escape too.
  f.a->OnEscapeKey = [](TCustomEditEx&, bool& canReset, bool& canExit) {
    canReset = false;
    canExit = true;
  };
  harness::PressKey(VK_END);
  harness::TypeText("8");
  ASSERT_TRUE(Pump([&] { return f.a->Text() == "58"; }));
  harness::PressKey(VK_ESCAPE);
  ASSERT_TRUE(Pump([&] { return GetFocus() == f.b->hwnd(); }));
  EXPECT_TRUE(Pump([&] { return f.cancelClicks == 1; }));
  EXPECT_EQ(f.a->Text(), "58");

  // EscToExit implies EscToReset.
  f.text->SetEscToExit(true);
  EXPECT_TRUE(f.text->EscToReset);
  f.text->SetEscToExit(false);
  EXPECT_TRUE(f.text->EscToReset);

  // Neither reset nor exit: claimed, the cancel button does not react.
  Focus(*f.b);
  harness::PressKey(VK_ESCAPE);
  TypeAndSettle(*f.b, "");
  EXPECT_EQ(f.cancelClicks, 1);
}

TEST_F(NumEditTest, TabAndArrowEvents) {
  TestForm& f = *form_;
  int tabs = 0;
  std::vector<int> cursorKeys;
  f.text->OnTabKey = [&](TCustomEditEx&) { ++tabs; };
  f.text->OnCursorKey = [&](TCustomEditEx&, char& key) {
    cursorKeys.push_back(key);
    key = 0;  // ignored
  };
  f.text->SetText("abc");
  Focus(*f.text);
  EXPECT_EQ(f.text->EntryText, "abc");
  for (WORD vk : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_HOME}) harness::PressKey(vk);
  TypeAndSettle(*f.text, "x");
  EXPECT_EQ(cursorKeys, (std::vector<int>{37, 38, 39, 40}));
  EXPECT_EQ(f.text->Text(), "xabc");  // the caret moved as usual

  f.text->TabKeyToExit = false;
  harness::PressKey(VK_TAB);
  TypeAndSettle(*f.text, "");
  EXPECT_EQ(tabs, 1);
  EXPECT_EQ(GetFocus(), f.text->hwnd());
  f.text->TabKeyToExit = true;
  harness::PressKey(VK_TAB);
  ASSERT_TRUE(Pump([&] { return GetFocus() != f.text->hwnd(); }));
  EXPECT_EQ(tabs, 2);
}

TEST_F(NumEditTest, DisplayOnEntryAndExit) {
  TestForm& f = *form_;
  f.money->SetPrefix("x");
  f.money->SetSuffix(" gp");
  f.money->SetReal(3);
  EXPECT_EQ(f.money->Text(), "x3.00 gp");
  f.money->SetNumDecimals(0);
  EXPECT_EQ(f.money->Text(), "x3 gp");
  EXPECT_EQ(f.money->FormatString(), "%.lf");
  Focus(*f.money);
  EXPECT_EQ(f.money->Text(), "3");
  EXPECT_EQ(f.money->EntryText, "3");
  EXPECT_FALSE(f.money->Modified);
  Focus(*f.a);
  EXPECT_EQ(f.money->Text(), "x3 gp");

  // Entry re-reads the shown number: rounded to the decimals.
  f.money->SetPrefix("");
  f.money->SetSuffix("");
  f.money->SetNumDecimals(2);
  f.money->SetReal(0.126);
  EXPECT_EQ(f.money->Text(), "0.13");
  EXPECT_EQ(f.money->Real(), 0.126);
  Focus(*f.money);
  EXPECT_EQ(f.money->Real(), 0.13);

  // ClearStart: blank until something was typed.
  Focus(*f.a);
  f.money->SetClearStart(true);
  EXPECT_EQ(f.money->Text(), "");
  Focus(*f.money);
  EXPECT_EQ(f.money->Text(), "0.13");
  Focus(*f.a);
  EXPECT_EQ(f.money->Text(), "");
  Focus(*f.money);
  harness::TypeText("4");
  ASSERT_TRUE(Pump([&] { return f.money->Text() == "4"; }));
  Focus(*f.a);
  EXPECT_EQ(f.money->Text(), "4.00");
}

}  // namespace
}  // namespace quillorb

// The main window created in-process: every control where it belongs, with its caption, hint,
// tag and state; the window's style, font and icon; the focus timer; message routing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/form_main.h"
#include "tests/harness/harness.h"
#include "tests/win/main_window_fixture.h"
#include "win/app.h"

namespace quillorb {
namespace {

using MainWindow = MainWindowFixture;

void ExpectBounds(const win::GraphicControl& c, int left, int top, int width, int height,
                  const char* what) {
  EXPECT_EQ(c.Left(), left) << what;
  EXPECT_EQ(c.Top(), top) << what;
  EXPECT_EQ(c.Width(), width) << what;
  EXPECT_EQ(c.Height(), height) << what;
}

// The same for a child window, in its parent's client coordinates.
void ExpectBounds(HWND child, int left, int top, int width, int height, const char* what) {
  const RECT r = harness::ChildRect(child);
  EXPECT_EQ(r.left, left) << what;
  EXPECT_EQ(r.top, top) << what;
  EXPECT_EQ(r.right - r.left, width) << what;
  EXPECT_EQ(r.bottom - r.top, height) << what;
}

TEST_F(MainWindow, WindowIsAFixedStayOnTopStripWithMinimizeBoxOnly) {
  HWND w = form_->hwnd();
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  EXPECT_STREQ(cls, "TForm_Main");
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 60);
  const LONG style = GetWindowLongA(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);

  LOGFONTA lf{};
  GetObjectA(form_->Font(), sizeof lf, &lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);

  auto icon = reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_BIG, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bm{};
  GetObjectA(info.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
}

TEST_F(MainWindow, SpellBarControlsLieOverEachOtherInOrder) {
  ExpectBounds(*form_->PaintBox1, 270, 0, 320, 40, "PaintBox1");
  for (int tag = 0; tag < 8; ++tag) {
    ExpectBounds(form_->SlotBox(tag), 270 + 40 * tag, 0, 40, 40, "PaintBox2..9");
    EXPECT_EQ(form_->SlotBox(tag).Tag, tag);
    win::Label& label = form_->Label(tag);
    EXPECT_EQ(label.Tag, tag);
    EXPECT_EQ(label.Top(), 25);
    // Right-aligned and auto-sized: the right edge stays where the designed 12 pixels end.
    EXPECT_EQ(label.Bounds().right, 295 + 40 * tag + 12);
  }
  // A point on a label belongs to the slot under it; the label paints over the icon strip.
  const auto& order = form_->Controls();
  auto at = [&](const win::GraphicControl* c) {
    return std::find(order.begin(), order.end(), c) - order.begin();
  };
  EXPECT_LT(at(form_->PaintBox1.get()), at(&form_->Label(0)));
  EXPECT_LT(at(&form_->Label(7)), at(&form_->SlotBox(0)));
  EXPECT_EQ(form_->ControlAt(POINT{300, 30}), &form_->SlotBox(0));
  EXPECT_EQ(form_->ControlAt(POINT{589, 39}), &form_->SlotBox(7));

  HWND tabs = GetDlgItem(form_->hwnd(), kIdTabSet1);
  ExpectBounds(tabs, 270, 40, 320, 19, "tab set");
  const std::vector<std::string> expected = {"  A  ", "  B  ", "  C  ", "  D  ", "  1 ", "  2 ",
                                             "  3 ",  "  4 ",  "  5 ",  "  6 ",  "  7 ", "  8 "};
  EXPECT_EQ(form_->TabSet1->Tabs(), expected);
  EXPECT_EQ(form_->TabSet1->TabIndex(), 0);
  // All twelve tabs fit in the tab set.
  EXPECT_LE(form_->TabSet1->TabRect(11).right, 320);
}

TEST_F(MainWindow, CounterStripAndPanel) {
  const int imageLeft[] = {4, 2, 64, 64, 126, 126, 188, 188};
  const int imageTop[] = {-4, 18, -4, 18, -2, 18, -4, 18};
  const int editLeft[] = {30, 30, 92, 92, 154, 154, 216, 216};
  const int editTop[] = {0, 20, 0, 20, 0, 20, 0, 20};
  HWND previous = nullptr;
  for (int r = 0; r < kReagentCount; ++r) {
    ExpectBounds(form_->ReagentImage(r), imageLeft[r], imageTop[r], 25, 23, "reagent image");
    HWND edit = GetDlgItem(form_->hwnd(), kIdNumEditFirst + r);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit, form_->NumEdit(r).hwnd());
    ExpectBounds(edit, editLeft[r], editTop[r], 25, 19, "counter");
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(form_->NumEdit(r).Max, 999);
    EXPECT_FALSE(form_->NumEdit(r).EnableNegative);
    EXPECT_TRUE(form_->NumEdit(r).EnterKeyToExit);
    // Tab order: the counters follow each other in reagent order.
    if (previous) {
      EXPECT_EQ(GetNextDlgTabItem(form_->hwnd(), previous, FALSE), edit);
    }
    previous = edit;
  }
  HWND panel = GetDlgItem(form_->hwnd(), kIdPanel1);
  ExpectBounds(panel, 0, 42, 267, 18, "panel");
  char text[64] = {};
  GetWindowTextA(panel, text, sizeof text);
  EXPECT_STREQ(text, " Spell Information...");
  // The panel comes first in the window order (tab order 0).
  EXPECT_EQ(GetWindow(form_->hwnd(), GW_CHILD), panel);
}

TEST_F(MainWindow, SpeedButtonsHaveTheirPlacesHintsAndStates) {
  struct Expected {
    win::SpeedButton* button;
    int left, top;
    const char* hint;
  };
  const Expected all[] = {
      {form_->SpeedButton_Count.get(), 244, 0, "Count"},
      {form_->SpeedButton_bank.get(), 244, 20, "Bank"},
      {form_->SpeedButton_Config.get(), 594, 0, "Configuration"},
      {form_->SpeedButton_Undo.get(), 594, 20, "Undo"},
      {form_->SpeedButton_Inscription.get(), 594, 40, "Inscription"},
      {form_->SpeedButton_Save.get(), 616, 0, "Select Character"},
      {form_->SpeedButton_Graph.get(), 616, 20, "Analysis"},
      {form_->SpeedButton_Casting.get(), 616, 40, "Original Rune Casting"},
  };
  for (const Expected& e : all) {
    ExpectBounds(*e.button, e.left, e.top, 22, 20, e.hint);
    EXPECT_EQ(e.button->Hint(), e.hint);
  }
  // No assistant runs here, nothing to undo yet; rune casting and inscription as the profile
  // defaults say.
  EXPECT_FALSE(form_->SpeedButton_Count->Enabled());
  EXPECT_FALSE(form_->SpeedButton_Undo->Enabled());
  EXPECT_TRUE(form_->SpeedButton_Config->Enabled());
  EXPECT_TRUE(form_->SpeedButton_Casting->Down());
  EXPECT_FALSE(form_->SpeedButton_Inscription->Down());
  EXPECT_FALSE(form_->Label_ConfigDialogFont->Visible());
}

TEST_F(MainWindow, FixedCirclePagesAndStartState) {
  for (int p = 4; p < kTabPages; ++p) {
    for (int s = 0; s < 8; ++s) {
      EXPECT_EQ(form_->SpellSlot[static_cast<size_t>(p)][static_cast<size_t>(s)], (p - 4) * 8 + s);
    }
  }
  EXPECT_EQ(form_->UndoSpell, -1);
  EXPECT_FALSE(form_->UndoLastWasCast);
  EXPECT_EQ(form_->ClientCaptions.size(), 5u);
  EXPECT_TRUE(form_->Timer_CountReagent && !form_->Timer_CountReagent->Enabled());
  BITMAP bm{};
  ASSERT_TRUE(form_->BarBitmap);
  GetObjectA(form_->BarBitmap.get(), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 320);
  EXPECT_EQ(bm.bmHeight, 480);
}

// The casts-left labels of page A: the number on red, yellow or lime; a spell that needs no
// reagent can always be cast and shows a dash on lime, after its cast and undo too.
TEST_F(MainWindow, SlotLabelsShowTheCastsLeftAndADashForASpellWithoutReagents) {
  TForm_Main& f = *form_;
  const SpellTable spells = f.Spells;
  const auto pageA = f.SpellSlot[0];
  const ReagentCounts used = f.ReagentUsed;
  f.Spells[0].Reagent = {};
  f.Spells[1].Reagent = {1, 0, 0, 0, 0, 0, 0, 0};
  f.Spells[2].Reagent = {0, 1, 0, 0, 0, 0, 0, 0};
  f.SpellSlot[0] = {0, 1, 2, 2, 2, 2, 2, 2};
  f.TabSet1->SetTabIndex(0);
  f.BackpackReagent = {3, 40, 0, 0, 0, 0, 0, 0};
  f.WriteCounters();
  auto expectLabels = [&](const char* when, const std::string& second) {
    EXPECT_EQ(f.Label(0).Caption(), " -") << when;
    EXPECT_EQ(f.Label(0).Color(), RGB(0, 255, 0)) << when;
    EXPECT_EQ(f.Label(1).Caption(), second) << when;
    EXPECT_EQ(f.Label(2).Caption(), " 40") << when;
    EXPECT_EQ(f.Label(2).Color(), RGB(0, 255, 0)) << when;
  };
  expectLabels("filled", " 3");
  EXPECT_EQ(f.Label(1).Color(), RGB(255, 255, 0));
  f.SpeedButton_Inscription->SetDown(true);
  f.CastSlot(0);
  f.CastSlot(1);
  f.CastSlot(1);
  f.CastSlot(1);
  expectLabels("cast", " 0");
  EXPECT_EQ(f.Label(1).Color(), RGB(255, 0, 0));
  f.CastSlot(0);
  f.SpeedButton_UndoClick();
  expectLabels("undone", " 0");
  f.SpeedButton_Inscription->SetDown(false);
  f.Spells = spells;
  f.SpellSlot[0] = pageA;
  f.ReagentUsed = used;
  f.UndoSpell = -1;
  f.UndoLastWasCast = false;
  f.WriteCounters();
}

TEST_F(MainWindow, ConfigDialogFontFollowsTheUserLanguage) {
  if (std::getenv("QUILLORB_EXPECT_JAPANESE")) {
    ASSERT_EQ(GetUserDefaultLangID() & 0x3FF, LANG_JAPANESE) << "the Japanese locale did not take";
  }
  LOGFONTW lf{};
  GetObjectW(form_->ConfigDialogFont(), sizeof lf, &lf);
  if ((GetUserDefaultLangID() & 0x3FF) == LANG_JAPANESE) {
    EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");
    EXPECT_EQ(lf.lfHeight, -12);  // 9 point at 96 dots per inch
  } else {
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
    EXPECT_EQ(lf.lfHeight, -11);
  }
}

TEST_F(MainWindow, FocusTimerCollapsesTheSelectionOfTheFocusedCounter) {
  TNumEdit& counter = form_->NumEdit(2);
  SetForegroundWindow(form_->hwnd());
  SetFocus(counter.hwnd());
  ASSERT_EQ(GetFocus(), counter.hwnd());
  // Entering a counter restarts the timer.
  EXPECT_TRUE(form_->Timer1->Enabled());
  SetWindowTextA(counter.hwnd(), "123");
  SendMessageA(counter.hwnd(), EM_SETSEL, 1, 3);
  form_->Timer1Timer();
  DWORD start = 0, end = 0;
  SendMessageA(counter.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 1u);
  EXPECT_FALSE(form_->Timer1->Enabled());
  // The next entry starts it again.
  SetFocus(form_->NumEdit(3).hwnd());
  EXPECT_TRUE(form_->Timer1->Enabled());
}

TEST_F(MainWindow, TopmostFollowsTheSetting) {
  form_->AlwaysOnTop = false;
  form_->ApplyTopmost();
  EXPECT_FALSE(GetWindowLongA(form_->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  form_->AlwaysOnTop = true;
  form_->ApplyTopmost();
  EXPECT_TRUE(GetWindowLongA(form_->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindow, CaptionAndTitleFollowTheCharacter) {
  form_->SetUser("Bob");
  EXPECT_EQ(form_->Text(), "Quillorb - Bob");
  EXPECT_EQ(win::ApplicationTitle(), "Quillorb - Bob");
  EXPECT_TRUE(form_->ProfileFileName.Utf8().ends_with("\\quillorb - Bob.ini"));
  EXPECT_TRUE(form_->SpellFileName.Utf8().ends_with("\\spells.txt"));
  form_->SetUser("");
  EXPECT_EQ(form_->Text(), "Quillorb");
  EXPECT_TRUE(form_->ProfileFileName.Utf8().ends_with("\\quillorb.ini"));
}

}  // namespace
}  // namespace quillorb

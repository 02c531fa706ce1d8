// The working strip, driven by real mouse and keyboard input at the places a player clicks:
// casting from the spell bar into the stand-in game client, taking casts back, the counters, the
// casts-left labels read from the screen, and what the profile holds afterwards.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"
#include "tests/win/client_standin.h"

namespace {

using harness::Quillorb;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kAqua = RGB(0, 255, 255);

constexpr int kMagicArrow = 4;  // needs one Sulfurous Ash (reagent 6); Ctrl+Shift+5
constexpr int kClumsy = 0;      // needs one Blood Moss (1) and one Nightshade (5)
constexpr int kSA = 6;

class SpellBar : public harness::FolderTest {
 protected:
  SpellBar() : FolderTest("bar") {}

  // Starts Quillorb with the shipped catalogue and this profile text.
  void Start(const std::string& profile) {
    harness::WriteFile(folder_ + "quillorb.ini", profile);
    app_ = std::make_unique<Quillorb>(folder_, true);
  }
  Quillorb& App() { return *app_; }

  POINT Slot(int slot) const { return app_->ScreenPoint(270 + 40 * slot + 12, 12); }
  std::string Counter(int r) const { return harness::WindowText(app_->Control(110 + r)); }
  bool WaitForCounter(int r, const std::string& text) {
    return harness::WaitUntil([&] { return Counter(r) == text; }, 5000);
  }
  std::string PanelText() const { return harness::WindowText(app_->Control(100)); }

  // The colour of slot label `slot` on screen: the one of red, yellow and lime that fills its
  // right part (the digits are black).
  COLORREF LabelColour(int slot) const {
    int counts[3] = {};
    const COLORREF colours[3] = {kRed, kYellow, kLime};
    const int right = 295 + 40 * slot + 12;
    const POINT at = app_->ScreenPoint(right - 8, 25);
    for (COLORREF c : harness::ScreenPixels({at.x, at.y, at.x + 8, at.y + 14})) {
      for (int k = 0; k < 3; ++k) counts[k] += c == colours[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k) {
      if (counts[k] > counts[best]) best = k;
    }
    return counts[best] > 0 ? colours[best] : CLR_INVALID;
  }
  bool WaitForLabelColour(int slot, COLORREF colour) {
    return harness::WaitUntil([&] { return LabelColour(slot) == colour; }, 5000);
  }
  // A pixel inside counter r, right of its digits.
  COLORREF CounterBackground(int r) const {
    const RECT rc = harness::ChildRect(app_->Control(110 + r));  // in the window's pixels
    POINT at{rc.right - 5, rc.top + 4};
    ClientToScreen(app_->Window(), &at);
    return harness::ScreenPixel(at);
  }

  // The client got exactly Magic Arrow's combination since its last mark: Ctrl, Shift, 5 down,
  // then up in reverse.
  static void ExpectMagicArrowKeys(const standin::FakeClient& client) {
    EXPECT_EQ(standin::KeysSinceMark(client, 6),
              (std::vector<WPARAM>{VK_CONTROL, VK_SHIFT, '5', '5', VK_SHIFT, VK_CONTROL}));
  }

  std::string Profile() const { return harness::ReadFile(folder_ + "quillorb.ini"); }
  static bool Has(const std::string& text, const std::string& line) {
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
  }

  std::unique_ptr<Quillorb> app_;
};

std::string ProfileWith(const std::string& extra) {
  return "[Reagent]\r\nReagent0=20\r\nReagent1=20\r\nReagent5=20\r\nReagent6=10\r\n"
         "[UserSpell]\r\nSpell00=4\r\nSpell01=0\r\nSpell02=5\r\n"
         "[Config]\r\nEnableSpellCasting=0\r\n" +
         extra;
}

TEST_F(SpellBar, ALeftClickCastsIntoTheClientAndBooksTheCast) {
  standin::FakeClient client;
  ASSERT_NE(client.Window(), nullptr);
  Start(ProfileWith(""));
  EXPECT_TRUE(WaitForLabelColour(0, kLime));  // 10 casts of Magic Arrow
  client.Mark();
  harness::Click(Slot(0));
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  ExpectMagicArrowKeys(client);
  EXPECT_EQ(GetForegroundWindow(), client.Window());

  // Right click takes it back, nothing more reaches the client.
  const unsigned clientInFront = client.Messages().back().order;
  client.Mark();
  harness::Click(Slot(0), 1);
  ASSERT_TRUE(WaitForCounter(kSA, "10"));
  EXPECT_TRUE(client.InputSinceMark().empty());

  harness::Click(Slot(0));
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  ExpectMagicArrowKeys(client);
  // Clicks on the bar while the client is in front leave it there, keyboard and all.
  for (const standin::ClientMessage& m : client.Messages()) {
    EXPECT_FALSE(m.order > clientInFront && m.msg == WM_KILLFOCUS) << m.order;
  }
  ASSERT_TRUE(App().Close());
  const std::string profile = Profile();
  EXPECT_TRUE(Has(profile, "Reagent6=9")) << profile;
  EXPECT_TRUE(Has(profile, "ReagentUsed6=1"));
  EXPECT_TRUE(Has(profile, "SpellCount4=1"));
}

// A fresh install with no client running, and a browser whose caption begins as the classic
// client's default caption did: the browser gets nothing.
TEST_F(SpellBar, AClickWithoutAGameWindowSaysSoAndChangesNothing) {
  ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr);
  standin::FakeClient browser("visible", {100, 150, 740, 630},
                              "Ultima Online - Wikipedia - Google Chrome", "Chrome_WidgetWin_1");
  browser.Mark();
  Start(ProfileWith(""));
  harness::Click(Slot(0));  // Magic Arrow
  // The notice names what was looked for.
  const std::string notice = " No game window: UO, ClassicUO";
  ASSERT_EQ(harness::WaitForValue([&] { return PanelText(); },
                                  [&](const std::string& t) { return t == notice; }, 5000),
            notice);
  EXPECT_EQ(Counter(kSA), "10");
  // The notice stays while the mouse rests; moving over a slot shows the spell again.
  const POINT clumsy = App().ScreenPoint(270 + 40 * 1 + 20, 20);
  harness::MoveMouse(clumsy);
  const std::string panel = harness::WaitForValue(
      [&] { return PanelText(); },
      [](const std::string& t) { return t.rfind(" Clumsy (", 0) == 0; }, 5000);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(panel.rfind(" Clumsy (", 0), 0u)
      << panel << "; cursor at " << cursor.x << "," << cursor.y << " over a window of class "
      << harness::ClassName(WindowFromPoint(clumsy));
  EXPECT_TRUE(browser.InputSinceMark().empty());
  ASSERT_TRUE(App().Close());
  const std::string profile = Profile();
  EXPECT_TRUE(Has(profile, "Reagent6=10")) << profile;
  EXPECT_TRUE(Has(profile, "ReagentUsed6=0"));
  EXPECT_TRUE(Has(profile, "SpellCount4=0"));
}

// The client most players run today, before and after login, and a client known only by the
// caption the player gave: each gets the classic client's keys, and each cast is booked once. The
// last is cast into once the player has confirmed it, and its program is saved with the profile.
TEST_F(SpellBar, TodaysClientAndAClientByItsCaptionGetTheSameCast) {
  Start(ProfileWith("Caption=\"My Shard - \"\r\n"));
  struct Case {
    const char* caption;
    const char* className;
  };
  int left = 10;
  for (const Case& c :
       {Case{"ClassicUO - 1.0.0.0", "SDL_app"}, Case{"Bob - ClassicUO - 1.0.0.0", "SDL_app"},
        Case{"My Shard - Bob", "ShardClient"}}) {
    SCOPED_TRACE(c.caption);
    standin::FakeClient client("visible", {100, 50, 740, 530}, c.caption, c.className);
    client.Mark();
    harness::Click(Slot(0));
    if (std::strcmp(c.className, "ShardClient") == 0) {
      HWND question = App().Proc().WaitForWindow("#32770", 10000);
      ASSERT_NE(question, nullptr);
      EXPECT_EQ(GetWindow(question, GW_OWNER), App().Window());
      ASSERT_TRUE(harness::WaitUntil([&] {
        const HWND focus = harness::FocusOf(question);
        return GetForegroundWindow() == question && focus && IsChild(question, focus);
      }));
      PostMessageA(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    }
    ASSERT_TRUE(WaitForCounter(kSA, std::to_string(--left)));
    ExpectMagicArrowKeys(client);
  }
  ASSERT_TRUE(App().Close());
  EXPECT_TRUE(Has(Profile(), "SpellCount4=3"));
  EXPECT_TRUE(Has(Profile(), "ClientProgram=fake_client.exe"));
}

// Two clients at once: the cast goes to the one the player had in front last, whichever is on top.
TEST_F(SpellBar, WithTwoClientsTheOneUsedLastGetsTheCast) {
  standin::FakeClient a("visible", {20, 300, 420, 700});
  standin::FakeClient b("visible", {440, 300, 840, 700});
  Start(ProfileWith(""));
  // A first cast (into either) hands the foreground on from the strip: under Wine a click into
  // another program does not take the activation from a strip that has just started.
  harness::Click(Slot(0));
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  int left = 9;
  for (int turn : {0, 1, 0}) {
    SCOPED_TRACE(turn);
    standin::FakeClient& front = turn == 0 ? a : b;
    standin::FakeClient& other = turn == 0 ? b : a;
    // The player clicks into that client's window, then on the strip.
    const RECT r = harness::WindowRectOf(front.Window());
    harness::Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    ASSERT_TRUE(harness::WaitUntil([&] {
      return GetForegroundWindow() == front.Window() &&
             harness::ActiveOf(front.Window()) == front.Window();
    })) << turn;
    front.Mark();
    other.Mark();
    harness::Click(Slot(0));
    ASSERT_TRUE(WaitForCounter(kSA, std::to_string(--left)));
    ExpectMagicArrowKeys(front);
    EXPECT_TRUE(other.InputSinceMark().empty()) << turn;
  }
}

TEST_F(SpellBar, FiftyDangerousCastsEachYesReachesTheClientOnceEachNoBooksNothing) {
  standin::FakeClient client;
  ASSERT_NE(client.Window(), nullptr);
  Start(
      "[Reagent]\r\nReagent6=999\r\n[UserSpell]\r\nSpell00=4\r\n"
      "[Config]\r\nEnableSpellCasting=0\r\n[DangerSpell]\r\nDangerSpell4=1\r\n");
  const POINT slot = Slot(0);
  int stock = 999;
  for (int i = 0; i < 50; ++i) {
    const bool yes = i % 3 != 2;  // Yes, Yes, No, ...
    SCOPED_TRACE(testing::Message() << "question " << i << (yes ? " Yes" : " No"));
    client.Mark();
    // The player clicks the slot (the strip in front first, as a click would make it).
    SetForegroundWindow(App().Window());
    ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == App().Window(); }, 5000));
    // Left and right of the slot's middle in turn: two presses far enough apart are never one
    // double click, so the harness need not wait the double-click time out.
    harness::Click(POINT{slot.x + (i % 2 ? 8 : -8), slot.y});
    HWND dialog = App().Proc().WaitForWindow("TOKBottomDlg", 10000);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(harness::WaitUntil(
        [&] {
          const HWND focus = harness::FocusOf(dialog);
          return GetForegroundWindow() == dialog && focus && IsChild(dialog, focus);
        },
        5000));
    PostMessageA(GetDlgItem(dialog, yes ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(dialog); }, 10000));
    if (yes) --stock;
    ASSERT_TRUE(WaitForCounter(kSA, std::to_string(stock))) << Counter(kSA);
    ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }, 5000));
    int downs = 0;
    for (const auto& m : client.InputUpToMarker()) {
      if (m.msg == WM_KEYDOWN && m.wp == '5') ++downs;
    }
    ASSERT_EQ(downs, yes ? 1 : 0);
  }
  ASSERT_TRUE(App().Close());
  EXPECT_TRUE(Has(Profile(), "SpellCount4=34"));
}

TEST_F(SpellBar, UndoAlternatesBetweenTakingBackAndBookingAgain) {
  Start(ProfileWith("Inscription=1\r\n"));  // books without any client
  const POINT undo = App().ScreenPoint(605, 30);
  harness::Click(Slot(0));
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  harness::Click(undo);
  ASSERT_TRUE(WaitForCounter(kSA, "10")) << Counter(kSA);
  harness::Click(undo);
  ASSERT_TRUE(WaitForCounter(kSA, "9")) << Counter(kSA);  // twice: as after the cast
  harness::Click(undo);
  ASSERT_TRUE(WaitForCounter(kSA, "10"));  // three times: as before it
  ASSERT_TRUE(App().Close());
  const std::string profile = Profile();
  EXPECT_TRUE(Has(profile, "ReagentUsed6=0"));
  EXPECT_TRUE(Has(profile, "SpellCount4=0"));
}

TEST_F(SpellBar, WithoutAClientOnlyTheInscriptionToggleBooks) {
  Start(ProfileWith(""));
  harness::Click(Slot(0));                     // no client: nothing happens
  harness::Click(App().ScreenPoint(605, 50));  // Inscription down
  harness::Click(Slot(0));
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  ASSERT_TRUE(App().Close());
  EXPECT_TRUE(Has(Profile(), "SpellCount4=1"));
  EXPECT_TRUE(Has(Profile(), "Inscription=1"));
}

TEST_F(SpellBar, AGreyedSlotDoesNothing) {
  Start(ProfileWith("Inscription=1\r\n[SpellBook]\r\nSpell4=0\r\n"));
  harness::Click(Slot(0));
  harness::Click(Slot(0), 1);
  harness::Click(Slot(2));  // a spell in the book, to know the clicks before it were handled
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  ASSERT_TRUE(App().Close());
  EXPECT_TRUE(Has(Profile(), "SpellCount4=0"));
  EXPECT_TRUE(Has(Profile(), "SpellCount5=1"));
}

TEST_F(SpellBar, DoubleClickCastsOnceAndBringsTheClientForward) {
  standin::FakeClient client;
  Start(ProfileWith(""));
  SetForegroundWindow(App().Window());
  harness::DoubleClick(Slot(0));
  ASSERT_TRUE(WaitForCounter(kSA, "9"));
  EXPECT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }));
  ASSERT_TRUE(App().Close());
  EXPECT_TRUE(Has(Profile(), "SpellCount4=1"));
}

TEST_F(SpellBar, HoveringShowsTheSpellAndMarksItsReagents) {
  Start(ProfileWith("[ReagentCost]\r\nReagentCost1=6.5\r\nReagentCost5=6.5\r\n"));
  harness::MoveMouse(Slot(1));  // Clumsy: one Blood Moss, one Nightshade
  const std::string panel =
      harness::WaitForValue([&] { return PanelText(); },
                            [](const std::string& t) { return t.rfind(" Clumsy (", 0) == 0; });
  ASSERT_EQ(panel.rfind(" Clumsy (", 0), 0u) << panel;
  EXPECT_NE(panel.find(") 13gp / 4mana"), std::string::npos) << panel;
  // Each counter repaints in its own time (one still showing an earlier hover's mark, say): wait
  // for the whole picture, read at once, then check it counter by counter.
  auto marks = [&] {
    std::array<bool, 8> aqua{};
    for (int r = 0; r < 8; ++r) aqua[static_cast<size_t>(r)] = CounterBackground(r) == kAqua;
    return aqua;
  };
  const std::array<bool, 8> expected = {false, true, false, false, false, true, false, false};
  const std::array<bool, 8> seen =
      harness::WaitForValue(marks, [&](const std::array<bool, 8>& m) { return m == expected; });
  for (size_t r = 0; r < 8; ++r) EXPECT_EQ(seen[r], expected[r]) << r;
}

TEST_F(SpellBar, LabelColoursFollowTheCastsLeft) {
  Start(
      "[Reagent]\r\nReagent6=3\r\nReagent7=0\r\n[UserSpell]\r\nSpell00=4\r\nSpell01=5\r\n"
      "Spell02=4\r\n");
  EXPECT_TRUE(WaitForLabelColour(0, kYellow));  // 3 Magic Arrows
  EXPECT_TRUE(WaitForLabelColour(1, kRed));     // Night Sight lacks Spider's Silk
  // Typing into a counter updates the labels as the text changes.
  ASSERT_TRUE(harness::ClickToFocus(App().Control(110 + kSA)));
  harness::TypeText("7");
  ASSERT_TRUE(WaitForCounter(kSA, "7"));
  EXPECT_TRUE(WaitForLabelColour(0, kLime));
  EXPECT_TRUE(WaitForLabelColour(2, kLime));
}

TEST_F(SpellBar, CountersStayWithinRangeFromTypingAndPictures) {
  Start("[Reagent]\r\nReagent2=999\r\n");
  // Typing 1500 leaves 999; Enter moves on to the next counter.
  ASSERT_TRUE(harness::ClickToFocus(App().Control(110)));  // NumEdit_BP
  harness::TypeText("1500");
  harness::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForCounter(0, "999"));
  EXPECT_TRUE(
      harness::WaitUntil([&] { return harness::FocusOf(App().Window()) == App().Control(111); }));
  // Pictures: left +1 (stays at 999), right -1, middle -1, never below 0.
  const POINT gl = App().ScreenPoint(64 + 12, 5);
  harness::Click(gl);
  harness::Click(gl, 1);
  ASSERT_TRUE(WaitForCounter(2, "998"));
  harness::Click(gl, 2);
  ASSERT_TRUE(WaitForCounter(2, "997"));
  const POINT gs = App().ScreenPoint(64 + 12, 30);  // GS starts at 0
  harness::Click(gs, 1);
  harness::Click(gs);
  ASSERT_TRUE(WaitForCounter(3, "1"));
  ASSERT_TRUE(App().Close());
  const std::string profile = Profile();
  EXPECT_TRUE(Has(profile, "Reagent0=999")) << profile;
  EXPECT_TRUE(Has(profile, "Reagent2=997"));
  EXPECT_TRUE(Has(profile, "Reagent3=1"));
}

}  // namespace

namespace {

// The middle of tab `index` of the tab set, laid out as the tab set does: tabs start 2 pixels in
// and follow each other by the width of their text plus one 9-pixel slanted side.
int TabCentre(int index) {
  const char* tabs[] = {"  A  ", "  B  ", "  C  ", "  D  ", "  1 ", "  2 ",
                        "  3 ",  "  4 ",  "  5 ",  "  6 ",  "  7 ", "  8 "};
  HFONT font =
      CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  int x = 2;
  int centre = 0;
  for (int i = 0; i <= index; ++i) {
    SIZE size{};
    GetTextExtentPoint32A(dc, tabs[i], static_cast<int>(std::strlen(tabs[i])), &size);
    centre = x + 9 + size.cx / 2;
    x += 9 + size.cx;
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return centre;
}

TEST_F(SpellBar, TheEighthCirclePageShowsTheLastEightSpells) {
  Start(ProfileWith(""));
  harness::Click(App().ScreenPoint(270 + TabCentre(11), 48));
  for (const auto& [slot, name] : {std::pair{0, " Earthquake ("}, {7, " Water Elemental ("}}) {
    harness::MoveMouse(Slot(slot));
    const std::string shown = harness::WaitForValue(
        [&] { return PanelText(); }, [&](const std::string& t) { return t.starts_with(name); });
    EXPECT_TRUE(shown.starts_with(name)) << shown;
  }
}

}  // namespace

// Window discovery and key injection on the real user32 calls, checked at both ends: what the
// stand-in game client receives, and what a low-level keyboard hook sees at the input level.
#include "client/window_link.h"

#include "client/game_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/harness/harness.h"
#include "tests/win/client_standin.h"

namespace quillorb {
namespace {

using standin::ClientMessage;
using standin::ExpectedKey;
using standin::FakeClient;
using standin::InputEvent;
using standin::KeyboardHook;

BYTE ScanOf(BYTE vk) {
  return static_cast<BYTE>(MapVirtualKeyA(vk, 0));
}

// The client's key messages against the table: order, key, up or down, scan code, and no extended
// bit (Alt is the left-hand one). Alt alone (without Ctrl) makes the messages system key messages.
void ExpectClientSequence(const std::vector<ClientMessage>& got,
                          const std::vector<ExpectedKey>& want, const std::string& what) {
  std::string all;
  for (const ClientMessage& m : got) {
    all += m.name + " " + std::to_string(m.wp) + " " + std::to_string((m.lp >> 16) & 0x1FF) + "; ";
  }
  ASSERT_EQ(got.size(), want.size()) << what << ": " << all;
  bool altDown = false, ctrlDown = false;
  for (size_t i = 0; i < want.size(); ++i) {
    const ClientMessage& m = got[i];
    const ExpectedKey& k = want[i];
    SCOPED_TRACE(what + ", event " + std::to_string(i + 1));
    ASSERT_TRUE(standin::IsKeyMessage(m.msg)) << m.name;
    EXPECT_EQ(m.wp, k.vk);
    const bool up = m.msg == WM_KEYUP || m.msg == WM_SYSKEYUP;
    EXPECT_EQ(up, k.up) << m.name;
    EXPECT_EQ((m.lp >> 16) & 0xFF, ScanOf(k.vk));
    EXPECT_EQ(((m.lp >> 24) & 1) != 0, k.extended);
    if (k.vk == VK_MENU && !k.up) altDown = true;
    if (k.vk == VK_CONTROL) ctrlDown = !k.up;
    // With Alt held and Ctrl not, keys arrive as system keys (the release of Alt itself follows
    // rules of its own).
    const bool system = m.msg == WM_SYSKEYDOWN || m.msg == WM_SYSKEYUP;
    if (!(k.vk == VK_MENU && k.up)) {
      EXPECT_EQ(system, altDown && !ctrlDown) << m.name;
    }
    if (k.vk == VK_MENU && k.up) altDown = false;
  }
}

void ExpectInputSequence(const std::vector<InputEvent>& got, const std::vector<ExpectedKey>& want,
                         const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(what + ", input event " + std::to_string(i + 1));
    EXPECT_EQ(standin::GenericKey(got[i].vk), want[i].vk);
    EXPECT_NE(got[i].vk, static_cast<DWORD>(VK_RMENU));  // AltGr on layouts that have one
    EXPECT_EQ(got[i].scan, ScanOf(want[i].vk));
    EXPECT_EQ((got[i].flags & LLKHF_UP) != 0, want[i].up);
    EXPECT_EQ((got[i].flags & LLKHF_EXTENDED) != 0, want[i].extended);
    EXPECT_NE(got[i].flags & LLKHF_INJECTED, 0u);
  }
}

TEST(SendKeyCombination, AllEightModifierCombinationsArriveInTableOrder) {
  FakeClient client;
  ASSERT_TRUE(client.Window());
  KeyboardHook hook;
  ASSERT_TRUE(hook.Installed());
  for (int combo = 0; combo < 8; ++combo) {
    const bool alt = combo & 1, ctrl = combo & 2, shift = combo & 4;
    const std::string what = std::string("alt ") + (alt ? "1" : "0") + " ctrl " +
                             (ctrl ? "1" : "0") + " shift " + (shift ? "1" : "0");
    client.Mark();
    hook.Clear();
    ASSERT_TRUE(SendKeyCombination(client.Window(), 'Q', alt, ctrl, shift)) << what;
    const auto want = standin::ExpectedSequence('Q', alt, ctrl, shift);
    ExpectInputSequence(hook.EventsUpToMarker(), want, what);
    ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }));
    ExpectClientSequence(client.InputUpToMarker(), want, what);
  }
}

TEST(SendKeyCombination, HiddenWindowGetsNothingAndKeepsTheForeground) {
  FakeClient hidden("hidden");
  ASSERT_TRUE(hidden.Window());
  ASSERT_FALSE(IsWindowVisible(hidden.Window()));
  KeyboardHook hook;
  const HWND foreground = GetForegroundWindow();
  EXPECT_FALSE(SendKeyCombination(hidden.Window(), 'Q', true, true, true));
  EXPECT_TRUE(hook.EventsUpToMarker().empty());
  EXPECT_EQ(GetForegroundWindow(), foreground);
}

TEST(SendKeyCombination, MinimizedWindowCountsAsVisible) {
  FakeClient minimized("minimized");
  ASSERT_TRUE(minimized.Window());
  ASSERT_TRUE(IsIconic(minimized.Window()));
  KeyboardHook hook;
  EXPECT_TRUE(SendKeyCombination(minimized.Window(), 'Q', false, false, false));
  ExpectInputSequence(hook.EventsUpToMarker(), standin::ExpectedSequence('Q', false, false, false),
                      "minimized");
}

TEST(SendKeyCombination, WindowClosedBeforeUseSendsNothing) {
  HWND gone = nullptr;
  {
    FakeClient client;
    gone = client.Window();
    ASSERT_TRUE(gone);
    PostMessageA(gone, WM_CLOSE, 0, 0);
    ASSERT_TRUE(client.Proc().WaitForExit(10000));
  }
  KeyboardHook hook;
  EXPECT_FALSE(SendKeyCombination(gone, 'Q', true, false, false));
  EXPECT_FALSE(SendKeyCombination(nullptr, 'Q', false, false, false));
  EXPECT_TRUE(hook.EventsUpToMarker().empty());
}

TEST(SendKeyCombination, OnlyTheLowByteOfTheKeyIsTyped) {
  FakeClient client;
  KeyboardHook hook;
  ASSERT_TRUE(SendKeyCombination(client.Window(), 0x151, false, true, false));  // 0x51 = 'Q'
  const auto events = hook.EventsUpToMarker();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[1].vk, 0x51u);
  EXPECT_EQ(events[1].scan, MapVirtualKeyA(0x151, 0) & 0xFF);  // the whole value is looked up
}

// A punctuation character is typed as the key that gives it on the client's layout, with the
// modifiers the layout needs added; everything else as it is stored.
TEST(LayoutChord, PunctuationTakesTheLayoutsKey) {
  if (LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))) != 0x0409) {
    GTEST_SKIP() << "the cases are those of the US layout";
  }
  FakeClient client;
  const struct {
    KeyChord stored;
    KeyChord typed;
  } cases[] = {
      {{',', true, false, false}, {VK_OEM_COMMA, true, false, false}},  // not Print Screen (44)
      {{'.', false, true, false}, {VK_OEM_PERIOD, false, true, false}},
      {{':', false, true, false}, {VK_OEM_1, false, true, true}},  // Shift+';'
      {{'!', false, false, true}, {'1', false, false, true}},
      {{'[', false, false, false}, {VK_OEM_4, false, false, false}},  // not the Windows key
      {{'a', false, false, false}, {'A', false, false, false}},
      {{'Q', true, true, true}, {'Q', true, true, true}},
      {{'5', false, true, false}, {'5', false, true, false}},
      {{VK_F1, false, false, false}, {VK_F1, false, false, false}},
      {{'{', false, false, false}, {'{', false, false, false}},  // stored F12 ('{' is 0x7B)
      {{VK_RETURN, false, false, false}, {VK_RETURN, false, false, false}},
      {{' ', false, false, false}, {VK_SPACE, false, false, false}},
  };
  for (const auto& c : cases) {
    const std::optional<KeyChord> typed = LayoutChord(client.Window(), c.stored);
    ASSERT_TRUE(typed) << c.stored.key;
    EXPECT_EQ(*typed, c.typed) << c.stored.key;
  }
}

// ------------------------------------------------------------------ discovery

// A plain visible top-level window of this process with the given caption.
class CaptionWindow {
 public:
  explicit CaptionWindow(const std::string& caption, bool visible = true) {
    hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", caption.c_str(),
                            WS_POPUP | (visible ? WS_VISIBLE : 0), 10, 10, 50, 20, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  }
  ~CaptionWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  void ToTop() const { SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

 private:
  HWND hwnd_ = nullptr;
};

TEST(FindWindowByCaptionPrefix, FirstVisibleMatchInZOrderCaseSensitive) {
  CaptionWindow lower("UOAssist - lower");
  CaptionWindow upper("UOAssist");
  upper.ToTop();
  EXPECT_EQ(FindWindowByCaptionPrefix("UOAssist"), upper.hwnd());
  lower.ToTop();
  EXPECT_EQ(FindWindowByCaptionPrefix("UOAssist"), lower.hwnd());
  EXPECT_EQ(FindWindowByCaptionPrefix(kAssistantCaptionPrefix), lower.hwnd());

  CaptionWindow hidden("UOAssist Hidden", false);
  EXPECT_NE(FindWindowByCaptionPrefix("UOAssist Hidden"), hidden.hwnd());
  CaptionWindow lowerCase("uoassist here");
  lowerCase.ToTop();
  EXPECT_EQ(FindWindowByCaptionPrefix("uoassist"), lowerCase.hwnd());
  EXPECT_EQ(FindWindowByCaptionPrefix("UOAssist"), lower.hwnd());
}

TEST(FindWindowByCaptionPrefix, EmptyLongAndShortPrefixes) {
  CaptionWindow top("Quillorb test window");
  SetWindowPos(top.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(FindWindowByCaptionPrefix(""), top.hwnd());
  SetWindowPos(top.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // Captions are read up to 253 characters: a longer prefix never matches, a caption shorter
  // than the prefix never matches.
  const std::string caption(300, 'L');
  CaptionWindow longCaption(caption);
  longCaption.ToTop();
  EXPECT_EQ(FindWindowByCaptionPrefix(caption.substr(0, 253)), longCaption.hwnd());
  EXPECT_EQ(FindWindowByCaptionPrefix(caption.substr(0, 254)), nullptr);
  EXPECT_EQ(FindWindowByCaptionPrefix("Quillorb test window and more"), nullptr);
}

// Look-alike windows, each with the one answer the discovery must give: keys go to what it finds.
TEST(FindClient, EveryLookAlikeGetsItsOneAnswer) {
  struct Window {
    const char* caption;
    const char* className = "ShardClient";
    const char* show = "visible";
    const char* program = "fake_client.exe";
    bool withAssistant = false;
    bool ours = false;  // a window of this process (Quillorb's own)
  };
  struct Case {
    const char* what;
    std::vector<Window> windows;  // made in this order: the last is the topmost
    const char* prefix;
    const char* trusted;
    int found;  // the window expected, -1 for none
    bool confirm = false;
  };
  const char* const kBrowser = "Ultima Online - Wikipedia - Google Chrome";
  const Case cases[] = {
      {"browser, default caption", {{kBrowser, "Chrome_WidgetWin_1"}}, "Ultima Online - ", "", -1},
      {"browser, the classic caption's start",
       {{kBrowser, "Chrome_WidgetWin_1"}},
       "Ultima Online",
       "",
       -1},
      {"notepad, one letter", {{"Untitled - Notepad", "Notepad"}}, "U", "", -1},
      {"assistant's window", {{"UOAssist - stand-in", "UOAssistStandin"}}, "UOAs", "", -1},
      {"assistant inside a client's process",
       {{.caption = "ClassicUO - 1.0.0.0",
         .className = "SDL_app",
         .show = "hidden",
         .withAssistant = true}},
       "UOAs",
       "",
       -1},
      {"another window of an assistant's process",
       {{.caption = "My Shard - Bob", .withAssistant = true}},
       "My Shard - ",
       "",
       -1},
      {"Quillorb's own window",
       {{.caption = "My Shard - Bob", .ours = true}},
       "My Shard - ",
       "",
       -1},
      {"hidden window with the caption",
       {{.caption = "My Shard - Bob", .show = "hidden"}},
       "My Shard - ",
       "",
       -1},
      {"hidden ClassicUO", {{"ClassicUO - 1.0.0.0", "SDL_app", "hidden"}}, "", "", -1},
      {"hidden classic client beside a visible ClassicUO",
       {{"Ultima Online", "Ultima Online", "hidden"}, {"ClassicUO - 1.0.0.0", "SDL_app"}},
       "",
       "",
       1},
      {"a client drawn by SDL under another caption, its assistant inside",
       {{.caption = "My Shard - Bob", .className = "SDL_app", .withAssistant = true}},
       "My Shard - ",
       "",
       0,
       true},
      {"ClassicUO with its assistant inside",
       {{.caption = "Bob - ClassicUO - 1.0.0.0", .className = "SDL_app", .withAssistant = true}},
       "My Shard - ",
       "",
       0},
      {"the classic client, default caption",
       {{kBrowser, "Chrome_WidgetWin_1"}, {"Ultima Online", "Ultima Online"}},
       "Ultima Online - ",
       "",
       1},
      {"player's caption, not confirmed", {{"My Shard - Bob"}}, "My Shard - ", "", 0, true},
      {"player's caption, its program remembered",
       {{"My Shard - Bob"}},
       "My Shard - ",
       "FAKE_CLIENT.EXE",
       0,
       false},
      {"player's caption, another program remembered",
       {{"My Shard - Bob"}},
       "My Shard - ",
       "shard_client.exe",
       0,
       true},
      {"the remembered program's window first",
       {{.caption = "My Shard - A", .program = "shard_client.exe"}, {"My Shard - B"}},
       "My Shard - ",
       "shard_client.exe",
       0,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::unique_ptr<FakeClient>> programs;
    std::vector<std::unique_ptr<CaptionWindow>> ours;
    std::vector<HWND> windows;
    for (const Window& w : c.windows) {
      if (w.ours) {
        ours.push_back(std::make_unique<CaptionWindow>(w.caption));
        windows.push_back(ours.back()->hwnd());
        continue;
      }
      programs.push_back(std::make_unique<FakeClient>(w.show, RECT{100, 50, 740, 530}, w.caption,
                                                      w.className, w.program,
                                                      w.withAssistant ? "uoassist" : ""));
      windows.push_back(programs.back()->Window());
      ASSERT_TRUE(windows.back());
    }
    const FoundClient found = FindClient({c.prefix, nullptr, c.trusted});
    const HWND expected = c.found < 0 ? nullptr : windows[static_cast<size_t>(c.found)];
    EXPECT_EQ(found.window, expected);
    EXPECT_EQ(found.needsConfirmation, c.confirm);
    if (c.confirm) {
      EXPECT_EQ(found.program, L"fake_client.exe");
    }
    EXPECT_EQ(FindClientWindow({c.prefix, nullptr, c.trusted}), c.confirm ? nullptr : expected);
  }
}

// The panel's "No game window" names the player's caption only when it is looked for.
TEST(FindClient, TheDescriptionNamesOnlyACaptionLookedFor) {
  EXPECT_EQ(DescribeClientSearch({"My Shard - "}), "UO, ClassicUO, \"My Shard - \"");
  for (const char* ignored : {"", "  ", "U", "Ultima Online - ", "UOAssist"}) {
    EXPECT_EQ(DescribeClientSearch({ignored}), "UO, ClassicUO") << ignored;
  }
}

// With several clients of a kind, the one the player had in front last; the topmost until one has
// been seen in front. (The main window tells the history; spell_bar_test clicks through it.)
TEST(FindClientWindow, TheClientInFrontLastWinsOverTheZOrder) {
  ForegroundHistory history;
  struct Case {
    const char* caption;
    const char* className;
  };
  for (const Case& c : {Case{"Ultima Online", "Ultima Online"}, Case{"ClassicUO - 1", "SDL_app"},
                        Case{"My Shard - A", "ShardClient"}}) {
    SCOPED_TRACE(c.className);
    FakeClient a("visible", {100, 50, 740, 530}, c.caption, c.className);
    FakeClient b("visible", {120, 70, 760, 550}, c.caption, c.className);
    const ClientSearch search{"My Shard - ", &history};
    EXPECT_EQ(FindClient(search).window, b.Window());  // created last, so topmost
    for (HWND front : {a.Window(), b.Window(), a.Window()}) {
      history.Note(front);
      EXPECT_EQ(FindClient(search).window, front);
    }
  }
}

}  // namespace
}  // namespace quillorb

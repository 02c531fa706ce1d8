// The casting pipeline end to end: TSpell::Cast in this process against the stand-in game client,
// with the dangerous-spell dialog answered by real input from a second thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "client/danger_dialog.h"
#include "model/spell.h"
#include "tests/harness/harness.h"
#include "tests/win/client_standin.h"
#include "tests/win/test_cast_host.h"

namespace quillorb {
namespace {

using standin::ClientMessage;
using standin::FakeClient;

constexpr BYTE kMacroKey = 'Q';

TSpell TestSpell() {
  TSpell s;
  s.Name = "Flame Strike";
  s.CastText = "In Vas Mani";
  s.Key = kMacroKey;
  s.Alt = false;
  s.Ctrl = true;
  s.Shift = false;
  s.Reagent = {0, 0, 0, 0, 0, 0, 0, 2};  // two Spider's Silk
  s.InSpellBook = true;
  return s;
}

struct Ledger {
  ReagentCounts stock{10, 10, 10, 10, 10, 10, 10, 1};
  ReagentCounts used{};
};

void ExpectBookedOnce(const TSpell& s, const Ledger& l) {
  EXPECT_EQ(s.CastCount, 1);
  EXPECT_EQ(l.stock[7], 0);  // 1 in the backpack, 2 needed: clamped at 0
  EXPECT_EQ(l.used[7], 2);
  EXPECT_EQ(l.stock[0], 10);
}

void ExpectNothingBooked(const TSpell& s, const Ledger& l) {
  EXPECT_EQ(s.CastCount, 0);
  EXPECT_EQ(l.stock, Ledger{}.stock);
  EXPECT_EQ(l.used, ReagentCounts{});
}

// Key messages of one combination, as (message kind down/up, key) pairs in order.
std::vector<std::pair<bool, WPARAM>> Keys(BYTE vk, bool ctrl) {
  std::vector<std::pair<bool, WPARAM>> keys;
  for (const auto& k : standin::ExpectedSequence(vk, false, ctrl, false))
    keys.push_back({k.up, k.vk});
  return keys;
}

// What follows typed words: Return, then the spell's macro key.
std::vector<std::pair<bool, WPARAM>> ReturnThenMacroKey() {
  auto keys = Keys(VK_RETURN, false);
  const auto macro = Keys(kMacroKey, true);
  keys.insert(keys.end(), macro.begin(), macro.end());
  return keys;
}

std::vector<std::pair<bool, WPARAM>> KeysOf(const std::vector<ClientMessage>& messages) {
  std::vector<std::pair<bool, WPARAM>> keys;
  for (const ClientMessage& m : messages) {
    if (standin::IsKeyMessage(m.msg)) {
      keys.push_back({m.msg == WM_KEYUP || m.msg == WM_SYSKEYUP, m.wp});
    }
  }
  return keys;
}

std::vector<WPARAM> ImeChars(const std::vector<ClientMessage>& messages) {
  std::vector<WPARAM> chars;
  for (const ClientMessage& m : messages) {
    if (m.msg != WM_IME_CHAR) continue;
    EXPECT_EQ(m.lp, 1);
    chars.push_back(m.wp);
  }
  return chars;
}

// Watches for the dangerous-spell dialog (or another question, by its window class) on a second
// thread, and answers it with `answer` once it is visible. Without an answer, a dialog that appears
// is only closed and remembered.
class DialogWatcher {
 public:
  using Answer = std::function<void(HWND dialog)>;
  explicit DialogWatcher(Answer answer = nullptr, const char* className = kDangerDialogClass)
      : answer_(std::move(answer)), className_(className) {
    thread_ = std::thread([this] { Run(); });
  }
  ~DialogWatcher() { Finish(); }
  // Ends the watch and waits for the watcher's thread: what an answer wrote into the test's
  // variables may be read only after this.
  void Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool Appeared() const { return appeared_; }
  // What the watcher saw of the dialog before answering it. The watcher writes these on its own
  // thread while the test may already read them (the answer reaches the test through real input,
  // which orders nothing between the threads), so they are exchanged under a lock.
  RECT Rect() const { return Seen().rect; }
  bool Topmost() const { return Seen().topmost; }
  int FocusId() const { return Seen().focusId; }
  std::string Caption() const { return Seen().caption; }
  // A message box's text, and the window that owns the question.
  std::string Text() const { return Seen().text; }
  HWND Owner() const { return Seen().owner; }
  // Empty, or what the dialog looked like when an answer did not end the question.
  std::string Unanswered() const { return Seen().unanswered; }

 private:
  void Run() {
    HWND dialog = nullptr;
    harness::WaitUntil(
        [&] {
          dialog = FindWindowA(className_, nullptr);
          return stop_ || (dialog && IsWindowVisible(dialog));
        },
        20000);
    if (stop_ || !dialog) return;
    appeared_ = true;
    // Answered only once the dialog has set itself up (in front, the focus on its first button):
    // a press that lands before that loses its button to the initial focus and clicks nothing.
    harness::WaitUntil(
        [&] {
          const HWND focus = harness::FocusOf(dialog);
          return GetForegroundWindow() == dialog && focus && IsChild(dialog, focus);
        },
        5000);
    Observation seen;
    GetWindowRect(dialog, &seen.rect);
    seen.topmost = (GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    seen.caption = harness::WindowText(dialog);
    seen.text = harness::WindowText(GetDlgItem(dialog, 0xFFFF));
    seen.owner = GetWindow(dialog, GW_OWNER);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    seen.focusId = info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
    Publish(seen);
    if (answer_) {
      answer_(dialog);
      // An answer that did not end the question is a failure of its own, told with what the
      // dialog looked like; the question is then closed so that the test ends.
      if (!harness::WaitUntil([&] { return stop_ || !IsWindowVisible(dialog); }, 15000)) {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
        POINT cursor{};
        GetCursorPos(&cursor);
        const RECT yes = harness::WindowRectOf(GetDlgItem(dialog, IDOK));
        char text[256];
        std::snprintf(
            text, sizeof text,
            "unanswered: foreground %p dialog %p focus id %d capture %p cursor %ld,%ld "
            "yes (%ld,%ld)-(%ld,%ld) state yes %lx no %lx",
            static_cast<void*>(GetForegroundWindow()), static_cast<void*>(dialog),
            gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0, static_cast<void*>(gui.hwndCapture),
            cursor.x, cursor.y, yes.left, yes.top, yes.right, yes.bottom,
            static_cast<unsigned long>(SendMessageA(GetDlgItem(dialog, IDOK), BM_GETSTATE, 0, 0)),
            static_cast<unsigned long>(
                SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_GETSTATE, 0, 0)));
        seen.unanswered = text;
        Publish(seen);
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
    } else {
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }

  struct Observation {
    RECT rect{};
    bool topmost = false;
    int focusId = 0;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    std::string unanswered;
  };
  Observation Seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  void Publish(const Observation& seen) {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_ = seen;
  }

  Answer answer_;
  const char* className_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> appeared_{false};
  mutable std::mutex mutex_;
  Observation seen_;
  std::thread thread_;  // last: it starts once everything it touches exists
};

// A dangerous spell cast in `mode` while a watcher looks out for the question (and closes it):
// whether the cast succeeded and whether the question appeared.
struct DangerOutcome {
  bool cast = false;
  bool asked = false;
};
DangerOutcome CastDangerous(CastMode mode, TSpell& spell, Ledger& ledger, GameCaster* caster) {
  spell.Danger = true;
  DialogWatcher watcher;
  const bool cast = spell.Cast(mode, ledger.stock, ledger.used, caster);
  watcher.Finish();
  return {cast, watcher.Appeared()};
}

// Clicks a button of the dialog with the mouse (the harness waits until the pointer is there).
void ClickButton(HWND dialog, int id) {
  const RECT r = harness::WindowRectOf(GetDlgItem(dialog, id));
  harness::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// The pixels of a client rectangle of `window` as they are on the screen.
std::vector<COLORREF> ClientPixels(HWND window, RECT area) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return harness::ScreenPixels(area);
}

// The same once a window of this thread has painted what it has waiting.
std::vector<COLORREF> PaintedClientPixels(HWND window, RECT area) {
  harness::ShowPainted(window);
  return ClientPixels(window, area);
}

constexpr RECT kLabelSpellArea{20, 40, 297, 64};

// ------------------------------------------------------------------ booking without the client

TEST(Cast, BookingModeNeedsNoClientAndAsksNothing) {
  TestCastHost main;
  TSpell spell = TestSpell();
  Ledger ledger;
  const DangerOutcome outcome = CastDangerous(CastMode::BookOnly, spell, ledger, main.caster);
  EXPECT_TRUE(outcome.cast);
  ExpectBookedOnce(spell, ledger);
  EXPECT_FALSE(outcome.asked);
}

TEST(Cast, WithoutClientNothingHappensNotEvenTheQuestion) {
  TestCastHost main;
  ASSERT_EQ(FindWindowA("Ultima Online", nullptr), nullptr);
  TSpell spell = TestSpell();
  Ledger ledger;
  const DangerOutcome outcome = CastDangerous(CastMode::IntoGame, spell, ledger, main.caster);
  EXPECT_FALSE(outcome.cast);
  ExpectNothingBooked(spell, ledger);
  EXPECT_FALSE(outcome.asked);
}

TEST(Cast, SpellOutsideTheSpellbookDoesNothing) {
  TestCastHost main;
  FakeClient client;
  client.Mark();
  TSpell spell = TestSpell();
  spell.InSpellBook = false;
  Ledger ledger;
  EXPECT_FALSE(spell.Cast(CastMode::BookOnly, ledger.stock, ledger.used, main.caster));
  EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  ExpectNothingBooked(spell, ledger);
  SetForegroundWindow(client.Window());
  EXPECT_TRUE(client.InputUpToMarker().empty());
}

// ------------------------------------------------------------------ typing into the client

TEST(Cast, CastTextThenReturnThenMacroKeyThenBooking) {
  TestCastHost main;
  FakeClient client;
  client.Mark();
  TSpell spell = TestSpell();
  Ledger ledger;
  ASSERT_TRUE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  ExpectBookedOnce(spell, ledger);

  const auto input = client.InputUpToMarker();
  const std::string text = "In Vas Mani";
  ASSERT_EQ(ImeChars(input), std::vector<WPARAM>(text.begin(), text.end()));
  // The characters come first, then Return, then the macro key.
  ASSERT_GE(input.size(), text.size());
  for (size_t i = 0; i < text.size(); ++i) EXPECT_EQ(input[i].msg, UINT{WM_IME_CHAR});
  EXPECT_EQ(KeysOf(input), ReturnThenMacroKey());
}

TEST(Cast, OnlyTheMacroKeyWhenTheToggleIsUpOrTheTextEmpty) {
  FakeClient client;
  for (int variant = 0; variant < 3; ++variant) {
    SCOPED_TRACE(variant == 0 ? "toggle up" : variant == 1 ? "empty text" : "no host");
    TSpell spell = TestSpell();
    Ledger ledger;
    bool done = false;
    client.Mark();
    if (variant == 2) {
      CastPipeline bare;  // no host: no words
      done = spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, &bare);
    } else {
      TestCastHost main(variant != 0);
      if (variant == 1) spell.CastText.clear();
      done = spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster);
    }
    EXPECT_TRUE(done);
    ExpectBookedOnce(spell, ledger);
    const auto input = client.InputUpToMarker();
    EXPECT_TRUE(ImeChars(input).empty());
    EXPECT_EQ(KeysOf(input), Keys(kMacroKey, true));
  }
}

TEST(Cast, LongestCastTextArrivesWhole) {
  TestCastHost main;
  FakeClient client;
  client.Mark();
  TSpell spell = TestSpell();
  spell.CastText.assign(1023, 'x');
  spell.CastText.back() = 'y';
  Ledger ledger;
  ASSERT_TRUE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  const auto input = client.InputUpToMarker();
  const auto chars = ImeChars(input);
  ASSERT_EQ(chars.size(), 1023u);
  EXPECT_EQ(chars.back(), WPARAM{'y'});
  EXPECT_EQ(KeysOf(input), ReturnThenMacroKey());
}

TEST(Cast, AssistantPresentMeansKeysButNoBooking) {
  TestCastHost main;
  FakeClient client;
  HWND assistant = CreateWindowExA(0, "STATIC", "UOAssist", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
  main.assistant = assistant;
  client.Mark();
  TSpell spell = TestSpell();
  spell.CastText.clear();
  Ledger ledger;
  EXPECT_TRUE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  ExpectNothingBooked(spell, ledger);
  EXPECT_EQ(KeysOf(client.InputUpToMarker()), Keys(kMacroKey, true));

  // The booking mode books whatever the assistant does.
  EXPECT_TRUE(spell.Cast(CastMode::BookOnly, ledger.stock, ledger.used, main.caster));
  ExpectBookedOnce(spell, ledger);

  // An assistant that has gone reports nothing, so the cast is booked here.
  DestroyWindow(assistant);
  EXPECT_TRUE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  EXPECT_EQ(spell.CastCount, 2);
}

// ------------------------------------------------------------------ the dangerous-spell question

TEST(DangerDialog, CentredOverTheClientTopmostNoFocusedAndYesCasts) {
  TestCastHost main;
  FakeClient client("visible", {100, 50, 740, 530});
  ASSERT_EQ(harness::WindowRectOf(client.Window()).left, 100);

  // What the label looks like with the right caption and with a wrong one.
  std::vector<COLORREF> right, wrong;
  {
    TOKBottomDlg reference(nullptr);
    reference.PlaceOver(client.Window());
    reference.Label_Spell->SetCaption("Flame Strike ?");
    ShowWindow(reference.hwnd(), SW_SHOWNOACTIVATE);
    right = PaintedClientPixels(reference.hwnd(), kLabelSpellArea);
    reference.Label_Spell->SetCaption("Flame Strike");
    wrong = PaintedClientPixels(reference.hwnd(), kLabelSpellArea);
  }
  ASSERT_NE(right, wrong);

  client.Mark();
  TSpell spell = TestSpell();
  spell.Danger = true;
  spell.CastText.clear();
  Ledger ledger;
  std::vector<COLORREF> shown;
  DialogWatcher watcher([&](HWND dialog) {
    // The question's thread paints, and its pixels reach the screen when that thread next waits.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    harness::WaitUntil(
        [&] {
          shown = ClientPixels(dialog, kLabelSpellArea);
          return shown == right;
        },
        3000);
    ClickButton(dialog, IDOK);
  });
  EXPECT_TRUE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  watcher.Finish();
  ASSERT_TRUE(watcher.Appeared());
  ExpectBookedOnce(spell, ledger);
  EXPECT_EQ(KeysOf(client.InputUpToMarker()), Keys(kMacroKey, true));

  const RECT r = watcher.Rect();
  const int width = r.right - r.left, height = r.bottom - r.top;
  EXPECT_EQ(r.left, 100 + 320 - width / 2);
  EXPECT_EQ(r.top, 50 + 240 - height / 2);
  if (width == 319 && height == 135) {
    EXPECT_EQ(r.left, 261);
    EXPECT_EQ(r.top, 223);
  }
  EXPECT_TRUE(watcher.Topmost());
  EXPECT_EQ(watcher.Caption(), "You are about to cast Dangerous Spell!!");
  EXPECT_EQ(watcher.FocusId(), IDCANCEL);
  EXPECT_TRUE(shown == right) << "Label_Spell does not show \"Flame Strike ?\"";
}

enum class Decline { NoButton, Escape, Enter, Space, CloseBox };

class DangerDecline : public ::testing::TestWithParam<Decline> {};

TEST_P(DangerDecline, AnswersNoAndTheClientComesBack) {
  TestCastHost main;
  FakeClient client;
  client.Mark();
  TSpell spell = TestSpell();
  spell.Danger = true;
  Ledger ledger;
  DialogWatcher watcher([](HWND dialog) {
    switch (GetParam()) {
      case Decline::NoButton:
        ClickButton(dialog, IDCANCEL);
        break;
      case Decline::Escape:
        harness::PressKey(VK_ESCAPE);
        break;
      case Decline::Enter:
        harness::PressKey(VK_RETURN);
        break;
      case Decline::Space:
        harness::PressKey(VK_SPACE);
        break;
      case Decline::CloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
  });
  EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  ASSERT_TRUE(watcher.Appeared());
  ExpectNothingBooked(spell, ledger);
  EXPECT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }, 5000));
  // Nothing was typed: no characters, no key pressed (a release of the answering key may follow
  // the focus to the client).
  const auto input = client.InputUpToMarker();
  EXPECT_TRUE(ImeChars(input).empty());
  for (const ClientMessage& m : input) {
    EXPECT_TRUE(m.msg == WM_KEYUP || m.msg == WM_SYSKEYUP) << m.name << " " << m.wp;
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, DangerDecline,
                         ::testing::Values(Decline::NoButton, Decline::Escape, Decline::Enter,
                                           Decline::Space, Decline::CloseBox));

TEST(DangerDialog, TabToYesThenEnterAnswersYes) {
  TestCastHost main;
  FakeClient client;
  TSpell spell = TestSpell();
  spell.Danger = true;
  spell.CastText.clear();
  Ledger ledger;
  DialogWatcher watcher([](HWND) {
    harness::PressKey(VK_TAB);
    harness::PressKey(VK_RETURN);
  });
  EXPECT_TRUE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  ExpectBookedOnce(spell, ledger);
}

TEST(DangerDialog, ClientClosedDuringTheQuestionGetsNothingAndNothingIsBooked) {
  TestCastHost main;
  FakeClient client;
  TSpell spell = TestSpell();
  spell.Danger = true;
  Ledger ledger;
  DialogWatcher watcher([&](HWND dialog) {
    client.Proc().Kill();
    ClickButton(dialog, IDOK);
  });
  EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, main.caster));
  ASSERT_TRUE(watcher.Appeared());
  ExpectNothingBooked(spell, ledger);
}

TEST(DangerDialog, OwnerDisabledWhileOpenAndCentredOnScreenWithoutAWindow) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  TOKBottomDlg dialog(owner);
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(gone);
  dialog.PlaceOver(gone);
  const RECT r = harness::WindowRectOf(dialog.hwnd());
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - (r.right - r.left) / 2);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - (r.bottom - r.top) / 2);

  RECT client{};
  GetClientRect(dialog.hwnd(), &client);
  EXPECT_EQ(client.right, 313);
  EXPECT_EQ(client.bottom, 109);

  bool ownerEnabledMeanwhile = true;
  DialogWatcher watcher([&](HWND) {
    ownerEnabledMeanwhile = IsWindowEnabled(owner) != FALSE;
    harness::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(dialog.ShowModal(), TOKBottomDlg::kNo);
  watcher.Finish();
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

// ------------------------------------------------------------------ keys only into a client in
// front

TEST(DangerDialog, FiftyQuestionsInARowEveryYesCastsOnceEveryNoNothing) {
  TestCastHost host;
  FakeClient client;
  // The question's owner stands for the strip: a visible topmost window, which the system
  // activates again when the question goes unless the client has been given the activation.
  host.owner = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "strip", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                               60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  TSpell spell = TestSpell();
  spell.Danger = true;
  spell.CastText.clear();
  spell.Reagent = {};
  ReagentCounts stock{}, used{};
  int yes = 0;
  std::vector<DWORD> yesTimes;
  for (int i = 0; i < 50; ++i) {
    const bool answerYes = i % 3 != 2;  // Yes, Yes, No, ...
    SCOPED_TRACE(testing::Message() << "question " << i << (answerYes ? " Yes" : " No"));
    client.Mark();
    DWORD clicked = 0;
    // Answered by the button's own click message: a real pointer under Wine may still press
    // where the previous answer was, which is no fault of the pipeline's.
    DialogWatcher watcher([&](HWND dialog) {
      clicked = GetTickCount();
      PostMessageA(GetDlgItem(dialog, answerYes ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    });
    const bool cast = spell.Cast(CastMode::IntoGame, stock, used, host.caster);
    const DWORD booked = GetTickCount();
    watcher.Finish();
    ASSERT_TRUE(watcher.Appeared());
    ASSERT_EQ(watcher.Unanswered(), "");
    ASSERT_EQ(cast, answerYes);
    if (answerYes) {
      ++yes;
      yesTimes.push_back(booked - clicked);
    }
    ASSERT_EQ(spell.CastCount, yes);
    ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }, 5000));
    const auto keys = KeysOf(client.InputUpToMarker());
    if (answerYes) {
      ASSERT_EQ(keys, Keys(kMacroKey, true));
    } else {
      for (const auto& k : keys) ASSERT_TRUE(k.first) << "a key went down after No: " << k.second;
    }
  }
  EXPECT_TRUE(host.failures.empty());
  DestroyWindow(host.owner);
  std::sort(yesTimes.begin(), yesTimes.end());
  std::printf("from the Yes click to the booked cast: median %lu ms, max %lu ms (%zu casts)\n",
              static_cast<unsigned long>(yesTimes[yesTimes.size() / 2]),
              static_cast<unsigned long>(yesTimes.back()), yesTimes.size());
}

// ------------------------------------------------------------------ a client found by its caption

// The first window found by the player's caption alone is cast into only once the player has
// confirmed it: No casts nothing; Yes casts and remembers its program, whose windows are then taken
// without asking; a window of another program with the same caption asks again.
TEST(Cast, AWindowFoundByItsCaptionIsConfirmedOncePerProgram) {
  TestCastHost host;
  host.search.captionPrefix = "My Shard - ";
  // The question's owner stands for the strip, as in the dangerous spell's questions.
  host.owner = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "strip", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                               60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  TSpell spell = TestSpell();
  spell.CastText.clear();
  spell.Reagent = {};
  ReagentCounts stock{}, used{};
  auto cast = [&](FakeClient& client, int answer) {
    client.Mark();
    DialogWatcher watcher(
        [answer](HWND box) { PostMessageA(GetDlgItem(box, answer), BM_CLICK, 0, 0); }, "#32770");
    const bool done = spell.Cast(CastMode::IntoGame, stock, used, host.caster);
    watcher.Finish();
    EXPECT_EQ(watcher.Unanswered(), "");
    return std::tuple{done, watcher.Appeared() ? watcher.Text() : std::string(), watcher.Owner()};
  };
  {
    FakeClient shard("visible", {100, 50, 740, 530}, "My Shard - Bob", "ShardClient");
    const auto [declined, question, owner] = cast(shard, IDNO);
    EXPECT_FALSE(declined);
    EXPECT_NE(question.find("Window: My Shard - Bob\nProgram: fake_client.exe"), std::string::npos)
        << question;
    EXPECT_EQ(owner, host.owner);
    EXPECT_EQ(spell.CastCount, 0);
    EXPECT_EQ(host.search.trustedProgram, "");
    SetForegroundWindow(shard.Window());
    ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == shard.Window(); }));
    for (const auto& k : KeysOf(shard.InputUpToMarker())) EXPECT_TRUE(k.first) << k.second;

    for (const int answer : {IDYES, 0}) {  // Yes, then no question at all
      SCOPED_TRACE(answer == IDYES ? "Yes" : "remembered");
      const auto [done, asked, ignored] = cast(shard, answer);
      EXPECT_TRUE(done);
      EXPECT_EQ(asked.empty(), answer == 0) << asked;
      EXPECT_EQ(host.search.trustedProgram, "fake_client.exe");
      EXPECT_EQ(KeysOf(shard.InputUpToMarker()), Keys(kMacroKey, true));
    }
    EXPECT_EQ(spell.CastCount, 2);
  }
  FakeClient other("visible", {100, 50, 740, 530}, "My Shard - Bob", "ShardClient",
                   "shard_client.exe");
  const auto [declined, question, owner] = cast(other, IDNO);
  EXPECT_FALSE(declined);
  EXPECT_NE(question.find("Program: shard_client.exe"), std::string::npos) << question;
  EXPECT_EQ(spell.CastCount, 2);
  EXPECT_TRUE(host.failures.empty());
  DestroyWindow(host.owner);
}

TEST(Cast, AClientThatDoesNotComeToTheFrontGetsNoKeysAndNothingIsBooked) {
  TestCastHost host;
  FakeClient client;
  // Another window of ours in front, and the client busy (hung) for a while: it cannot take the
  // activation in time.
  HWND ours = CreateWindowExA(0, "STATIC", "ours", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(ours);
  ASSERT_TRUE(
      harness::WaitUntil([&] { return harness::FocusOf(client.Window()) == nullptr; }, 5000));
  client.Mark();
  // Sent, not posted, so that the client is surely busy with it when the timeout returns; busy
  // for about a second longer than the cast waits.
  DWORD_PTR ignored = 0;
  ASSERT_FALSE(SendMessageTimeoutA(client.Window(), WM_APP + 1, kClientFrontTimeoutMs + 1200, 0,
                                   SMTO_NORMAL, 200, &ignored));
  TSpell spell = TestSpell();
  Ledger ledger;
  const DWORD t0 = GetTickCount();
  EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, host.caster));
  const DWORD took = GetTickCount() - t0;
  EXPECT_GE(took, kClientFrontTimeoutMs);
  EXPECT_LT(took, kClientFrontTimeoutMs + 1500);
  ExpectNothingBooked(spell, ledger);
  EXPECT_EQ(host.failures, std::vector<CastFailure>{CastFailure::NotInFront});
  // Once the client answers again it has received nothing: no words, no key.
  SetForegroundWindow(client.Window());
  ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }, 10000));
  const auto input = client.InputUpToMarker();
  EXPECT_TRUE(ImeChars(input).empty());
  for (const ClientMessage& m : input) EXPECT_NE(m.wp, WPARAM{kMacroKey}) << m.name;
  DestroyWindow(ours);
}

// The client hides after it came to the front: the keys that could not be sent are not booked,
// with the words (whose Return fails) and without them (the macro key fails).
TEST(Cast, AClientThatHidesBeforeItsKeysGetsNothingBooked) {
  TestCastHost host;
  for (const bool words : {true, false}) {
    FakeClient client;
    host.runeCasting = words;
    host.onRuneCastingAsked = [&] { ShowWindow(client.Window(), SW_HIDE); };
    TSpell spell = TestSpell();
    Ledger ledger;
    EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, host.caster)) << words;
    ExpectNothingBooked(spell, ledger);
  }
  EXPECT_EQ(host.failures, std::vector<CastFailure>(2, CastFailure::NotInFront));
}

TEST(Cast, NoClientWindowIsToldToTheHost) {
  TestCastHost host;
  TSpell spell = TestSpell();
  Ledger ledger;
  EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, host.caster));
  EXPECT_EQ(host.failures, std::vector<CastFailure>{CastFailure::NoClientWindow});
  ExpectNothingBooked(spell, ledger);
}

// A key the game cannot be sent (none, or a character 0x80..0xFF widened to 0xFF80..0xFFFF as
// stored files hold it) casts nothing: no words, no key, nothing booked, and the host is told.
TEST(Cast, AKeyThatIsNoVirtualKeyCastsNothing) {
  TestCastHost host;
  FakeClient client;
  SetForegroundWindow(client.Window());
  ASSERT_TRUE(harness::WaitUntil([&] { return GetForegroundWindow() == client.Window(); }, 5000));
  for (const uint16_t key : {uint16_t{0}, uint16_t{0xFF80}, uint16_t{0xFFFF}}) {
    client.Mark();
    TSpell spell = TestSpell();
    spell.Key = key;
    Ledger ledger;
    EXPECT_FALSE(spell.Cast(CastMode::IntoGame, ledger.stock, ledger.used, host.caster)) << key;
    ExpectNothingBooked(spell, ledger);
    EXPECT_TRUE(client.InputUpToMarker().empty()) << key;
  }
  EXPECT_EQ(host.failures, std::vector<CastFailure>(3, CastFailure::NoMacroKey));
}

}  // namespace
}  // namespace quillorb

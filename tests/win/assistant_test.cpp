// The main window's link with an assistant program, created in this process and talking to the
// stand-in assistant in another: the count request and its time-out, count and cast reports sent
// and posted, and the published API's registration, live counts and recount. The suites run in
// order: without an assistant, with the published API only, then with the visible "UOAssist"
// window (whose presence decides how the others start).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/form_main.h"
#include "client/danger_dialog.h"
#include "tests/win/assistant_standin.h"
#include "tests/win/client_standin.h"

namespace quillorb {
namespace {

using standin::FakeAssistant;

constexpr char kWorking[] = " Reagent Count... Working";
constexpr char kFinished[] = " Reagent Count... Finished";

// The ledger and what the player sees of it.
struct Snapshot {
  std::vector<std::string> counters;
  ReagentCounts used{};
  std::vector<int32_t> casts;
  std::string panel;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(TForm_Main& form) {
  Snapshot s;
  for (int r = 0; r < kReagentCount; ++r) s.counters.push_back(form.NumEdit(r).Text());
  s.used = form.ReagentUsed;
  for (const TSpell& spell : form.Spells) s.casts.push_back(spell.CastCount);
  s.panel = form.Panel1->Caption();
  return s;
}

void SetAllCounters(TForm_Main& form, int32_t n) {
  form.BackpackReagent.fill(n);
  form.WriteCounters();
}

std::unique_ptr<TForm_Main> MakeForm() {
  auto form = std::make_unique<TForm_Main>();
  form->Create();
  return form;
}

// Posted messages arrive in order: once `post`'s effect shows, everything posted before it is in.
bool PumpUntil(const std::function<bool()>& condition) {
  return harness::WaitUntil(condition, 10000);
}

TEST(NoAssistant, ReportsAreIgnoredAndCountingIsOff) {
  auto form = MakeForm();
  EXPECT_EQ(form->Assistant.AssistantWindow(), nullptr);
  EXPECT_FALSE(form->Assistant.Api().Linked());
  EXPECT_FALSE(form->SpeedButton_Count->Enabled());
  const Snapshot before = Take(*form);
  SendMessageA(form->hwnd(), kAssistReagentCountMessage, 2, 40);
  SendMessageA(form->hwnd(), kAssistSpellCastMessage, 1, 0);
  SendMessageA(form->hwnd(), kApiCounterMessage, 2, 40);
  form->SpeedButton_CountClick();
  EXPECT_EQ(Take(*form), before);
  EXPECT_FALSE(form->Timer_CountReagent->Enabled());
}

// ---------------------------------------------------------------- the published API

class PublishedApi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Answered 2 at first, as for a window registered before: the form must ask again.
    assistant_ =
        new FakeAssistant("api", "inside", "1=5,2=6,3=7,4=8,5=9,6=10,7=11,8=12,100=99", true);
    form_ = MakeForm().release();
  }
  static void TearDownTestSuite() {
    delete form_;
    delete assistant_;
  }
  static FakeAssistant* assistant_;
  static TForm_Main* form_;
};
FakeAssistant* PublishedApi::assistant_ = nullptr;
TForm_Main* PublishedApi::form_ = nullptr;

TEST_F(PublishedApi, RegistersAtCreationAskingAgainAfterTheToggle) {
  const std::vector<std::string> expected = {FakeAssistant::RegisterLine(form_->hwnd(), 2),
                                             FakeAssistant::RegisterLine(form_->hwnd(), 1)};
  EXPECT_EQ(assistant_->Log(), expected);
  EXPECT_TRUE(form_->Assistant.Api().Linked());
  EXPECT_EQ(form_->Assistant.AssistantWindow(),
            nullptr);  // so casts from the bar are booked by Quillorb
  EXPECT_TRUE(form_->SpeedButton_Count->Enabled());
  EXPECT_EQ(form_->Panel1->Caption(), " Assistant linked");
}

TEST_F(PublishedApi, CounterChangesReachTheirCountersAndOthersAreIgnored) {
  struct Case {
    WPARAM id;
    LPARAM count;
    int reagent;  // -1: no counter changes
    const char* shown;
  };
  const Case cases[] = {
      {1, 21, 1, "21"},
      {2, 22, 0, "22"},
      {3, 23, 2, "23"},
      {4, 24, 3, "24"},
      {5, 25, 4, "25"},
      {6, 26, 5, "26"},
      {7, 27, 6, "27"},
      {8, 28, 7, "28"},
      {2, 1500, 0, "999"},
      {2, -3, 0, "0"},
      {2, LPARAM{1} << 40, 0, "999"},
      {0, 50, -1, ""},
      {9, 50, -1, ""},
      {100, 50, -1, ""},
      {(WPARAM{1} << 32) | 2, 50, -1, ""},
  };
  for (const Case& c : cases) {
    SetAllCounters(*form_, 1);
    Snapshot before = Take(*form_);
    // A cast report of the API and a count of the other protocol, neither of which books.
    assistant_->Command(standin::kCmdApiCast, 1);
    SendMessageA(form_->hwnd(), kAssistReagentCountMessage, 2, 500);
    ASSERT_EQ(assistant_->Command(standin::kCmdApiCount, c.id, c.count), 1);
    // A change of the sentinel GL (id 3) to 555 shows when everything before it was handled.
    assistant_->Command(standin::kCmdApiCount, c.reagent == 2 ? 4 : 3, 555);
    const int sentinel = c.reagent == 2 ? 3 : 2;
    ASSERT_TRUE(PumpUntil([&] { return form_->NumEdit(sentinel).Text() == "555"; }));
    before.counters[static_cast<size_t>(sentinel)] = "555";
    if (c.reagent >= 0) before.counters[static_cast<size_t>(c.reagent)] = c.shown;
    EXPECT_EQ(Take(*form_), before) << "id " << c.id << " count " << c.count;
  }
}

TEST_F(PublishedApi, CountButtonAsksForARecount) {
  SetAllCounters(*form_, 0);
  form_->SpeedButton_CountClick();
  EXPECT_EQ(assistant_->Log().back(), "RECOUNT");
  ASSERT_TRUE(PumpUntil([&] { return form_->NumEdit(7).Text() == "12"; }));
  const char* expected[] = {"6", "5", "7", "8", "9", "10", "11", "12"};
  for (int r = 0; r < kReagentCount; ++r) EXPECT_EQ(form_->NumEdit(r).Text(), expected[r]);
  EXPECT_TRUE(form_->SpeedButton_Count->Enabled());
  EXPECT_FALSE(form_->Timer_CountReagent->Enabled());
}

TEST_F(PublishedApi, UnlinkingRemovesTheRegistration) {
  form_->UnlinkAssistant();
  EXPECT_EQ(assistant_->Log().back(), FakeAssistant::RegisterLine(form_->hwnd(), 2));
  EXPECT_FALSE(form_->Assistant.Api().Linked());
  SetAllCounters(*form_, 1);
  SendMessageA(form_->hwnd(), kApiCounterMessage, 2, 40);
  EXPECT_EQ(form_->NumEdit(0).Text(), "1");
}

// ---------------------------------------------------------------- the count request and reports

class AssistantProtocol : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Both windows: the visible one wins and nothing registers.
    assistant_ = new FakeAssistant("both", "inside", "2=40,1=12,8=30,7=31,9=77");
    form_ = MakeForm().release();
    assistant_->Command(standin::kCmdSetTarget, reinterpret_cast<WPARAM>(form_->hwnd()));
  }
  static void TearDownTestSuite() {
    delete form_;
    delete assistant_;
  }
  void TearDown() override { form_->Timer_CountReagent->SetInterval(5000); }

  // Puts the form into the counting state as a click does, without asking the assistant.
  static void StartCounting() {
    assistant_->Command(standin::kCmdSetAnswer, standin::kAnswerNever);
    form_->SpeedButton_CountClick();
  }
  static void Tick(int times) {
    for (int i = 0; i < times; ++i) form_->Timer_CountReagentTimer();
  }
  static bool Counting() {
    return !form_->SpeedButton_Count->Enabled() && form_->Timer_CountReagent->Enabled();
  }

  static FakeAssistant* assistant_;
  static TForm_Main* form_;
};
FakeAssistant* AssistantProtocol::assistant_ = nullptr;
TForm_Main* AssistantProtocol::form_ = nullptr;

TEST_F(AssistantProtocol, FoundAtCreationWithoutRegistering) {
  EXPECT_EQ(form_->Assistant.AssistantWindow(), assistant_->Window());
  EXPECT_FALSE(form_->Assistant.Api().Linked());
  EXPECT_TRUE(assistant_->Log().empty());
  EXPECT_TRUE(form_->SpeedButton_Count->Enabled());
  EXPECT_FALSE(form_->Timer_CountReagent->Enabled());
}

TEST_F(AssistantProtocol, CountCodesSetTheirCountersAndEveryCountFinishes) {
  struct Case {
    WPARAM code;
    LPARAM count;
    bool post;
    int reagent;  // -1: no counter changes
    const char* shown;
  };
  const Case cases[] = {
      {2, 40, false, 0, "40"},
      {1, 41, true, 1, "41"},
      {8, 42, false, 6, "42"},
      {7, 43, true, 7, "43"},
      {3, 44, false, 2, "44"},
      {4, 45, true, 3, "45"},
      {5, 46, false, 4, "46"},
      {6, 47, true, 5, "47"},
      {2, 1500, false, 0, "999"},
      {2, -7, true, 0, "0"},
      {2, (LPARAM{1} << 32) | 5, false, 0, "999"},
      {9, 48, false, -1, ""},
      {0, 48, true, -1, ""},
      {(WPARAM{1} << 32) | 2, 48, false, -1, ""},
  };
  for (const Case& c : cases) {
    SetAllCounters(*form_, 3);
    StartCounting();
    Snapshot expected = Take(*form_);
    expected.panel = kFinished;
    if (c.reagent >= 0) expected.counters[static_cast<size_t>(c.reagent)] = c.shown;
    assistant_->Command(c.post ? standin::kCmdPostCount : standin::kCmdSendCount, c.code, c.count);
    ASSERT_TRUE(PumpUntil([] { return form_->Panel1->Caption() == kFinished; }));
    EXPECT_EQ(Take(*form_), expected) << "code " << c.code << " count " << c.count;
    EXPECT_TRUE(form_->SpeedButton_Count->Enabled());
    EXPECT_FALSE(form_->Timer_CountReagent->Enabled());
  }
}

TEST_F(AssistantProtocol, CastReportsBookWithoutTouchingTheUndoRecord) {
  struct Case {
    WPARAM number;
    bool post;
    int spell;  // -1: nothing is booked
  };
  const Case cases[] = {{1, false, 0},
                        {64, true, 63},
                        {0, false, -1},
                        {65, false, -1},
                        {(WPARAM{1} << 32) | 1, false, -1},
                        {11, false, -1}};
  form_->Spells[10].InSpellBook = false;  // number 11: not in the spellbook, not booked
  form_->UndoSpell = 5;
  form_->UndoLastWasCast = false;
  for (const Case& c : cases) {
    SetAllCounters(*form_, 3);
    Snapshot expected = Take(*form_);
    if (c.spell >= 0) {
      const TSpell& spell = form_->Spells[static_cast<size_t>(c.spell)];
      ASSERT_NE(spell.Reagent, ReagentCounts{});
      for (size_t r = 0; r < kReagentCount; ++r) {
        expected.counters[r] = std::to_string(std::max(0, 3 - spell.Reagent[r]));
        expected.used[r] += spell.Reagent[r];
      }
      ++expected.casts[static_cast<size_t>(c.spell)];
    }
    assistant_->Command(c.post ? standin::kCmdPostCast : standin::kCmdSendCast, c.number);
    if (c.post) {
      ASSERT_TRUE(PumpUntil([&] { return Take(*form_).casts == expected.casts; }));
    }
    EXPECT_EQ(Take(*form_), expected) << "number " << c.number;
    EXPECT_EQ(form_->UndoSpell, 5);
    EXPECT_FALSE(form_->UndoLastWasCast);
  }
  form_->Spells[10].InSpellBook = true;
}

// Counts the texts given to the counters on this thread while it lives.
class CounterTextCount {
 public:
  CounterTextCount() {
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
  }
  ~CounterTextCount() { UnhookWindowsHookEx(hook_); }
  static inline int count = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    const int id = GetDlgCtrlID(m->hwnd);
    if (code == HC_ACTION && m->message == WM_SETTEXT && id >= kIdNumEditFirst &&
        id < kIdNumEditFirst + kReagentCount) {
      ++count;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  HHOOK hook_;
};

TEST_F(AssistantProtocol, ABurstOfPostedReportsShowsItsOutcomeOnceAfterIt) {
  SetAllCounters(*form_, 3);
  const TSpell& spell = form_->Spells[0];
  Snapshot expected = Take(*form_);
  expected.panel = kFinished;
  int changed = 0;
  for (size_t r = 0; r < kReagentCount; ++r) {
    const int32_t n = std::max(0, (r == 0 ? 19 : 3) - spell.Reagent[r]);
    expected.counters[r] = std::to_string(n);
    expected.used[r] += spell.Reagent[r];
    changed += n != 3;
  }
  ++expected.casts[0];
  CounterTextCount texts;
  CounterTextCount::count = 0;
  for (int n = 10; n < 20; ++n) PostMessageA(form_->hwnd(), kAssistReagentCountMessage, 2, n);
  PostMessageA(form_->hwnd(), kAssistSpellCastMessage, 1, 0);
  ASSERT_TRUE(PumpUntil([&] { return Take(*form_) == expected; }));
  EXPECT_EQ(CounterTextCount::count, changed);  // not once per report
}

TEST_F(AssistantProtocol, AnswerInsideTheRequestIsFinishedWhenTheClickReturns) {
  SetAllCounters(*form_, 0);
  assistant_->Command(standin::kCmdSetAnswer, standin::kAnswerInside);
  form_->SpeedButton_CountClick();
  // No message handled since: all of this happened inside the request.
  EXPECT_EQ(assistant_->Log().back(), "REQUEST");
  EXPECT_EQ(form_->Panel1->Caption(), kFinished);
  EXPECT_TRUE(form_->SpeedButton_Count->Enabled());
  EXPECT_FALSE(form_->Timer_CountReagent->Enabled());
  const char* shown[] = {"40", "12", "0", "0", "0", "0", "30", "31"};
  for (int r = 0; r < kReagentCount; ++r) EXPECT_EQ(form_->NumEdit(r).Text(), shown[r]);
}

TEST_F(AssistantProtocol, AnswerAfterTheRequestFinishesWhenItArrives) {
  SetAllCounters(*form_, 0);
  assistant_->Command(standin::kCmdSetAnswer, standin::kAnswerLater);
  form_->SpeedButton_CountClick();
  EXPECT_EQ(form_->Panel1->Caption(), kWorking);
  EXPECT_TRUE(Counting());
  ASSERT_TRUE(PumpUntil([] { return form_->NumEdit(7).Text() == "31"; }));
  EXPECT_EQ(form_->NumEdit(0).Text(), "40");
  EXPECT_EQ(form_->Panel1->Caption(), kFinished);
  EXPECT_FALSE(Counting());
}

TEST_F(AssistantProtocol, UnansweredCountGivesTheButtonBackOnTheThirteenthTick) {
  // Driven by hand first (the real timer is far off), then by a short real interval.
  form_->Timer_CountReagent->SetInterval(600000);
  StartCounting();
  Tick(12);
  EXPECT_TRUE(Counting());
  Tick(1);
  EXPECT_FALSE(Counting());
  EXPECT_EQ(form_->Panel1->Caption(), kWorking);

  form_->Timer_CountReagent->SetInterval(5);
  StartCounting();
  EXPECT_TRUE(Counting());
  ASSERT_TRUE(PumpUntil([] { return !Counting(); }));
  EXPECT_EQ(form_->Assistant.CountTicks(), 0);
}

TEST_F(AssistantProtocol, ReportsWhileTheDangerQuestionIsOpenKeepTheLedgerWhole) {
  standin::FakeClient client;
  form_->TabSet1->SetTabIndex(4);  // page "  1 ": slot s holds spell s
  form_->SpeedButton_Inscription->SetDown(false);
  form_->Spells[1].Danger = true;
  const TSpell& reported = form_->Spells[0];
  for (const int answer : {IDOK, IDCANCEL}) {
    SetAllCounters(*form_, 3);
    form_->UndoSpell = 5;
    form_->UndoLastWasCast = false;
    // While the question is open: a count of 40 Black Pearl, then a report of a cast of spell 0.
    Snapshot expected = Take(*form_);
    expected.panel = kFinished;
    for (size_t r = 0; r < kReagentCount; ++r) {
      expected.counters[r] = std::to_string(std::max(0, (r == 0 ? 40 : 3) - reported.Reagent[r]));
      expected.used[r] += reported.Reagent[r];
    }
    ++expected.casts[0];
    std::thread answerer([&] {
      HWND dialog = nullptr;
      harness::WaitUntil([&] {
        dialog = FindWindowA(kDangerDialogClass, nullptr);
        return dialog && IsWindowVisible(dialog);
      });
      assistant_->Command(standin::kCmdSendCount, 2, 40);
      assistant_->Command(standin::kCmdSendCast, 1);
      const RECT r = harness::WindowRectOf(GetDlgItem(dialog, answer));
      harness::Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    });
    form_->CastSlot(1);
    answerer.join();
    // Yes: the keys went to the client and the assistant will book the cast; No: nothing more.
    EXPECT_EQ(Take(*form_), expected) << (answer == IDOK ? "Yes" : "No");
    EXPECT_EQ(form_->UndoSpell, answer == IDOK ? 1 : 5);
  }
  form_->Spells[1].Danger = false;
  form_->TabSet1->SetTabIndex(0);
}

// ---------------------------------------------------------------- an assistant ended and restarted

// Every cast is booked exactly once, counted in casts and reagents: while the assistant is there
// by its report (the bar books nothing), while it is gone by the bar (a stray report books
// nothing), and once a new assistant is there by the new one's reports again.
TEST(AssistantRestart, EveryCastIsBookedOnceWithTheAssistantPresentGoneAndBack) {
  auto assistant = std::make_unique<FakeAssistant>("part", "inside", "2=40");
  auto form = MakeForm();
  standin::FakeClient client;
  form->TabSet1->SetTabIndex(4);  // page "  1 ": slot s holds spell s
  form->SpeedButton_Inscription->SetDown(false);
  SetAllCounters(*form, 500);
  const ReagentCounts used = form->ReagentUsed;
  const TSpell& spell = form->Spells[0];
  auto aim = [&] {
    assistant->Command(standin::kCmdSetTarget, reinterpret_cast<WPARAM>(form->hwnd()));
  };
  auto expectBooked = [&](int casts, const char* when) {
    EXPECT_EQ(spell.CastCount, casts) << when;
    for (size_t r = 0; r < kReagentCount; ++r) {
      EXPECT_EQ(form->ReagentUsed[r], used[r] + casts * spell.Reagent[r]) << when << " " << r;
    }
  };
  aim();
  form->CastSlot(0);
  expectBooked(0, "present: the bar");
  assistant->Command(standin::kCmdSendCast, 1);
  assistant->Command(standin::kCmdSendCast, 1);  // one cast from the game's own spellbook
  expectBooked(2, "present: the reports");

  const HWND first = assistant->Window();
  assistant.reset();
  ASSERT_TRUE(harness::WaitUntil([&] { return !IsWindow(first); }));
  form->CastSlot(0);
  expectBooked(3, "gone: the bar");
  SendMessageA(form->hwnd(), kAssistSpellCastMessage, 1, 0);
  expectBooked(3, "gone: a stray report");

  assistant = std::make_unique<FakeAssistant>("part", "inside", "2=40");
  aim();
  form->SpeedButton_CountClick();
  EXPECT_EQ(assistant->Log(), std::vector<std::string>{"REQUEST"});
  EXPECT_EQ(form->NumEdit(0).Text(), "40");
  form->CastSlot(0);
  expectBooked(3, "back: the bar");
  EXPECT_EQ(form->Assistant.AssistantWindow(), assistant->Window());
  assistant->Command(standin::kCmdSendCast, 1);
  expectBooked(4, "back: the report");
  form->TabSet1->SetTabIndex(0);
}

// Reports booked while the configuration or the bank dialog is open stay booked when it closes
// with OK: the dialogs give back only what the player changed in them.
std::function<void()>* g_insideDialog = nullptr;

void CALLBACK RunInsideDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_insideDialog) (*g_insideDialog)();
}

TEST(AssistantRestart, ReportsWhileADialogIsOpenStayBookedAfterItsOk) {
  FakeAssistant assistant("part");
  auto form = MakeForm();
  assistant.Command(standin::kCmdSetTarget, reinterpret_cast<WPARAM>(form->hwnd()));
  SetAllCounters(*form, 50);
  const TSpell& spell = form->Spells[0];
  const struct {
    const char* dialogClass;
    std::function<void()> open;
  } dialogs[] = {{"TForm_Config", [&] { form->SpeedButton_ConfigClick(); }},
                 {"TBankReagentDialog", [&] { form->SpeedButton_bankClick(); }}};
  int casts = 0;
  for (const auto& dialog : dialogs) {
    const Snapshot before = Take(*form);
    bool ran = false;
    std::function<void()> inside = [&] {
      HWND open = FindWindowA(dialog.dialogClass, nullptr);
      ASSERT_NE(open, nullptr);
      for (int i = 0; i < 5; ++i) assistant.Command(standin::kCmdSendCast, 1);
      SendMessageA(GetDlgItem(open, IDOK), BM_CLICK, 0, 0);
      ran = true;
    };
    g_insideDialog = &inside;
    SetTimer(nullptr, 0, 1, &RunInsideDialog);
    dialog.open();
    g_insideDialog = nullptr;
    ASSERT_TRUE(ran) << dialog.dialogClass;
    casts += 5;
    EXPECT_EQ(spell.CastCount, casts) << dialog.dialogClass;
    for (size_t r = 0; r < kReagentCount; ++r) {
      EXPECT_EQ(form->ReagentUsed[r], before.used[r] + 5 * spell.Reagent[r]) << dialog.dialogClass;
      EXPECT_EQ(form->NumEdit(static_cast<int>(r)).Text(),
                std::to_string(std::max(0, std::stoi(before.counters[r]) - 5 * spell.Reagent[r])))
          << dialog.dialogClass << " " << r;
    }
  }
}

}  // namespace
}  // namespace quillorb

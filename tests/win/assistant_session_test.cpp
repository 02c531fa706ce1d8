// The assistant session on its own, with a host that records what it is asked: which calls the
// count request, its time-out and the reports make, in which order, and what is ignored. The main
// window's side of it (counters, button, timer, a real assistant in another process) is tested in
// assistant_test.cpp.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "client/assistant_session.h"

namespace quillorb {
namespace {

class RecordingHost final : public AssistantHost {
 public:
  void TakeReportedCount(int reagent, int32_t count) override {
    log.push_back("count " + std::to_string(reagent) + "=" + std::to_string(count));
  }
  void BookReportedCast(int index) override { log.push_back("book " + std::to_string(index)); }
  void ShowCounting(bool counting) override { log.push_back(counting ? "counting" : "idle"); }
  void ShowStatus(const char* text) override { log.push_back(text); }
  // What was asked since the last call.
  std::vector<std::string> Take() { return std::exchange(log, {}); }
  std::vector<std::string> log;
};

// A visible window of the own protocol in this process; it answers the count request with 0.
HWND MakeAssistantWindow() {
  return CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "UOAssist - session test",
                         WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

using Log = std::vector<std::string>;

TEST(AssistantSession, WithoutAnAssistantNothingReachesTheHost) {
  RecordingHost host;
  AssistantSession session(host);
  EXPECT_FALSE(session.Link(nullptr));
  session.RequestCount();
  session.CountTimerTick();
  session.OnReagentCount(2, 40);
  session.OnSpellCast(1);
  session.OnCounterChanged(2, 40);
  EXPECT_EQ(host.Take(), Log{});
  EXPECT_EQ(session.ReportingWindow(), nullptr);
}

TEST(AssistantSession, OwnProtocolFromRequestToTimeOutAndReportsWhileTheWindowIsThere) {
  RecordingHost host;
  AssistantSession session(host);
  HWND assistant = MakeAssistantWindow();
  ASSERT_TRUE(session.Link(nullptr));
  EXPECT_EQ(session.AssistantWindow(), assistant);
  EXPECT_EQ(host.Take(), Log{});

  // Counting is shown before the request goes out, so an answer inside it finishes it.
  session.RequestCount();
  EXPECT_EQ(host.Take(), (Log{"counting", " Reagent Count... Working"}));
  for (int i = 1; i < kCountTimeoutTicks; ++i) session.CountTimerTick();
  EXPECT_EQ(host.Take(), Log{});
  session.CountTimerTick();
  EXPECT_EQ(host.Take(), Log{"idle"});
  EXPECT_EQ(session.CountTicks(), 0);

  // Every count gets its whole time-out, however early the one before was answered.
  session.RequestCount();
  for (int i = 0; i < 5; ++i) session.CountTimerTick();
  session.OnReagentCount(9, 0);  // an unknown code still ends the count
  EXPECT_EQ(host.Take(),
            (Log{"counting", " Reagent Count... Working", "idle", " Reagent Count... Finished"}));
  session.RequestCount();
  for (int i = 1; i < kCountTimeoutTicks; ++i) session.CountTimerTick();
  EXPECT_EQ(host.Take(), (Log{"counting", " Reagent Count... Working"}));
  session.CountTimerTick();
  EXPECT_EQ(host.Take(), Log{"idle"});

  // Reports: codes crossed as the protocol has them, counts clamped into 32 bits, spell numbers
  // 1..64; the published API's counters are not listened to in this protocol.
  session.OnReagentCount(1, LPARAM{1} << 40);
  session.OnSpellCast(64);
  session.OnSpellCast(65);
  session.OnCounterChanged(2, 40);
  EXPECT_EQ(host.Take(),
            (Log{"count 1=2147483647", "idle", " Reagent Count... Finished", "book 63"}));

  // Gone: casts are no longer the assistant's to book, and a stray report books nothing.
  DestroyWindow(assistant);
  EXPECT_EQ(session.ReportingWindow(), nullptr);
  session.OnSpellCast(1);
  session.RequestCount();
  EXPECT_EQ(host.Take(), Log{});
}

}  // namespace
}  // namespace quillorb

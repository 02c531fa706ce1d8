// quillorb.exe beside the stand-in assistant: a whole run with the published assistant API, and a
// flood of hostile messages from another process (this one), after which every number on screen
// and in the saved profile must still lie in its range.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "client/assistant_link.h"
#include "model/ini_file.h"
#include "model/profile.h"
#include "tests/harness/folder_test.h"
#include "tests/harness/harness.h"
#include "tests/win/assistant_standin.h"
#include "win/handles.h"

namespace {

using harness::Quillorb;
using standin::FakeAssistant;

constexpr int kIdPanel = 100;
constexpr int kIdFirstCounter = 110;

class AssistantRun : public harness::FolderTest {
 protected:
  AssistantRun() : FolderTest("assist") {}

  static std::string Counter(const Quillorb& app, int r) {
    return harness::WindowText(app.Control(kIdFirstCounter + r));
  }
  static bool WaitForCounter(const Quillorb& app, int r, const std::string& text) {
    return harness::WaitUntil([&] { return Counter(app, r) == text; }, 30000);
  }

  struct Saved {
    quillorb::ProfileSettings settings;
    quillorb::SpellTable spells{};
  };
  Saved ReadSaved() const {
    Saved saved;
    quillorb::IniDocument ini(harness::ReadFile(folder_ + "quillorb.ini"));
    quillorb::ReadProfile(ini, saved.settings, saved.spells, '.');
    return saved;
  }

  // Sends `count` random messages to Quillorb's window (31 in 32 posted: a message sent from
  // another process costs Wine a round trip of its own), then posts three counts through
  // `sentinel` and waits until all three show, so that every posted message was handled (one
  // count alone could be met on the way: the flood sets and books counts at random). Checks the
  // counters on the way and at the end; returns them.
  std::vector<std::string> Flood(const Quillorb& app, int count, unsigned seed, UINT sentinel) {
    std::mt19937_64 random(seed);
    const DWORD start = GetTickCount();
    auto below = [&](uint64_t n) { return random() % n; };
    const UINT reports[] = {quillorb::kAssistReagentCountMessage, quillorb::kAssistSpellCastMessage,
                            quillorb::kApiCounterMessage};
    auto checkCounters = [&] {
      for (int r = 0; r < 8; ++r) {
        const std::string text = Counter(app, r);
        const long n = std::strtol(text.c_str(), nullptr, 10);
        EXPECT_TRUE(!text.empty() && n >= 0 && n <= 999) << "counter " << r << ": " << text;
      }
    };
    // The messages go in chunks while Quillorb's thread is held, so that they queue up as from a
    // fast sender (one message at a time, Quillorb would repaint after nearly each of them and the
    // run would take minutes); the chunk's sent messages follow once it runs again.
    const DWORD threadId = GetWindowThreadProcessId(app.Window(), nullptr);
    win::Handle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId));
    EXPECT_TRUE(thread) << "cannot hold Quillorb's thread";
    struct Message {
      UINT msg;
      WPARAM wp;
      LPARAM lp;
    };
    constexpr int kChunk = 2000;  // well below the 10,000 messages a Windows queue holds
    for (int first = 0; first < count; first += kChunk) {
      std::vector<Message> posted, sent;
      for (int i = first; i < std::min(count, first + kChunk); ++i) {
        const uint64_t kind = below(10);
        const UINT msg = kind < 8 ? reports[kind % 3] : static_cast<UINT>(WM_USER + below(0x7C00));
        // Small numbers hit the tables and the ranges' edges; the rest is anything at all.
        const auto wp = static_cast<WPARAM>(below(2) ? below(70) : random());
        const auto lp = static_cast<LPARAM>(below(3) == 0 ? static_cast<int64_t>(below(4000)) - 2000
                                            : below(2) == 0 ? static_cast<int32_t>(random())
                                                            : static_cast<int64_t>(random()));
        (below(32) != 0 ? posted : sent).push_back({msg, wp, lp});
      }
      if (thread) SuspendThread(thread.get());
      // From two threads: each post waits for a round trip to the wineserver, and two senders
      // keep it busy.
      auto post = [&](size_t from, size_t to) {
        for (size_t k = from; k < to; ++k) {
          PostMessageA(app.Window(), posted[k].msg, posted[k].wp, posted[k].lp);
        }
      };
      std::thread half(post, 0, posted.size() / 2);
      post(posted.size() / 2, posted.size());
      half.join();
      if (thread) ResumeThread(thread.get());
      for (const Message& m : sent) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(app.Window(), m.msg, m.wp, m.lp, SMTO_NORMAL, 10000, &result)) {
          ADD_FAILURE() << "no answer to a message after " << first;
          return {};
        }
      }
      // Worked through before the next chunk: Quillorb runs only between chunks, and a backlog
      // carried on from chunk to chunk would grow to most of the flood, to be worked through
      // within the wait for the last counts below.
      if (!harness::WaitForQueueHandled(app.Window(), 60000)) {
        ADD_FAILURE() << "the messages up to " << first + kChunk << " not handled in a minute";
        return {};
      }
      if (first % 10000 == 0) checkCounters();
    }
    // Counts no earlier run in this folder ended with: the counters may still show the loaded
    // profile's until Quillorb has worked through the flood.
    const int shift = static_cast<int>(seed);
    const struct {
      int reagent;
      std::string count;
    } last[] = {{0, std::to_string(776 + shift)},
                {6, std::to_string(554 + shift)},
                {7, std::to_string(332 + shift)}};
    for (const auto& mark : last) {
      WPARAM code = 0;
      while ((sentinel == quillorb::kApiCounterMessage
                  ? quillorb::ReagentOfApiCounter(code)
                  : quillorb::ReagentOfCountCode(code)) != mark.reagent) {
        ++code;
      }
      PostMessageA(app.Window(), sentinel, code, std::stoi(mark.count));
    }
    EXPECT_TRUE(harness::WaitUntil(
        [&] {
          return std::all_of(std::begin(last), std::end(last), [&](const auto& mark) {
            return Counter(app, mark.reagent) == mark.count;
          });
        },
        30000));
    checkCounters();
    std::printf("%d messages in %lu ms\n", count, GetTickCount() - start);
    std::vector<std::string> counters;
    for (int r = 0; r < 8; ++r) counters.push_back(Counter(app, r));
    return counters;
  }

  // What was saved at shutdown is what was shown, and every count lies in 0..10000.
  void ExpectSavedInRange(const std::vector<std::string>& counters, bool castsBooked) {
    const Saved saved = ReadSaved();
    int32_t casts = 0;
    for (size_t r = 0; r < 8; ++r) {
      EXPECT_EQ(std::to_string(saved.settings.BackpackReagent[r]), counters[r]);
      EXPECT_GE(saved.settings.ReagentUsed[r], 0);
      EXPECT_LE(saved.settings.ReagentUsed[r], 10000);
    }
    for (const quillorb::TSpell& spell : saved.spells) {
      EXPECT_GE(spell.CastCount, 0);
      EXPECT_LE(spell.CastCount, 10000);
      casts += spell.CastCount;
    }
    EXPECT_EQ(casts > 0, castsBooked);
  }
};

TEST_F(AssistantRun, PublishedApiRegistersCountsLiveRecountsAndUnregistersAtShutdown) {
  FakeAssistant assistant("api", "inside", "2=40,7=30,8=31");
  Quillorb app(folder_, true);
  EXPECT_EQ(harness::WindowText(app.Control(kIdPanel)), " Assistant linked");
  EXPECT_EQ(assistant.Log(),
            std::vector<std::string>{FakeAssistant::RegisterLine(app.Window(), 1)});

  assistant.Command(standin::kCmdApiCount, 6, 17);  // Nightshade
  EXPECT_TRUE(WaitForCounter(app, 5, "17"));
  // The Count button, clicked as the player does.
  harness::Click(app.ScreenPoint(244 + 11, 10));
  EXPECT_TRUE(harness::WaitUntil([&] { return assistant.Log().back() == "RECOUNT"; }));
  EXPECT_TRUE(WaitForCounter(app, 7, "31"));
  EXPECT_EQ(Counter(app, 0), "40");
  EXPECT_EQ(Counter(app, 6), "30");

  const HWND window = app.Window();
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(assistant.Log().back(), FakeAssistant::RegisterLine(window, 2));
  const Saved saved = ReadSaved();
  const quillorb::ReagentCounts expected = {40, 0, 0, 0, 0, 17, 30, 31};
  EXPECT_EQ(saved.settings.BackpackReagent, expected);
}

TEST_F(AssistantRun, HostileMessagesKeepEveryNumberInRange) {
  // 60,000 messages while the visible assistant window is there (counts and casts act), then
  // 40,000 in a run linked through the published API (its counter changes act).
  std::vector<std::string> counters;
  {
    FakeAssistant assistant("part", "never");
    Quillorb app(folder_, true);
    counters = Flood(app, 60000, 1, quillorb::kAssistReagentCountMessage);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(app.Close());
  }
  ExpectSavedInRange(counters, true);
  {
    FakeAssistant assistant("api");
    Quillorb app(folder_, true);
    ASSERT_EQ(harness::WindowText(app.Control(kIdPanel)), " Assistant linked");
    counters = Flood(app, 40000, 2, quillorb::kApiCounterMessage);
    ASSERT_FALSE(HasFailure());
    const HWND window = app.Window();
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(assistant.Log().back(), FakeAssistant::RegisterLine(window, 2));
  }
  ExpectSavedInRange(counters, true);  // the first run's casts, kept
}

}  // namespace

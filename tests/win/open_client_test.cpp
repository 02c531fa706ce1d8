// The strip beside the open-source game client (an SDL window) and the assistant-API windows in its
// process: the client's own window, which shows text but counts nothing, and an assistant loaded
// into the client. Registration follows the client in use, counts and recounts arrive as counter
// changes, a booked cast that leaves few casts is told in the game with its atom deleted once,
// and the chord reaches the client with the left-hand Alt and the layout's key for ','.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/form_main.h"
#include "client/assistant_link.h"
#include "tests/standins/fake_client.h"
#include "tests/win/client_standin.h"

namespace quillorb {
namespace {

using standin::FakeClient;
using Log = std::vector<std::string>;

constexpr char kCountHint[] = "Count";
constexpr char kNoCountsHint[] = "Count: ClassicUO gives no reagent counts";

std::unique_ptr<FakeClient> StartClient(const std::string& apiWindows, int offset = 0) {
  return std::make_unique<FakeClient>(
      "visible", RECT{100 + offset, 80 + offset, 740 + offset, 560 + offset},
      "Bob - ClassicUO - 1.0.0.0", "SDL_app", "fake_client.exe", apiWindows);
}

std::unique_ptr<TForm_Main> MakeForm() {
  auto form = std::make_unique<TForm_Main>();
  form->Create();
  form->Show(SW_SHOWNOACTIVATE);
  return form;
}

std::string Register(HWND window, int answer) {
  char line[64];
  std::snprintf(line, sizeof line, "REGISTER %llX %d",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)), answer);
  return line;
}

// Moves the pointer to and fro between the Count and Bank buttons, as a player reaching for
// them, until `condition` holds. (Over a spell slot the panel would show the spell instead: each
// test parks the pointer first, so that no late report of where an earlier test left it, over the
// strip's slots, comes after the moves.)
bool MouseOverStripUntil(const TForm_Main& form, const std::function<bool()>& condition) {
  int step = 0;
  return harness::WaitUntil(
      [&] {
        POINT at{255, 10 + (++step % 2) * 20};
        ClientToScreen(form.hwnd(), &at);
        harness::MoveMouse(at);
        return condition();
      },
      15000);
}

// The key messages the client received: key, released, extended.
std::vector<std::tuple<WPARAM, bool, bool>> Keys(const std::vector<standin::ClientMessage>& got) {
  std::vector<std::tuple<WPARAM, bool, bool>> keys;
  for (const auto& m : got) {
    if (!standin::IsKeyMessage(m.msg)) continue;
    keys.emplace_back(m.wp, m.msg == WM_KEYUP || m.msg == WM_SYSKEYUP, ((m.lp >> 24) & 1) != 0);
  }
  return keys;
}

// From a client started after the strip to the strip's shutdown: the assistant found by its
// process (not its caption) and registered with, counts live and on Count, a cast with Alt and ','
// booked and warned of in the game, and the registration moved to the client used next and
// removed at the end.
TEST(OpenClient, AssistantInTheClientCountsAndTheWarningShowsInTheGame) {
  harness::ParkMouse();
  auto form = MakeForm();
  EXPECT_FALSE(form->SpeedButton_Count->Enabled());
  auto client = StartClient("own,assistant");
  const HWND main = form->hwnd();
  ASSERT_TRUE(
      MouseOverStripUntil(*form, [&] { return form->Assistant.ClientAssistant().Linked(); }));
  EXPECT_EQ(client->ApiLog(), Log{"assistant " + Register(main, 1)});
  EXPECT_EQ(form->Panel1->Caption(), " Assistant linked");
  EXPECT_TRUE(form->SpeedButton_Count->Enabled());
  EXPECT_EQ(form->SpeedButton_Count->Hint(), kCountHint);

  SendMessageA(client->Window(), standin::kCmdAssistantCount, 6, 3);  // Nightshade
  ASSERT_TRUE(harness::WaitUntil([&] { return form->NumEdit(5).Text() == "3"; }));
  form->SpeedButton_CountClick();
  EXPECT_EQ(client->ApiLog().back(), "assistant RECOUNT");
  ASSERT_TRUE(harness::WaitUntil([&] { return form->NumEdit(7).Text() == "13"; }));
  const char* recounted[] = {"40", "12", "7", "8", "9", "10", "11", "13"};
  for (int r = 0; r < kReagentCount; ++r) EXPECT_EQ(form->NumEdit(r).Text(), recounted[r]) << r;

  // Clumsy (one Blood Moss, one Nightshade) bound to Alt+',' in the game; 3 Nightshade left.
  SendMessageA(client->Window(), standin::kCmdAssistantCount, 6, 3);
  ASSERT_TRUE(harness::WaitUntil([&] { return form->NumEdit(5).Text() == "3"; }));
  TSpell& clumsy = form->Spells[0];
  clumsy.Key = ',';
  clumsy.Alt = true;
  clumsy.Ctrl = clumsy.Shift = false;
  form->TabSet1->SetTabIndex(4);
  form->SpeedButton_Casting->SetDown(false);
  form->SpeedButton_Inscription->SetDown(false);
  client->Mark();
  form->CastSlot(0);
  const std::vector<std::tuple<WPARAM, bool, bool>> chord = {{VK_MENU, false, false},
                                                             {VK_OEM_COMMA, false, false},
                                                             {VK_OEM_COMMA, true, false},
                                                             {VK_MENU, true, false}};
  EXPECT_EQ(Keys(client->InputUpToMarker()), chord);
  EXPECT_EQ(clumsy.CastCount, 1);  // booked here: the assistant's cast reports are not
  EXPECT_EQ(form->NumEdit(5).Text(), "2");
  const std::string warning = "Clumsy: 2 casts left (Nightshade 2)";
  EXPECT_EQ(client->ApiLog().back(), "own TEXT 10025 " + warning);
  EXPECT_EQ(GlobalFindAtomA(warning.c_str()), 0);
  form->SpeedButton_Inscription->SetDown(true);  // booked without the game: told all the same
  form->CastSlot(0);
  EXPECT_EQ(client->ApiLog().back(), "own TEXT 10025 Clumsy: 1 cast left (Nightshade 1)");
  form->WarnCasts = 0;
  form->CastSlot(0);
  EXPECT_EQ(client->ApiLog().back(), "own TEXT 10025 Clumsy: 1 cast left (Nightshade 1)");

  // A second client used next: the registration moves to its assistant, one at a time, so that
  // one character's counts reach the counters.
  auto second = StartClient("own,assistant", 30);
  SetForegroundWindow(second->Window());
  ASSERT_TRUE(MouseOverStripUntil(*form, [&] { return !second->ApiLog().empty(); }));
  EXPECT_EQ(client->ApiLog().back(), "assistant " + Register(main, 2));
  EXPECT_EQ(second->ApiLog(), Log{"assistant " + Register(main, 1)});
  form->UnlinkAssistant();
  EXPECT_EQ(second->ApiLog().back(), "assistant " + Register(main, 2));
  form->TabSet1->SetTabIndex(0);
}

// Only the client's own window: nothing is registered with it, the panel and the Count button say
// that the client gives no counts, and the warning still reaches the game.
TEST(OpenClient, ClientsOwnWindowAloneGivesNoCountsAndSaysSo) {
  harness::ParkMouse();
  auto client = StartClient("own");
  auto form = MakeForm();
  EXPECT_EQ(client->ApiLog(), Log{});
  EXPECT_EQ(form->Panel1->Caption(), kClientGivesNoCounts);
  EXPECT_TRUE(form->SpeedButton_Count->Enabled());
  EXPECT_EQ(form->SpeedButton_Count->Hint(), kNoCountsHint);
  form->Panel1->SetCaption(" Spell Information...");
  form->SpeedButton_CountClick();
  EXPECT_EQ(form->Panel1->Caption(), kClientGivesNoCounts);
  EXPECT_EQ(client->ApiLog(), Log{});
  SendMessageA(form->hwnd(), kApiCounterMessage, 2, 40);  // no registration: not taken
  EXPECT_NE(form->NumEdit(0).Text(), "40");

  form->BackpackReagent = {5, 5, 5, 5, 5, 5, 5, 5};
  form->WriteCounters();
  form->TabSet1->SetTabIndex(4);
  form->SpeedButton_Inscription->SetDown(true);
  form->CastSlot(0);
  EXPECT_EQ(client->ApiLog(), Log{"own TEXT 10025 Clumsy: 4 casts left (Blood Moss 4)"});
  form->TabSet1->SetTabIndex(0);
  form->SpeedButton_Inscription->SetDown(false);

  // The client goes: the button goes off again.
  PostMessageA(client->Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(client->Proc().WaitForExit(10000));
  ASSERT_TRUE(MouseOverStripUntil(*form, [&] { return !form->SpeedButton_Count->Enabled(); }));
  EXPECT_EQ(form->SpeedButton_Count->Hint(), kCountHint);
}

// The text's atom is deleted exactly once whichever window answers, shown or not: the client's own
// window never deletes it, the assistant's does once it has shown it. Another program's reference
// to the same text stays.
TEST(ShowTextInGame, EveryAtomIsDeletedOnceWhicheverWindowAnswers) {
  auto client = StartClient("own,assistant");
  for (const char* kind : {"own", "assistant"}) {
    const HWND window = client->ApiWindow(kind);
    ASSERT_NE(window, nullptr);
    for (const bool loggedIn : {true, false}) {
      SendMessageA(client->Window(), standin::kCmdLogin, loggedIn, 0);
      for (const bool heldElsewhere : {false, true}) {
        const std::string text = std::string("Atom test ") + kind + (loggedIn ? " in" : " out") +
                                 (heldElsewhere ? " held" : "");
        SCOPED_TRACE(text);
        const ATOM held = heldElsewhere ? GlobalAddAtomA(text.c_str()) : 0;
        EXPECT_EQ(ShowTextInGame(window, text, 0x25, std::string(kind) == "assistant"), loggedIn);
        EXPECT_EQ(GlobalFindAtomA(text.c_str()), held);
        if (held) {
          GlobalDeleteAtom(held);
          EXPECT_EQ(GlobalFindAtomA(text.c_str()), 0);
        }
        if (loggedIn) {
          EXPECT_EQ(client->ApiLog().back(), std::string(kind) + " TEXT 10025 " + text);
        }
      }
    }
  }
  EXPECT_FALSE(ShowTextInGame(nullptr, "Atom test none", 0x25, false));
  EXPECT_EQ(GlobalFindAtomA("Atom test none"), 0);
}

}  // namespace
}  // namespace quillorb

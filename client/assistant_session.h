// The session with an assistant program: which protocol is spoken (decided at start), which
// assistant window speaks Quillorb's own protocol now, the Count button's request and its time-out,
// and the assistant's reports. The main window keeps the ledger and the controls; the session
// reaches them only through AssistantHost.
//
// Whether the own protocol is spoken at all is decided at start (an assistant window was there);
// the window itself is renewed while Quillorb runs: an assistant that is ended and started again
// has a new window, and every cast must be booked exactly once, by the assistant's report while a
// window that reports is there, by Quillorb itself while none is.
//
// When neither protocol's assistant is there at start, the session follows the open-source game
// client in use: an assistant loaded into it is registered with as with the published API (and
// the registration moves when the client does); the client's own window alone gives no counts,
// and the Count button says so. Casts are then booked by Quillorb itself. Whatever the protocol,
// text for the player goes to the API window inside the client in use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "client/assistant_link.h"

namespace quillorb {

// `window` is a visible top-level window whose caption begins with kAssistantCaptionPrefix.
bool IsAssistantWindow(HWND window);

// The assistant's window as it is now: `remembered` while it still is one, else the one now there,
// which is remembered from then on; nullptr when none is there (`remembered` then keeps the old
// handle, so that an assistant started again is found) or when none was there at start
// (`remembered` nullptr: the protocol is not spoken in this run).
HWND LiveAssistantWindow(HWND& remembered);

// A count request that gets no answer is given up on this tick of the time-out timer.
inline constexpr int32_t kCountTimeoutTicks = 13;
// The client in use is looked at again, with the windows in its process, at most this often unless
// an action needs it now.
inline constexpr DWORD kFollowClientIntervalMs = 1000;

// What the Count button can do.
enum class CountSource {
  None,        // nothing counts: the button is off
  Assistant,   // an assistant counts
  ClientOnly,  // only the game client's own window is there, and it gives no counts
};
inline constexpr char kClientGivesNoCounts[] = " ClassicUO gives no reagent counts";

// What the session asks of the main window.
class AssistantHost {
 public:
  // The assistant says the backpack holds `count` of reagent `reagent` (0..7).
  virtual void TakeReportedCount(int reagent, int32_t count) = 0;
  // The assistant reports a cast of spell `index` (0..63): book it; the undo record stays.
  virtual void BookReportedCast(int index) = 0;
  // A count request runs (the Count button off, its time-out timer started afresh) or has ended.
  virtual void ShowCounting(bool counting) = 0;
  virtual void ShowStatus(const char* text) = 0;
  // The game client a cast would go to now (nullptr: none).
  virtual HWND GameClient() { return nullptr; }
  // What the Count button can do has changed, while the game client is followed.
  virtual void ShowCountSource(CountSource) {}

 protected:
  ~AssistantHost() = default;
};

class AssistantSession {
 public:
  explicit AssistantSession(AssistantHost& host) : host_(host) {}
  AssistantSession(const AssistantSession&) = delete;
  AssistantSession& operator=(const AssistantSession&) = delete;

  // At start: an assistant window of the own protocol, else a registration of `mainWindow` with
  // the published API, else the game client is followed. True when the Count button does
  // something.
  bool Link(HWND mainWindow);
  // At shutdown: every registration is removed.
  void Unlink();
  // Looks at the game client in use again (at most once a kFollowClientIntervalMs unless `now`):
  // which API windows are in its process, and with which assistant the main window is registered.
  void FollowClient(bool now);

  // The Count button: a recount through the published API or an assistant in the client, the own
  // protocol's request, or the notice that the client gives no counts.
  void RequestCount();
  // A tick of the count request's time-out.
  void CountTimerTick();

  // The assistant's messages to the main window.
  void OnReagentCount(WPARAM wp, LPARAM lp);
  void OnSpellCast(WPARAM wp);
  void OnCounterChanged(WPARAM wp, LPARAM lp);

  // Shows `text` to the player in the game client in use, through the API window inside it (the
  // client's own, else a loaded assistant's); nothing when there is none. `now`: the client was
  // just used, look at it afresh.
  void ShowInGame(const std::string& text, WORD hue, bool now);

  // The assistant window that reports (and books) casts, as it is now; nullptr when none will.
  HWND ReportingWindow() { return LiveAssistantWindow(window_); }
  // The own protocol's window remembered at start (or since renewed); nullptr when not spoken.
  HWND AssistantWindow() const { return window_; }
  // Speaks the own protocol with `window` as if it had been found at start.
  void UseWindow(HWND window) { window_ = window; }
  const AssistantApiLink& Api() const { return api_; }
  // The registration with an assistant loaded into the game client.
  const AssistantApiLink& ClientAssistant() const { return clientApi_; }
  int32_t CountTicks() const { return countTicks_; }

 private:
  void ShowSource();

  AssistantHost& host_;
  HWND window_ = nullptr;
  HWND main_ = nullptr;
  AssistantApiLink api_;    // registered with the published API's window
  int32_t countTicks_ = 0;  // ticks of the running count request
  // Following the game client: whether its assistant counts (neither protocol spoken at start).
  bool followCounts_ = false;
  HWND client_ = nullptr;           // the client in use when last looked at
  ClientApiWindows clientWindows_;  // the API windows in its process
  std::vector<HWND> asked_;         // windows of its process that are no assistant's
  AssistantApiLink clientApi_;      // registered with the assistant loaded into it
  CountSource source_ = CountSource::None;
  DWORD followedAt_ = 0;
  bool followed_ = false;
};

}  // namespace quillorb

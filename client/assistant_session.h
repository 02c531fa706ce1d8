// The session with an assistant program: which protocol is spoken (decided at start), which
// assistant window speaks Quillorb's own protocol now, the Count button's request and its time-out,
// and the assistant's reports. The main window keeps the ledger and the controls; the session
// reaches them only through AssistantHost.
//
// Whether the own protocol is spoken at all is decided at start (an assistant window was there);
// the window itself is renewed while Quillorb runs: an assistant that is ended and started again
// has a new window, and every cast must be booked exactly once, by the assistant's report while a
// window that reports is there, by Quillorb itself while none is.
#pragma once

#include <windows.h>

#include <cstdint>

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

 protected:
  ~AssistantHost() = default;
};

class AssistantSession {
 public:
  explicit AssistantSession(AssistantHost& host) : host_(host) {}
  AssistantSession(const AssistantSession&) = delete;
  AssistantSession& operator=(const AssistantSession&) = delete;

  // At start: an assistant window of the own protocol, else a registration of `mainWindow` with
  // the published API. True when either is spoken (the Count button works).
  bool Link(HWND mainWindow);
  // At shutdown: the published API's registration is removed.
  void Unlink();

  // The Count button: a recount through the published API, or the own protocol's request.
  void RequestCount();
  // A tick of the count request's time-out.
  void CountTimerTick();

  // The assistant's messages to the main window.
  void OnReagentCount(WPARAM wp, LPARAM lp);
  void OnSpellCast(WPARAM wp);
  void OnCounterChanged(WPARAM wp, LPARAM lp);

  // The assistant window that reports (and books) casts, as it is now; nullptr when none will.
  HWND ReportingWindow() { return LiveAssistantWindow(window_); }
  // The own protocol's window remembered at start (or since renewed); nullptr when not spoken.
  HWND AssistantWindow() const { return window_; }
  // Speaks the own protocol with `window` as if it had been found at start.
  void UseWindow(HWND window) { window_ = window; }
  const AssistantApiLink& Api() const { return api_; }
  int32_t CountTicks() const { return countTicks_; }

 private:
  AssistantHost& host_;
  HWND window_ = nullptr;
  AssistantApiLink api_;    // registered with the published API's window
  int32_t countTicks_ = 0;  // ticks of the running count request
};

}  // namespace quillorb

#include "client/assistant_session.h"

#include <cstring>

#include "client/window_link.h"

namespace quillorb {

bool IsAssistantWindow(HWND window) {
  if (!window || !IsWindow(window) || IsWindowVisible(window) != TRUE) return false;
  char caption[256] = {};
  GetWindowTextA(window, caption, 254);
  const size_t length = std::strlen(kAssistantCaptionPrefix);
  return std::strncmp(caption, kAssistantCaptionPrefix, length) == 0;
}

HWND LiveAssistantWindow(HWND& remembered) {
  if (!remembered) return nullptr;
  if (IsAssistantWindow(remembered)) return remembered;
  HWND now = FindWindowByCaptionPrefix(kAssistantCaptionPrefix);
  if (now) remembered = now;
  return now;
}

bool AssistantSession::Link(HWND mainWindow) {
  window_ = FindWindowByCaptionPrefix(kAssistantCaptionPrefix);
  // The published API is used only when no assistant speaks our own protocol.
  if (!window_ && api_.Register(FindAssistantApiWindow(), mainWindow)) {
    host_.ShowStatus(" Assistant linked");
  }
  return window_ != nullptr || api_.Linked();
}

void AssistantSession::Unlink() {
  api_.Unregister();
}

void AssistantSession::RequestCount() {
  if (api_.Linked()) {
    api_.RequestRecount();  // the counts arrive one by one as counter changes
    return;
  }
  HWND assistant = LiveAssistantWindow(window_);
  if (!assistant) return;
  // Every request gets the whole time-out, however early the previous one was answered.
  countTicks_ = 0;
  host_.ShowCounting(true);
  // Said before asking: an assistant that answers inside the request has finished by its return.
  host_.ShowStatus(" Reagent Count... Working");
  RequestReagentCount(assistant);
}

void AssistantSession::CountTimerTick() {
  if (++countTicks_ < kCountTimeoutTicks) return;
  host_.ShowCounting(false);
  countTicks_ = 0;
}

void AssistantSession::OnReagentCount(WPARAM wp, LPARAM lp) {
  if (!window_) return;
  const int r = ReagentOfCountCode(wp);
  if (r >= 0) host_.TakeReportedCount(r, CountOfParam(lp));  // the counter clamps to 0..999
  host_.ShowCounting(false);
  host_.ShowStatus(" Reagent Count... Finished");
}

void AssistantSession::OnSpellCast(WPARAM wp) {
  const int i = SpellOfCastNumber(wp);
  // Booked only while an assistant window is there: without one a cast from the bar is booked
  // by Quillorb itself (ReportingWindow), and booking a report as well would count it twice.
  if (i < 0 || !LiveAssistantWindow(window_)) return;
  host_.BookReportedCast(i);
}

void AssistantSession::OnCounterChanged(WPARAM wp, LPARAM lp) {
  const int r = ReagentOfApiCounter(wp);
  if (!api_.Linked() || r < 0) return;
  host_.TakeReportedCount(r, CountOfParam(lp));
}

}  // namespace quillorb

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
  main_ = mainWindow;
  window_ = FindWindowByCaptionPrefix(kAssistantCaptionPrefix);
  // The published API is used only when no assistant speaks our own protocol.
  if (!window_ && api_.Register(FindAssistantApiWindow(), mainWindow)) {
    host_.ShowStatus(" Assistant linked");
  }
  followCounts_ = !window_ && !api_.Linked();
  FollowClient(true);
  return window_ != nullptr || api_.Linked() || source_ != CountSource::None;
}

void AssistantSession::Unlink() {
  api_.Unregister();
  clientApi_.Unregister();
}

void AssistantSession::FollowClient(bool now) {
  const DWORD tick = GetTickCount();
  if (!now && followed_ && tick - followedAt_ < kFollowClientIntervalMs) return;
  followed_ = true;
  followedAt_ = tick;
  HWND client = host_.GameClient();
  if (!IsOpenClientWindow(client)) client = nullptr;
  if (client != client_) {
    client_ = client;
    asked_.clear();
  }
  clientWindows_ =
      client ? FindClientApiWindows(client, clientWindows_.assistant, asked_) : ClientApiWindows{};
  if (followCounts_ && clientWindows_.assistant != clientApi_.Window()) {
    // One registration at a time: the counts of one character reach the counters.
    clientApi_.Unregister();
    if (clientWindows_.assistant && !clientApi_.Register(clientWindows_.assistant, main_)) {
      asked_.push_back(clientWindows_.assistant);  // it answers, but takes no registration
      clientWindows_.assistant = nullptr;
    }
  }
  ShowSource();
}

void AssistantSession::ShowSource() {
  if (!followCounts_) return;
  const CountSource source = clientApi_.Linked()  ? CountSource::Assistant
                             : clientWindows_.own ? CountSource::ClientOnly
                                                  : CountSource::None;
  if (source == source_) return;
  source_ = source;
  host_.ShowCountSource(source);
  if (source == CountSource::Assistant) host_.ShowStatus(" Assistant linked");
  if (source == CountSource::ClientOnly) host_.ShowStatus(kClientGivesNoCounts);
}

void AssistantSession::RequestCount() {
  if (api_.Linked()) {
    api_.RequestRecount();  // the counts arrive one by one as counter changes
    return;
  }
  if (followCounts_) {
    FollowClient(true);
    if (clientApi_.Linked()) {
      clientApi_.RequestRecount();
    } else if (clientWindows_.own) {
      host_.ShowStatus(kClientGivesNoCounts);
    }
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
  if ((!api_.Linked() && !clientApi_.Linked()) || r < 0) return;
  host_.TakeReportedCount(r, CountOfParam(lp));
}

void AssistantSession::ShowInGame(const std::string& text, WORD hue, bool now) {
  FollowClient(now);
  // The client's own window first: it shows the text whichever assistant is loaded.
  const bool own = clientWindows_.own != nullptr;
  HWND window = own ? clientWindows_.own : clientWindows_.assistant;
  if (window) ShowTextInGame(window, text, hue, !own);
}

}  // namespace quillorb

#include "client/game_window.h"

#include <algorithm>
#include <cstring>

namespace quillorb {
namespace {

// The history that listens to the system's foreground events (one at a time).
ForegroundHistory* g_listening = nullptr;

constexpr size_t kHistoryLength = 16;
// More windows of one class than any player runs clients: the search stops there.
constexpr size_t kMostCandidates = 64;

// The window's caption, at most 255 bytes (a window of another program answers from the system's
// copy of its caption, without a message to its thread).
std::string Caption(HWND window) {
  char caption[256];
  caption[0] = '\0';
  GetWindowTextA(window, caption, static_cast<int>(sizeof caption));
  return caption;
}

bool IsOurs(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

bool IsOpenClient(HWND window) {
  return IsWindowVisible(window) &&
         Caption(window).find(kOpenClientCaptionPart) != std::string::npos;
}

bool HasCaptionPrefix(HWND window, const std::string& prefix) {
  return IsWindowVisible(window) && Caption(window).rfind(prefix, 0) == 0 && !IsOurs(window);
}

// The first top-level window, topmost first, whose caption begins with `prefix`. EnumWindows takes
// the list of windows in one request; walking it with GetWindow would make one per window.
HWND FirstWithCaptionPrefix(const std::string& prefix) {
  struct Search {
    const std::string& prefix;
    HWND found = nullptr;
  } search{prefix};
  EnumWindows(
      [](HWND w, LPARAM context) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(context);
        if (!HasCaptionPrefix(w, s.prefix)) return TRUE;
        s.found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

// The top-level windows of a class, topmost first, that pass `keep`.
template <class Keep>
std::vector<HWND> WindowsOfClass(const char* className, Keep keep) {
  std::vector<HWND> found;
  for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr);
       w && found.size() < kMostCandidates; w = FindWindowExA(nullptr, w, className, nullptr)) {
    if (keep(w)) found.push_back(w);
  }
  return found;
}

// Of `candidates` (topmost first), the one that came to the front last; the topmost when none
// has been seen in front.
HWND UsedLast(const std::vector<HWND>& candidates, const ForegroundHistory* history) {
  if (candidates.empty()) return nullptr;
  HWND best = candidates.front();
  if (!history) return best;
  size_t bestRank = history->Rank(best);
  for (HWND w : candidates) {
    const size_t rank = history->Rank(w);
    if (rank < bestRank) {
      best = w;
      bestRank = rank;
    }
  }
  return best;
}

}  // namespace

ForegroundHistory::ForegroundHistory() {
  if (g_listening) return;
  hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnForeground,
                          0, 0, WINEVENT_OUTOFCONTEXT);
  if (hook_) g_listening = this;
}

ForegroundHistory::~ForegroundHistory() {
  if (hook_) UnhookWinEvent(hook_);
  if (g_listening == this) g_listening = nullptr;
}

void CALLBACK ForegroundHistory::OnForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG,
                                              DWORD, DWORD) {
  if (object == OBJID_WINDOW && g_listening) g_listening->Note(window);
}

void ForegroundHistory::Note(HWND window) {
  if (!window) return;
  if (HWND root = GetAncestor(window, GA_ROOT)) window = root;
  if (!recent_.empty() && recent_.front() == window) return;  // told on every mouse move
  // Gone windows leave; their handles may come back for other windows.
  recent_.erase(std::remove_if(recent_.begin(), recent_.end(),
                               [&](HWND w) { return w == window || !IsWindow(w); }),
                recent_.end());
  recent_.insert(recent_.begin(), window);
  if (recent_.size() > kHistoryLength) recent_.resize(kHistoryLength);
}

size_t ForegroundHistory::Rank(HWND window) const {
  const auto at = std::find(recent_.begin(), recent_.end(), window);
  if (at == recent_.end() || !IsWindow(window)) return kNever;
  return static_cast<size_t>(at - recent_.begin());
}

HWND FindClientWindow(const ClientSearch& search) {
  if (HWND classic =
          UsedLast(WindowsOfClass(kClientWindowClass, [](HWND) { return true; }), search.history)) {
    return classic;
  }
  if (HWND open = UsedLast(WindowsOfClass(kOpenClientWindowClass, IsOpenClient), search.history)) {
    return open;
  }
  const std::string& prefix = search.captionPrefix;
  if (IsBlank(prefix)) return nullptr;
  // Any window of another program. A window the player has had in front wins over every other,
  // and is found without reading the caption of every window on the desktop.
  if (search.history) {
    for (HWND w : search.history->Recent()) {
      if (IsWindow(w) && HasCaptionPrefix(w, prefix)) return w;
    }
  }
  return FirstWithCaptionPrefix(prefix);
}

std::string DescribeClientSearch(const ClientSearch& search) {
  // Short enough for the strip's panel: "UO" for the classic client, as players call it.
  std::string text = std::string("UO, ") + kOpenClientCaptionPart;
  if (!IsBlank(search.captionPrefix)) text += ", \"" + search.captionPrefix + "\"";
  return text;
}

}  // namespace quillorb

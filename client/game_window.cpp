#include "client/game_window.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "client/assistant_link.h"
#include "client/window_link.h"
#include "model/client_caption.h"
#include "win/app.h"
#include "win/handles.h"

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

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

bool IsVisibleOpenClient(HWND window) {
  return IsWindowVisible(window) &&
         Caption(window).find(kOpenClientCaptionPart) != std::string::npos;
}

bool Contains(const std::vector<DWORD>& processes, DWORD process) {
  return std::find(processes.begin(), processes.end(), process) != processes.end();
}

// One pass over the top-level windows, topmost first: the visible ones whose caption begins with
// `prefix`, and the processes that hold an assistant's window. EnumWindows takes the list of
// windows in one request; walking it with GetWindow would make one per window.
struct DesktopScan {
  std::vector<HWND> matches;
  std::vector<DWORD> assistants;
};

bool IsAssistantCaption(const std::string& caption) {
  return caption.starts_with(kAssistantCaptionPrefix) || caption == kAssistantApiWindow;
}

DesktopScan ScanDesktop(const std::string& prefix) {
  struct Context {
    const std::string& prefix;
    DesktopScan scan;
  } context{prefix, {}};
  EnumWindows(
      [](HWND w, LPARAM param) -> BOOL {
        auto& c = *reinterpret_cast<Context*>(param);
        const std::string caption = Caption(w);
        if (IsAssistantCaption(caption)) {
          c.scan.assistants.push_back(ProcessOf(w));
        } else if (caption.starts_with(c.prefix) && IsWindowVisible(w)) {
          c.scan.matches.push_back(w);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&context));
  // The assistant's message window may be a message-only window, which EnumWindows does not list.
  if (HWND api = FindWindowExA(HWND_MESSAGE, nullptr, kAssistantApiWindow, nullptr)) {
    context.scan.assistants.push_back(ProcessOf(api));
  }
  return std::move(context.scan);
}

// The file name of the program that runs `process`; empty when it cannot be read.
std::wstring ProgramFileName(DWORD process) {
  win::Handle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  if (!handle) return {};
  wchar_t path[MAX_PATH * 2];
  DWORD size = static_cast<DWORD>(std::size(path));
  if (!QueryFullProcessImageNameW(handle.get(), 0, path, &size)) return {};
  const std::wstring_view full(path, size);
  const size_t slash = full.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? full : full.substr(slash + 1));
}

bool SameFileName(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                            static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
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

// The processes that draw an SDL window: game clients, in which an assistant may run (the open
// client makes the assistant's message window itself), whatever their caption says.
std::vector<DWORD> SdlProcesses() {
  std::vector<DWORD> processes;
  for (HWND w : WindowsOfClass(kOpenClientWindowClass, [](HWND) { return true; })) {
    processes.push_back(ProcessOf(w));
  }
  return processes;
}

// A window the player has had in front, with the caption, of the program the player confirmed:
// found without reading the caption of every window on the desktop. The assistant's processes are
// not looked for here: a program the player confirmed was never one (the confirmation is only
// asked for a window the whole search found, which leaves them out).
FoundClient FindTrustedInHistory(const ClientSearch& search, const std::wstring& trusted) {
  if (!search.history || trusted.empty()) return {};
  const DWORD self = GetCurrentProcessId();
  for (HWND w : search.history->Recent()) {
    if (!IsWindow(w) || !IsWindowVisible(w)) continue;
    const std::string caption = Caption(w);
    if (!caption.starts_with(search.captionPrefix) || IsAssistantCaption(caption)) continue;
    const DWORD process = ProcessOf(w);
    if (process == self) continue;
    std::wstring program = ProgramFileName(process);
    if (SameFileName(program, trusted)) return {w, false, std::move(program)};
  }
  return {};
}

// The window found by its caption: of another program than Quillorb or an assistant; the trusted
// program's first, else any, which then needs the player's confirmation.
FoundClient FindByCaption(const ClientSearch& search) {
  const std::wstring trusted = win::AnsiToWide(search.trustedProgram);
  if (FoundClient recent = FindTrustedInHistory(search, trusted); recent.window) return recent;
  const DesktopScan scan = ScanDesktop(search.captionPrefix);
  const std::vector<DWORD> clients =
      scan.assistants.empty() ? std::vector<DWORD>{} : SdlProcesses();
  const DWORD self = GetCurrentProcessId();
  std::vector<FoundClient> candidates;
  for (HWND w : scan.matches) {
    const DWORD process = ProcessOf(w);
    if (process == self) continue;
    if (Contains(scan.assistants, process) && !Contains(clients, process)) continue;
    std::wstring program = ProgramFileName(process);
    const bool confirmed = SameFileName(program, trusted);
    candidates.push_back({w, !confirmed, std::move(program)});
  }
  for (const bool confirmation : {false, true}) {
    std::vector<HWND> windows;
    for (const FoundClient& c : candidates) {
      if (c.needsConfirmation == confirmation) windows.push_back(c.window);
    }
    if (HWND best = UsedLast(windows, search.history)) {
      return *std::find_if(candidates.begin(), candidates.end(),
                           [&](const FoundClient& c) { return c.window == best; });
    }
  }
  return {};
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

FoundClient FindClient(const ClientSearch& search) {
  const auto visible = [](HWND w) { return IsWindowVisible(w) != FALSE; };
  if (HWND classic = UsedLast(WindowsOfClass(kClientWindowClass, visible), search.history)) {
    return {classic, false, {}};
  }
  if (HWND open =
          UsedLast(WindowsOfClass(kOpenClientWindowClass, IsVisibleOpenClient), search.history)) {
    return {open, false, {}};
  }
  if (SearchesByCaption(search.captionPrefix)) {
    if (FoundClient found = FindByCaption(search); found.window) return found;
  }
  // A hidden classic client, found as it always was: casting refuses a window it cannot show.
  return {UsedLast(WindowsOfClass(kClientWindowClass, [](HWND) { return true; }), search.history),
          false,
          {}};
}

HWND FindClientWindow(const ClientSearch& search) {
  const FoundClient found = FindClient(search);
  return found.needsConfirmation ? nullptr : found.window;
}

std::string DescribeClientSearch(const ClientSearch& search) {
  // Short enough for the strip's panel: "UO" for the classic client, as players call it.
  std::string text = std::string("UO, ") + kOpenClientCaptionPart;
  if (SearchesByCaption(search.captionPrefix)) text += ", \"" + search.captionPrefix + "\"";
  return text;
}

}  // namespace quillorb

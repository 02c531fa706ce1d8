#include "client/assistant_link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "client/game_window.h"

namespace quillorb {
namespace {

// Index = code - 1.
constexpr std::array<int, 8> kCountCodeReagent = {1, 0, 2, 3, 4, 5, 7, 6};
constexpr std::array<int, 8> kApiCounterReagent = {1, 0, 2, 3, 4, 5, 6, 7};

int FromTable(const std::array<int, 8>& table, WPARAM code) {
  return code >= 1 && code <= table.size() ? table[code - 1] : -1;
}

// SendMessage that gives up on an assistant that hangs; 0 when it did.
LRESULT SendToAssistant(HWND assistant, UINT msg, WPARAM wp, LPARAM lp, bool& answered) {
  DWORD_PTR result = 0;
  answered = SendMessageTimeoutA(assistant, msg, wp, lp, SMTO_ABORTIFHUNG, kAssistantSendTimeoutMs,
                                 &result) != 0;
  return answered ? static_cast<LRESULT>(result) : 0;
}

// How long a window in the game client's process may take to answer before it counts as not
// answering: the question comes with a mouse move or a cast, when the player waits for nothing.
constexpr UINT kClientWindowAskTimeoutMs = 500;
constexpr UINT kTextTimeoutMs = 2000;
constexpr size_t kMaxAtomText = 255;

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

bool HasClass(HWND window, const char* className) {
  char name[64] = {};
  GetClassNameA(window, name, static_cast<int>(sizeof name));
  return std::strcmp(name, className) == 0;
}

bool InOpenClientProcess(HWND window) {
  const DWORD process = ProcessOf(window);
  for (HWND w = FindWindowExA(nullptr, nullptr, kOpenClientWindowClass, nullptr); w;
       w = FindWindowExA(nullptr, w, kOpenClientWindowClass, nullptr)) {
    if (ProcessOf(w) == process) return true;
  }
  return false;
}

// Whether `window` answers the API's question for the game window it serves with `client`. The
// answer is a 32-bit number: window handles fit in it.
bool Serves(HWND window, HWND client) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, kApiClientWindowMessage, 0, 0, SMTO_ABORTIFHUNG,
                           kClientWindowAskTimeoutMs, &answer)) {
    return false;
  }
  return static_cast<uint32_t>(answer) ==
         static_cast<uint32_t>(reinterpret_cast<uintptr_t>(client));
}

// `text` cut to what a global atom holds, never inside a double-byte character.
std::string AtomText(const std::string& text) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t next =
        end + (IsDBCSLeadByte(static_cast<BYTE>(text[end])) && end + 1 < text.size() ? 2 : 1);
    if (next > kMaxAtomText) break;
    end = next;
  }
  return text.substr(0, end);
}

// Whether `atom` still stands for `text` (compared as the atom table compares, without regard to
// case): then it is the one added for it, and the reference added is still there.
bool AtomHolds(ATOM atom, const std::string& text) {
  return GlobalFindAtomA(text.c_str()) == atom;
}

}  // namespace

int ReagentOfCountCode(WPARAM code) {
  return FromTable(kCountCodeReagent, code);
}

int ReagentOfApiCounter(WPARAM id) {
  return FromTable(kApiCounterReagent, id);
}

int SpellOfCastNumber(WPARAM number) {
  return number >= 1 && number <= 64 ? static_cast<int>(number) - 1 : -1;
}

int32_t CountOfParam(LPARAM count) {
  using Limits = std::numeric_limits<int32_t>;
  return static_cast<int32_t>(
      std::clamp<LPARAM>(count, LPARAM{Limits::min()}, LPARAM{Limits::max()}));
}

bool RequestReagentCount(HWND assistant) {
  if (!assistant || !IsWindow(assistant)) return false;
  bool answered = false;
  SendToAssistant(assistant, kAssistCountRequestMessage, 0, 0, answered);
  return answered;
}

HWND FindAssistantApiWindow() {
  // The open-source client's own window takes no registration that would give anything.
  for (HWND w = FindWindowExA(nullptr, nullptr, kAssistantApiWindow, kAssistantApiWindow); w;
       w = FindWindowExA(nullptr, w, kAssistantApiWindow, kAssistantApiWindow)) {
    if (!InOpenClientProcess(w)) return w;
  }
  return nullptr;
}

bool IsOpenClientWindow(HWND window) {
  return window && IsWindow(window) && HasClass(window, kOpenClientWindowClass);
}

ClientApiWindows FindClientApiWindows(HWND client, HWND known, std::vector<HWND>& asked) {
  struct Search {
    HWND client;
    HWND known;
    std::vector<HWND>& asked;
    DWORD process;
    ClientApiWindows found;
  } search{client, known, asked, ProcessOf(client), {}};
  if (!IsOpenClientWindow(client) || !search.process) return {};
  EnumWindows(
      [](HWND w, LPARAM context) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(context);
        if (w == s.client || ProcessOf(w) != s.process) return TRUE;
        if (HasClass(w, kAssistantApiWindow)) {
          if (!s.found.own) s.found.own = w;
        } else if (!s.found.assistant && IsWindowVisible(w)) {
          if (w == s.known) {
            s.found.assistant = w;
          } else if (std::find(s.asked.begin(), s.asked.end(), w) == s.asked.end()) {
            if (Serves(w, s.client)) {
              s.found.assistant = w;
            } else {
              s.asked.push_back(w);
            }
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ShowTextInGame(HWND window, const std::string& text, WORD hue, bool deletesShown) {
  const std::string shown = AtomText(text);
  if (!window || shown.empty()) return false;
  const ATOM atom = GlobalAddAtomA(shown.c_str());
  if (!atom) return false;
  DWORD_PTR result = 0;
  const bool answered =
      SendMessageTimeoutA(window, kApiDisplayTextMessage, WPARAM{hue} | kApiSystemText, atom,
                          SMTO_ABORTIFHUNG, kTextTimeoutMs, &result) != 0;
  const bool shownInGame = answered && result == 1;
  // The check that the atom still stands for the text keeps an atom number given meanwhile to
  // another text (after a window deleted ours unannounced) from being deleted.
  if (!(shownInGame && deletesShown) && AtomHolds(atom, shown)) GlobalDeleteAtom(atom);
  return shownInGame;
}

bool AssistantApiLink::Register(HWND assistant, HWND mainWindow) {
  if (!assistant || !mainWindow) return false;
  const auto wp = reinterpret_cast<WPARAM>(mainWindow);
  bool answered = false;
  LRESULT result = SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  if (answered && result == kApiUnregistered) {
    result = SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  }
  if (!answered || result != kApiRegistered) return false;
  assistant_ = assistant;
  main_ = mainWindow;
  return true;
}

void AssistantApiLink::Unregister() {
  if (!assistant_) return;
  const HWND assistant = assistant_;
  assistant_ = nullptr;
  if (!IsWindow(assistant)) return;
  const auto wp = reinterpret_cast<WPARAM>(main_);
  bool answered = false;
  const LRESULT result = SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  // 1: the assistant had lost the registration and has just made it again; undo that.
  if (answered && result == kApiRegistered) {
    SendToAssistant(assistant, kApiRegisterMessage, wp, 0, answered);
  }
}

void AssistantApiLink::RequestRecount() const {
  if (!assistant_ || !IsWindow(assistant_)) return;
  bool answered = false;
  SendToAssistant(assistant_, kApiRecountMessage, 0, 0, answered);
}

}  // namespace quillorb

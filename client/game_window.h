// Finding the game client among the windows a player has open: the classic client by its window
// class; the open-source client most players run today, an SDL window whose caption holds
// "ClassicUO" ("ClassicUO - <version>" before login, "<character> - ClassicUO - <version>" after);
// and any other client by the start of its caption, as the player names it in the configuration,
// once the player has confirmed its program. With several clients open, the one the player used
// last is the one that gets the keys.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quillorb {

inline constexpr char kClientWindowClass[] = "Ultima Online";
inline constexpr char kOpenClientWindowClass[] = "SDL_app";
inline constexpr char kOpenClientCaptionPart[] = "ClassicUO";

// The order in which top-level windows came to the front, most recent first. Under Wine the
// Z order does not follow activation (the window created last stays on top), so it is learnt from
// the system's foreground events (a WinEvent hook of this thread, called out of context while the
// thread waits for messages; only the history created first listens), and from what the owner
// tells it with Note: Wine sends no foreground events, so the main window notes the window in
// front whenever a click is about to activate it (WM_MOUSEACTIVATE: the player's game window is
// still in front then) and whenever it loses the activation.
class ForegroundHistory {
 public:
  ForegroundHistory();
  ~ForegroundHistory();
  ForegroundHistory(const ForegroundHistory&) = delete;
  ForegroundHistory& operator=(const ForegroundHistory&) = delete;

  // `window` (or the top-level window that owns it) came to the front.
  void Note(HWND window);
  // 0 for the window that came to the front last, 1 for the one before, ...; kNever for a window
  // not seen in front (or gone since).
  size_t Rank(HWND window) const;
  static constexpr size_t kNever = static_cast<size_t>(-1);
  // The windows seen in front, most recent first (some may be gone).
  const std::vector<HWND>& Recent() const { return recent_; }

 private:
  static void CALLBACK OnForeground(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                    LONG child, DWORD thread, DWORD time);
  HWINEVENTHOOK hook_ = nullptr;
  std::vector<HWND> recent_;  // most recent first, a few entries
};

// What the player's game client is looked for by.
struct ClientSearch {
  // The start of the client's caption, from the configuration; looked for only when it can name
  // a client (SearchesByCaption, model/client_caption.h).
  std::string captionPrefix;
  // Which window the player used last, when several match; nullptr: the topmost wins.
  const ForegroundHistory* history = nullptr;
  // The file name of the program the player confirmed as the game client (ANSI, compared without
  // regard to case); empty: none.
  std::string trustedProgram{};
};

// The game client's window as FindClient found it.
struct FoundClient {
  HWND window = nullptr;
  // Found by its caption alone, in a program the player has not confirmed as the game: no key
  // may go there before the player says so.
  bool needsConfirmation = false;
  // For a window found by its caption: its program's file name ("shardclient.exe"); empty when it
  // cannot be read.
  std::wstring program;
};

// The game client's window, in this order: a visible window of the classic client's class; a
// visible SDL window whose caption contains "ClassicUO"; a visible top-level window whose caption
// begins with the search's caption prefix; a hidden window of the classic client's class (which
// gets no keys: casting checks that). Among several windows of the first kind found, the one that
// came to the front last; windows never seen in front rank after those, topmost first.
//
// By its caption, only a window of another program is taken: never one of Quillorb's own process,
// one whose caption begins with "UOAssist", the assistant's message window, nor one of a process
// that holds such an assistant window (unless that process draws an SDL window: a game client, in
// which an assistant may run). A window of the trusted program wins over other windows found by
// caption (one the player had in front is found without reading every window's caption); any
// other needs the player's confirmation.
FoundClient FindClient(const ClientSearch& search = {});

// FindClient's window when it needs no confirmation; nullptr otherwise.
HWND FindClientWindow(const ClientSearch& search = {});

// What FindClient looks for, in a player's words: `UO, ClassicUO, "<prefix>"` (the prefix only
// when it is looked for).
std::string DescribeClientSearch(const ClientSearch& search);

}  // namespace quillorb

// Finding the game client among the windows a player has open: the classic client by its window
// class; the open-source client most players run today, an SDL window whose caption holds
// "ClassicUO" ("ClassicUO - <version>" before login, "<character> - ClassicUO - <version>" after);
// and any other client by the start of its caption, as the player names it in the configuration.
// With several clients open, the one the player used last is the one that gets the keys.
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
  // The start of the client's caption, from the configuration; blank: not looked for.
  std::string captionPrefix;
  // Which window the player used last, when several match; nullptr: the topmost wins.
  const ForegroundHistory* history = nullptr;
};

// The game client's window, or nullptr. In this order: a window of the classic client's class;
// else a visible SDL window whose caption contains "ClassicUO"; else a visible top-level window of
// another program whose caption begins with the search's caption prefix. Among several windows of
// the first kind found, the one that came to the front last; windows never seen in front rank
// after those, topmost first.
HWND FindClientWindow(const ClientSearch& search = {});

// What FindClientWindow looks for, in a player's words: `UO, ClassicUO, "<prefix>"`.
std::string DescribeClientSearch(const ClientSearch& search);

}  // namespace quillorb

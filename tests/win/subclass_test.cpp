// Chains of subclasses on one window, ours and someone else's, driven with sent messages: who sees
// a message in which order, and when the window gets its own procedure back.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "win/subclass.h"

namespace quillorb {
namespace {

constexpr UINT kProbe = WM_APP + 1;
std::string g_log;

LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe) g_log += 'W';
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Someone else's subclass, swapped in by hand.
WNDPROC g_foreignNext = nullptr;
LRESULT CALLBACK ForeignProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe) g_log += 'F';
  return CallWindowProcW(g_foreignNext, hwnd, msg, wp, lp);
}

class Recorder : public win::Subclass {
 public:
  explicit Recorder(char name) : name_(name) {}

 protected:
  LRESULT OnSubclassMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kProbe) g_log += name_;
    return CallNext(hwnd, msg, wp, lp);
  }
  void OnWindowGone() override { g_log += std::string("~") + name_; }

 private:
  char name_;
};

HWND MakeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &OwnProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuillorbSubclassProbe";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

TEST(Subclass, MessagesGoDownTheChainFromTheLastInstalled) {
  struct Case {
    const char* steps;  // +X installs, -X removes (F: someone else's, by hand)
    const char* seen;   // who sees a message, in order (W: the window's own procedure)
    bool ownProcBack;   // after that message, the window's procedure is its own again
  };
  const Case cases[] = {
      {"+A +B", "BAW", false},
      {"+A +B -B -A", "W", true},
      {"+A +B -A", "BW", false},
      {"+A +B -A +A", "ABW", false},
      {"+A +F +B", "FBAW", false},  // B joins ours, below someone
                                    // else's
      {"+A +F -A", "FW", false},    // ours stays in their chain, handing on
      {"+A +F -A -F", "W", true},   // once theirs has gone, ours goes after the next message
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.steps);
    const HWND hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    const LONG_PTR own = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    std::map<char, Recorder> ours;
    for (char name : {'A', 'B'}) ours.try_emplace(name, name);
    for (const char* s = c.steps; *s; s += (s[2] ? 3 : 2)) {
      const bool install = s[0] == '+';
      if (s[1] == 'F') {
        if (install) {
          g_foreignNext = reinterpret_cast<WNDPROC>(
              SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
        } else {
          SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_foreignNext));
        }
      } else if (install) {
        ours.at(s[1]).Install(hwnd);
      } else {
        ours.at(s[1]).Remove();
      }
    }
    g_log.clear();
    SendMessageW(hwnd, kProbe, 0, 0);
    EXPECT_EQ(g_log, c.seen);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == own, c.ownProcBack);
    DestroyWindow(hwnd);
  }
}

TEST(Subclass, AWindowThatGoesTakesEverySubclassOutAndTellsIt) {
  const HWND hwnd = MakeWindow();
  Recorder a('A');
  Recorder b('B');
  a.Install(hwnd);
  b.Install(hwnd);
  g_log.clear();
  DestroyWindow(hwnd);
  EXPECT_EQ(g_log, "~B~A");
  EXPECT_FALSE(a.Installed());
  EXPECT_FALSE(b.Installed());
  // Their destruction later touches no window (under the heap checks).
}

}  // namespace
}  // namespace quillorb

// Click to game: from a left click on a program's window until the last key of Ctrl+Shift+5
// reaches the stand-in game client, for quillorb.exe (a click on a spell slot holding Magic Arrow:
// the client is brought to the front and proven to be there before any key is typed) and for
// bare_caster.exe (the same keys typed right after SetForegroundWindow, unchecked), side by side
// in one run: the two programs are clicked in turn, each click spaced past the double-click time
// from the one before on the same program.
//
// The client is a window of class "Ultima Online" on a thread of this program; it notes the time
// each key message arrives. Clicks are real input (SendInput).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/bench_win.h"

namespace {

constexpr int kRounds = 31;
constexpr int kKeys = 6;  // Ctrl, Shift, 5 down; 5, Shift, Ctrl up
constexpr WPARAM kExpected[kKeys] = {VK_CONTROL, VK_SHIFT, '5', '5', VK_SHIFT, VK_CONTROL};

// ------------------------------------------------------------------ the stand-in client

std::atomic<int> g_keys{0};
std::atomic<int> g_side{0};  // the program clicked last: 0 bare, 1 quillorb
std::atomic<bool> g_keysInOrder[2] = {true, true};
std::atomic<double> g_lastKeyUs{0};
HANDLE g_allKeys = nullptr;  // set when the sixth key of a cast has arrived

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
      const double now = bench::NowUs();
      const int n = g_keys++;
      if (n >= kKeys || kExpected[n] != wParam) g_keysInOrder[g_side] = false;
      if (n + 1 == kKeys) {
        g_lastKeyUs = now;
        SetEvent(g_allKeys);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

DWORD WINAPI ClientThread(void* ready) {
  bench::RegisterWindowClass("Ultima Online", ClientProc,
                             reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  HWND window = CreateWindowExA(0, "Ultima Online", "Ultima Online", WS_OVERLAPPEDWINDOW, 100, 250,
                                640, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetEvent(static_cast<HANDLE>(ready));
  bench::RunMessageLoop();
  return 0;
}

// ------------------------------------------------------------------ the programs and the clicks

// The first visible top-level window of `className` that belongs to `pid`.
HWND WaitForWindow(const char* className, DWORD pid) {
  for (int tries = 0; tries < 3000; ++tries) {
    if (HWND w = bench::VisibleWindowOf(className, pid)) return w;
    Sleep(5);
  }
  throw std::runtime_error(std::string("no window of class ") + className);
}

void SendMouseAt(POINT at, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// A left click at `at` (the cursor is moved there first, untimed); the time from the press until
// the client has all six keys, in milliseconds, or a negative value when they did not all come.
double TimedClick(POINT at) {
  SendMouseAt(at, 0);
  for (int tries = 0; tries < 400; ++tries) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x == at.x && now.y == at.y) break;
    Sleep(5);
  }
  g_keys = 0;
  ResetEvent(g_allKeys);
  const double t0 = bench::NowUs();
  SendMouseAt(at, MOUSEEVENTF_LEFTDOWN);
  SendMouseAt(at, MOUSEEVENTF_LEFTUP);
  const bool all = WaitForSingleObject(g_allKeys, 3000) == WAIT_OBJECT_0;
  // Anything after the sixth key would be a fault of its own: give it a moment to show.
  Sleep(30);
  if (!all || g_keys != kKeys) return -1 - g_keys;
  return (g_lastKeyUs - t0) / 1000.0;
}

POINT ClientPoint(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  return p;
}

int Run(const std::string& quillorbExe) {
  g_allKeys = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE clientThread = CreateThread(nullptr, 0, ClientThread, ready, 0, nullptr);
  WaitForSingleObject(ready, 5000);
  // The X pointer parked in a corner once, so that only SendInput moves Wine's cursor.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);

  // Quillorb in a folder of its own: Magic Arrow (Ctrl+Shift+5) in the first slot of page A, no
  // spellcasting words, reagents enough for every cast.
  const std::string folder = bench::NewTempFolder("click");
  bench::CopyOrThrow(quillorbExe, folder + "quillorb.exe");
  bench::CopyOrThrow(bench::BinDir() + "spells.txt", folder + "spells.txt");
  bench::WriteOrThrow(folder + "quillorb.ini",
                      "[Reagent]\r\nReagent6=999\r\n[UserSpell]\r\nSpell00=4\r\n"
                      "[Config]\r\nEnableSpellCasting=0\r\nTop=0\r\nLeft=0\r\n");
  PROCESS_INFORMATION quillorb = bench::StartProgram("\"" + folder + "quillorb.exe\"", folder);
  PROCESS_INFORMATION bare =
      bench::StartProgram("\"" + bench::BinDir() + "bare_caster.exe\" 800 0", "");
  HWND strip = WaitForWindow("TForm_Main", quillorb.dwProcessId);
  HWND bareWindow = WaitForWindow("QuillorbBareCaster", bare.dwProcessId);
  const POINT slot = ClientPoint(strip, 270 + 12, 12);
  const POINT bareSpot = ClientPoint(bareWindow, 100, 20);

  std::vector<double> times[2];  // [bare, quillorb]
  int failed[2] = {};
  int bookedWithoutKeys = 0;
  // Each program's clicks are spaced past the double-click time from its own click before (a
  // round that waited for lost keys takes longer than that, and must not shorten the next gap).
  const DWORD spacing = GetDoubleClickTime() + 50;
  DWORD lastClick[2] = {GetTickCount() - spacing, GetTickCount() - spacing};
  for (int round = -1; round < kRounds; ++round) {  // round -1 warms up
    for (int side = 0; side < 2; ++side) {
      while (GetTickCount() - lastClick[side] < spacing) Sleep(10);
      lastClick[side] = GetTickCount();
      char before[32] = {}, after[32] = {};
      SendMessageA(GetDlgItem(strip, 116), WM_GETTEXT, sizeof before,
                   reinterpret_cast<LPARAM>(before));  // Sulfurous Ash
      g_side = side;
      const double ms = TimedClick(side == 0 ? bareSpot : slot);
      SendMessageA(GetDlgItem(strip, 116), WM_GETTEXT, sizeof after,
                   reinterpret_cast<LPARAM>(after));
      if (round < 0) continue;
      if (ms < 0) {
        ++failed[side];
        if (side == 1) {
          // A click that sent nothing must book nothing either: the one fault this bench fails on.
          if (std::atoi(after) != std::atoi(before)) ++bookedWithoutKeys;
          char panel[256] = {};
          GetWindowTextA(GetDlgItem(strip, 100), panel, sizeof panel);
          std::printf(
              "  a click on the slot: %d keys reached the client; Sulfurous Ash %s -> %s; the "
              "strip says \"%s\"\n",
              -1 - static_cast<int>(ms), before, after, panel);
        }
      } else {
        times[side].push_back(ms);
      }
    }
  }

  PostMessageA(strip, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(quillorb.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(quillorb.hProcess, 1);
  }
  TerminateProcess(bare.hProcess, 0);
  CloseHandle(quillorb.hProcess);
  CloseHandle(bare.hProcess);
  bench::RemoveFolder(folder);

  const auto b = bench::Summarize(times[0]);
  const auto q = bench::Summarize(times[1]);
  std::printf(
      "Click to the client's last key, %d clicks each, spaced past the double-click time:\n",
      kRounds);
  std::printf("  bare program (no check)     median %6.2f ms (min %.2f, max %.2f), failed %d\n",
              b.median, b.min, b.max, failed[0]);
  std::printf("  quillorb (client in front)  median %6.2f ms (min %.2f, max %.2f), failed %d\n",
              q.median, q.min, q.max, failed[1]);
  const double ratio = b.median > 0 ? q.median / b.median : 0;
  std::printf("  ratio %.2f; target at most 1.3: %s; keys in order: bare %s, quillorb %s\n", ratio,
              bench::Verdict(ratio > 0 && ratio <= 1.3), g_keysInOrder[0] ? "yes" : "NO",
              g_keysInOrder[1] ? "yes" : "NO");
  PostThreadMessageA(GetThreadId(clientThread), WM_QUIT, 0, 0);
  WaitForSingleObject(clientThread, 2000);
  std::printf("  casts booked without all their keys: %d\n", bookedWithoutKeys);
  return bookedWithoutKeys == 0 ? 0 : 1;
}

}  // namespace

// click_bench [quillorb.exe to time, by default the one beside the bench]
int main(int argc, char** argv) {
  try {
    return Run(argc > 1 ? argv[1] : bench::BinDir() + "quillorb.exe");
  } catch (const std::exception& e) {
    std::printf("click_bench: %s\n", e.what());
    return 1;
  }
}

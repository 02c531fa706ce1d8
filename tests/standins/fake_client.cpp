// Stand-in for the game client: a top-level window of class "Ultima Online" (or another class, to
// stand in for other clients, such as the SDL window "SDL_app") that writes every
// keyboard, input-method and activation message it receives to a log file, one line per message,
// flushed at once so that a test can read the log while the program runs. WM_APP + 1 makes it hang
// for wParam milliseconds, like a busy game.
//
//   fake_client.exe <log file> [visible|minimized|hidden] [x y width height] [caption] [class]
//                   [assistant]
//
// "assistant": the process also shows an assistant's window, captioned "UOAssist - in process",
// as a client with an assistant built in does.
//
// A log line: "<order> <message name> <message> <wParam> <lParam>", numbers in hexadecimal except
// the order; the first line is "0 READY <window handle>". WM_IME_CHAR is consumed (not turned into
// WM_CHAR), as a game that reads the input method itself does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/standins/standin_window.h"

namespace {

FILE* g_log = nullptr;
unsigned g_order = 0;

const char* MessageName(UINT msg) {
  switch (msg) {
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_SYSKEYDOWN:
      return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "WM_SYSKEYUP";
    case WM_CHAR:
      return "WM_CHAR";
    case WM_SYSCHAR:
      return "WM_SYSCHAR";
    case WM_DEADCHAR:
      return "WM_DEADCHAR";
    case WM_SYSDEADCHAR:
      return "WM_SYSDEADCHAR";
    case WM_IME_CHAR:
      return "WM_IME_CHAR";
    case WM_ACTIVATE:
      return "WM_ACTIVATE";
    case WM_ACTIVATEAPP:
      return "WM_ACTIVATEAPP";
    case WM_SETFOCUS:
      return "WM_SETFOCUS";
    case WM_KILLFOCUS:
      return "WM_KILLFOCUS";
    default:
      return nullptr;
  }
}

void Log(UINT msg, WPARAM wp, LPARAM lp) {
  const char* name = MessageName(msg);
  if (!name || !g_log) return;
  std::fprintf(g_log, "%u %s %04X %llX %llX\n", ++g_order, name, msg,
               static_cast<unsigned long long>(wp),
               static_cast<unsigned long long>(static_cast<ULONG_PTR>(lp)));
  std::fflush(g_log);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Log(msg, wp, lp);
  switch (msg) {
    case WM_IME_CHAR:
      return 0;
    case WM_APP + 1:  // a test makes the client hang for wParam milliseconds
      Sleep(static_cast<DWORD>(wp));
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return 0;  // no menu activation by Alt: the window keeps its keyboard focus
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  g_log = std::fopen(__argv[1], "w");
  if (!g_log) return 3;
  std::string show = __argc > 2 ? __argv[2] : "visible";
  int x = 100, y = 50, width = 640, height = 480;
  if (__argc > 6) {
    x = std::atoi(__argv[3]);
    y = std::atoi(__argv[4]);
    width = std::atoi(__argv[5]);
    height = std::atoi(__argv[6]);
  }
  const char* caption = __argc > 7 ? __argv[7] : "Ultima Online";
  const char* className = __argc > 8 ? __argv[8] : "Ultima Online";

  HWND hwnd =
      standin::CreateStandinWindow(instance, className, WindowProc, caption, x, y, width, height);
  if (!hwnd) return 5;
  if (__argc > 9 && std::string(__argv[9]) == "assistant") {
    HWND assistant = standin::CreateStandinWindow(instance, "AssistantInProcess", DefWindowProcA,
                                                  "UOAssist - in process", 0, 0, 200, 80);
    if (!assistant) return 6;
    ShowWindow(assistant, SW_SHOWNOACTIVATE);
  }
  // Position and size are the outer rectangle, whatever frame the system gives.
  SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (show == "minimized") {
    ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
  } else if (show != "hidden") {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
  }
  std::fprintf(g_log, "0 READY %llX\n",
               static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
  std::fflush(g_log);

  standin::RunMessageLoop();
  std::fclose(g_log);
  return 0;
}

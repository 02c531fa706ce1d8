// Stand-in for the game client: a top-level window of class "Ultima Online" (or another class, to
// stand in for other clients, such as the SDL window "SDL_app") that writes every
// keyboard, input-method and activation message it receives to a log file, one line per message,
// flushed at once so that a test can read the log while the program runs. Commands: see
// fake_client.h (kCmdHang makes it hang like a busy game).
//
//   fake_client.exe <log file> [visible|minimized|hidden] [x y width height] [caption] [class]
//                   [extras]
//
// A log line: "<order> <message name> <message> <wParam> <lParam>", numbers in hexadecimal except
// the order; the first line is "0 READY <window handle>". WM_IME_CHAR is consumed (not turned into
// WM_CHAR), as a game that reads the input method itself does.
//
// extras, any of "own", "assistant", "uoassist", joined by commas: "own" and "assistant" are the
// assistant-API windows of fake_client.h in this process, a character logged in. Their log lines:
// "<order> API <own|assistant> <event>": "READY <window>", "REGISTER <window> <answer>", "RECOUNT",
// "TEXT <wParam> <text>" (shown). "uoassist": the process also shows an assistant's window,
// captioned "UOAssist - in process", as a client with an assistant built in does.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <algorithm>
#include <vector>

#include "tests/standins/fake_client.h"
#include "tests/standins/standin_window.h"

namespace {

using namespace standin;

FILE* g_log = nullptr;
unsigned g_order = 0;
HWND g_client = nullptr;
HWND g_own = nullptr;
HWND g_assistant = nullptr;
bool g_loggedIn = true;
std::vector<HWND> g_registered[2];  // with the client's own window, with the assistant

void LogLine(const std::string& line) {
  std::fprintf(g_log, "%u %s\n", ++g_order, line.c_str());
  std::fflush(g_log);
}

std::string Hex(unsigned long long n) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX", n);
  return text;
}

std::string Hex(HWND window) {
  return Hex(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
}

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
    case kCmdHang:
      Sleep(static_cast<DWORD>(wp));
      return 0;
    case kCmdAssistantCount:
      for (HWND w : g_registered[1]) PostMessageA(w, kApiCounter, wp, lp);
      return 1;
    case kCmdLogin:
      g_loggedIn = wp != 0;
      return 1;
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

// The API windows: the client's own serves only text (and its registrations give nothing); the
// assistant's serves counts too, and deletes a text's atom once it has shown it, as assistants do.
LRESULT CALLBACK ApiProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const bool assistant = hwnd == g_assistant;
  const std::string kind = assistant ? "API assistant " : "API own ";
  std::vector<HWND>& registered = g_registered[assistant ? 1 : 0];
  switch (msg) {
    case kApiRegister: {
      const auto window = reinterpret_cast<HWND>(wp);
      const auto at = std::find(registered.begin(), registered.end(), window);
      const bool removed = at != registered.end();
      if (removed) {
        registered.erase(at);
      } else {
        registered.push_back(window);
      }
      LogLine(kind + "REGISTER " + Hex(window) + (removed ? " 2" : " 1"));
      return removed ? 2 : 1;
    }
    case kApiRecount:
      LogLine(kind + "RECOUNT");
      if (assistant) {
        for (HWND w : registered) {
          for (const auto& [id, n] : kAssistantRecount) PostMessageA(w, kApiCounter, id, n);
        }
      }
      return 0;
    case kApiDisplayText: {
      char text[256] = {};
      if (!g_loggedIn || !GlobalGetAtomNameA(static_cast<ATOM>(lp), text, sizeof text)) return 0;
      LogLine(kind + "TEXT " + Hex(static_cast<unsigned long long>(wp)) + " " + text);
      if (assistant) GlobalDeleteAtom(static_cast<ATOM>(lp));
      return 1;
    }
    case kApiClientWindow:
      return static_cast<LRESULT>(static_cast<int32_t>(reinterpret_cast<INT_PTR>(g_client)));
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

// Whether the comma-separated `extras` name `extra`.
bool HasExtra(const std::string& extras, const std::string& extra) {
  return ("," + extras + ",").find("," + extra + ",") != std::string::npos;
}

HWND MakeApiWindow(HINSTANCE instance, const char* className, const char* caption, bool visible) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ApiProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  if (!RegisterClassA(&wc)) return nullptr;
  // Beside the strip and clear of the client's usual place.
  HWND w = CreateWindowExA(0, className, caption, WS_OVERLAPPEDWINDOW, 980, 600, 220, 120, nullptr,
                           nullptr, instance, nullptr);
  if (w && visible) ShowWindow(w, SW_SHOWNOACTIVATE);
  return w;
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
  const std::string extras = __argc > 9 ? __argv[9] : "";

  HWND hwnd =
      standin::CreateStandinWindow(instance, className, WindowProc, caption, x, y, width, height);
  if (!hwnd) return 5;
  // Position and size are the outer rectangle, whatever frame the system gives.
  SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (show == "minimized") {
    ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
  } else if (show != "hidden") {
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
  }
  g_client = hwnd;
  if (HasExtra(extras, "uoassist")) {
    HWND assistant = standin::CreateStandinWindow(instance, "AssistantInProcess", DefWindowProcA,
                                                  "UOAssist - in process", 0, 0, 200, 80);
    if (!assistant) return 6;
    ShowWindow(assistant, SW_SHOWNOACTIVATE);
  }
  if (HasExtra(extras, "own")) {
    g_own = MakeApiWindow(instance, "UOASSIST-TP-MSG-WND", "UOASSIST-TP-MSG-WND", false);
    LogLine("API own READY " + Hex(g_own));
  }
  if (HasExtra(extras, "assistant")) {
    // Its caption is the player's to choose: it is found by its process, not by its caption.
    g_assistant = MakeApiWindow(instance, "StandinAssistant", "Bob on Shard (default) - v1", true);
    LogLine("API assistant READY " + Hex(g_assistant));
  }

  std::fprintf(g_log, "0 READY %llX\n",
               static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
  std::fflush(g_log);

  standin::RunMessageLoop();
  std::fclose(g_log);
  return 0;
}

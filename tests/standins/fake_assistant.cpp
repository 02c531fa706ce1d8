// Stand-in for the assistant program, speaking both protocols Quillorb knows:
// - a visible top-level window captioned "UOAssist - stand-in" that answers the count request
//   0x465 with 0x464 reagent counts (inside the request, later by posting, or never);
// - a hidden message window whose class and caption are "UOASSIST-TP-MSG-WND": WM_USER+200
//   toggles the registration of the window in wParam (1 registered, 2 removed), WM_USER+201
//   posts every count as WM_USER+301 to the registered windows, WM_USER+302 is what it posts for
//   a cast.
// Tests command it with the messages of fake_assistant.h.
//
//   fake_assistant.exe <log file> <part|api|both> [inside|later|never] [counts] [stale]
//
// counts: "code=n,code=n,..." sent (0x464) or posted (WM_USER+301) in that order as the answer;
// default "2=40,1=12,3=7,4=8,5=9,6=10,7=11,8=13". stale: the first registration request is
// taken for a window that was registered already (answered 2), as after a crash of its owner.
// Log lines, flushed at once: "<order> READY <window>", "<order> REQUEST", "<order> REGISTER
// <window> <result>", "<order> RECOUNT".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/standins/fake_assistant.h"
#include "tests/standins/standin_window.h"

namespace {

using namespace standin;

constexpr UINT kCountMessage = WM_USER + 100;
constexpr UINT kRequestMessage = WM_USER + 101;
constexpr UINT kCastMessage = WM_USER + 102;
constexpr UINT kAnswerNow = WM_APP + 50;  // the posted answer of kAnswerLater

FILE* g_log = nullptr;
unsigned g_order = 0;
WPARAM g_answer = kAnswerInside;
HWND g_target = nullptr;
bool g_stale = false;
std::vector<std::pair<WPARAM, LPARAM>> g_counts = {{2, 40}, {1, 12}, {3, 7},  {4, 8},
                                                   {5, 9},  {6, 10}, {7, 11}, {8, 13}};
std::vector<HWND> g_registered;

void Log(const std::string& line) {
  std::fprintf(g_log, "%u %s\n", ++g_order, line.c_str());
  std::fflush(g_log);
}

std::string Hex(const void* p) {
  char text[32];
  std::snprintf(text, sizeof text, "%llX",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(p)));
  return text;
}

HWND Target() {
  return g_target ? g_target : FindWindowA("TForm_Main", nullptr);
}

LRESULT SendOrPost(bool post, UINT msg, WPARAM wp, LPARAM lp) {
  HWND target = Target();
  if (!target) return 0;
  if (post) return PostMessageA(target, msg, wp, lp) ? 1 : 0;
  return SendMessageA(target, msg, wp, lp);
}

LRESULT PostToRegistered(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT posted = 0;
  for (HWND w : g_registered) posted += PostMessageA(w, msg, wp, lp) ? 1 : 0;
  return posted;
}

LRESULT Register(HWND window) {
  LRESULT result = 1;
  auto at = std::find(g_registered.begin(), g_registered.end(), window);
  if (g_stale) {
    g_stale = false;
    result = 2;
  } else if (at != g_registered.end()) {
    g_registered.erase(at);
    result = 2;
  } else {
    g_registered.push_back(window);
  }
  Log("REGISTER " + Hex(window) + " " + std::to_string(result));
  return result;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kRequestMessage:
      Log("REQUEST");
      if (g_answer == kAnswerInside) {
        for (const auto& [code, n] : g_counts) SendOrPost(false, kCountMessage, code, n);
      } else if (g_answer == kAnswerLater) {
        PostMessageA(hwnd, kAnswerNow, 0, 0);
      }
      return 0;
    case kAnswerNow:
      for (const auto& [code, n] : g_counts) SendOrPost(true, kCountMessage, code, n);
      return 0;
    case kApiRegister:
      return Register(reinterpret_cast<HWND>(wp));
    case kApiRecount:
      Log("RECOUNT");
      for (const auto& [id, n] : g_counts) PostToRegistered(kApiCounter, id, n);
      return 0;
    case kCmdSendCount:
    case kCmdPostCount:
      return SendOrPost(msg == kCmdPostCount, kCountMessage, wp, lp);
    case kCmdSendCast:
    case kCmdPostCast:
      return SendOrPost(msg == kCmdPostCast, kCastMessage, wp, lp);
    case kCmdApiCount:
      return PostToRegistered(kApiCounter, wp, lp);
    case kCmdApiCast:
      return PostToRegistered(kApiCast, wp, lp);
    case kCmdSetAnswer:
      g_answer = wp;
      return 1;
    case kCmdSetTarget:
      g_target = reinterpret_cast<HWND>(wp);
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

HWND MakeWindow(HINSTANCE instance, const char* className, const char* caption, bool visible) {
  // Clear of the strip, which starts at the top left corner.
  HWND hwnd = CreateStandinWindow(instance, className, WindowProc, caption, 700, 500, 240, 120);
  if (hwnd && visible) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  return hwnd;
}

void ParseCounts(const std::string& text) {
  g_counts.clear();
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(',', at);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(at, end - at);
    const size_t eq = item.find('=');
    if (eq != std::string::npos) {
      g_counts.emplace_back(std::strtoull(item.c_str(), nullptr, 10),
                            std::strtoll(item.c_str() + eq + 1, nullptr, 10));
    }
    at = end + 1;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  g_log = std::fopen(__argv[1], "wb");
  if (!g_log) return 3;
  const std::string windows = __argv[2];
  if (__argc > 3) {
    const std::string answer = __argv[3];
    g_answer = answer == "later" ? kAnswerLater : answer == "never" ? kAnswerNever : kAnswerInside;
  }
  if (__argc > 4 && std::string(__argv[4]) != "-") ParseCounts(__argv[4]);
  g_stale = __argc > 5 && std::string(__argv[5]) == "stale";

  HWND commands = nullptr;
  if (windows == "api" || windows == "both") {
    commands = MakeWindow(instance, "UOASSIST-TP-MSG-WND", "UOASSIST-TP-MSG-WND", false);
  }
  if (windows == "part" || windows == "both") {
    commands = MakeWindow(instance, "FakeAssistant", "UOAssist - stand-in", true);
  }
  if (!commands) return 4;
  Log("READY " + Hex(commands));

  RunMessageLoop();
  std::fclose(g_log);
  return 0;
}

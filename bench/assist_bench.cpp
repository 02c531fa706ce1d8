// Reports from the assistant, in-process under Wine: a count report sent to the main window and
// handled (counters read, one set, counters written, casts-left labels recomputed), with and
// without a change of the counter; a cast report; a counter change of the published API; and how
// many counter texts each report replaces.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/form_main.h"
#include "bench/bench_util.h"
#include "bench/bench_win.h"

namespace {

// Counts the WM_SETTEXT messages that reach the counters while it is installed.
HHOOK g_hook = nullptr;
long g_counterTexts = 0;

LRESULT CALLBACK CountSetText(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->message == WM_SETTEXT &&
      GetDlgCtrlID(m->hwnd) >= quillorb::kIdNumEditFirst &&
      GetDlgCtrlID(m->hwnd) < quillorb::kIdNumEditFirst + quillorb::kReagentCount) {
    ++g_counterTexts;
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

// The published API's message window, in this process: every registration succeeds.
LRESULT CALLBACK ApiWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == quillorb::kApiRegisterMessage) return quillorb::kApiRegistered;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int main() {
  bench::RegisterWindowClass(quillorb::kAssistantApiWindow, ApiWindowProc);
  CreateWindowExA(0, quillorb::kAssistantApiWindow, quillorb::kAssistantApiWindow, WS_OVERLAPPED, 0,
                  0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);

  using bench::NowUs;
  quillorb::TForm_Main form;
  form.Create();
  form.Show(SW_SHOWNOACTIVATE);
  bench::Drain();
  // Linked through the published API at creation; as if the visible assistant window had been
  // found as well, so that both protocols' reports act (a cast report is booked only while that
  // window is there).
  if (!form.Assistant.Api().Linked()) std::printf("assist_bench: not linked\n");
  form.Assistant.UseWindow(CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "UOAssist - bench",
                                           WS_POPUP | WS_VISIBLE, 700, 500, 40, 20, nullptr,
                                           nullptr, GetModuleHandleA(nullptr), nullptr));
  for (auto& spell : form.Spells) spell.Reagent = {1, 1, 0, 0, 1, 0, 1, 0};
  form.BackpackReagent.fill(500);
  form.WriteCounters();

  constexpr int kRounds = 500;
  // Every report finds the counters at 500, so that a cast always changes four of them.
  auto reset = [&] {
    form.BackpackReagent.fill(500);
    form.WriteCounters();
    bench::Drain();
  };
  auto run = [&](const char* what, UINT msg, auto wp, auto lp, double target) {
    for (int i = 0; i < 50; ++i) SendMessageA(form.hwnd(), msg, wp(i), lp(i));  // warm up
    std::vector<double> samples;
    for (int i = 0; i < kRounds; ++i) {
      reset();
      const double t0 = NowUs();
      SendMessageA(form.hwnd(), msg, wp(i), lp(i));
      samples.push_back(NowUs() - t0);
      bench::Drain();  // paints, outside the timing
    }
    // Once more with a hook that counts the counters' texts (a hook slows every message down).
    g_counterTexts = 0;
    g_hook = SetWindowsHookExA(WH_CALLWNDPROC, CountSetText, nullptr, GetCurrentThreadId());
    for (int i = 0; i < kRounds; ++i) {
      UnhookWindowsHookEx(g_hook);
      reset();
      g_hook = SetWindowsHookExA(WH_CALLWNDPROC, CountSetText, nullptr, GetCurrentThreadId());
      SendMessageA(form.hwnd(), msg, wp(i), lp(i));
    }
    UnhookWindowsHookEx(g_hook);
    bench::Drain();
    const auto s = bench::Summarize(samples);
    std::printf("%-36s median %7.1f us (min %.1f, max %.1f); counter texts replaced: %.2f", what,
                s.median, s.min, s.max, static_cast<double>(g_counterTexts) / kRounds);
    if (target > 0)
      std::printf("  target < %.0f us: %s", target, bench::Verdict(s.median < target));
    std::printf("\n");
  };
  // Code 2 (Black Pearl) set to another value than the 500 shown: one counter changes.
  run(
      "count report, one counter changes", quillorb::kAssistReagentCountMessage,
      [](int) { return WPARAM{2}; }, [](int i) { return LPARAM{100 + i % 2}; }, 2000);
  run(
      "count report, nothing changes", quillorb::kAssistReagentCountMessage,
      [](int) { return WPARAM{2}; }, [](int) { return LPARAM{500}; }, 2000);
  run(
      "cast report (four counters change)", quillorb::kAssistSpellCastMessage,
      [](int i) { return WPARAM(1 + i % 64); }, [](int) { return LPARAM{0}; }, 0);
  run(
      "published API counter change", quillorb::kApiCounterMessage, [](int) { return WPARAM{3}; },
      [](int i) { return LPARAM{100 + i % 2}; }, 0);
  return 0;
}

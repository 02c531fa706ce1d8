// The configuration dialog's costs through the main window's Configuration button, in-process
// under Wine: opening it (creation, copy in, FillPages of the grids, first paint: until the modal
// loop is idle) and OK (ApplyPages, copy back, spell bar rebuild, casts-left labels: until the
// panel shows " Spell Information..."). Closing the dialog is not timed (under a bare X server
// Wine waits about 2 s whenever a shown top-level window goes).
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "app/form_main.h"
#include "bench/bench_util.h"
#include "dialogs/form_config.h"

namespace {

double g_start = 0;
double g_opened = 0;
double g_pressed = 0;
double g_applied = 0;

// The panel's caption is the last thing OK changes in the main window.
LRESULT CALLBACK PanelHook(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_SETTEXT && g_pressed > 0 && g_applied == 0) g_applied = bench::NowUs();
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void CALLBACK PressOk(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_opened = bench::NowUs();
  HWND w = FindWindowA(quillorb::kConfigDialogClass, nullptr);
  auto* dialog = dynamic_cast<quillorb::TForm_Config*>(
      reinterpret_cast<win::Window*>(GetWindowLongPtrA(w, GWLP_USERDATA)));
  if (!dialog) return;
  dialog->CreatePage(quillorb::kPageInfo);
  dialog->StringGrid_Info->SetCell(1, 1, "Renamed");
  g_pressed = bench::NowUs();
  dialog->Button1->Press();
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  quillorb::TForm_Main form;
  form.Create();
  form.Show(SW_SHOWNOACTIVATE);
  SetWindowSubclass(form.Panel1->hwnd(), &PanelHook, 1, 0);

  constexpr int kRounds = 6;
  std::vector<double> open, ok;
  for (int i = 0; i < kRounds; ++i) {
    g_opened = g_pressed = g_applied = 0;
    form.Panel1->SetCaption(" ");  // so that OK's caption is a change
    SetTimer(nullptr, 0, 1, &PressOk);
    g_start = bench::NowUs();
    form.SpeedButton_ConfigClick();
    if (g_opened == 0 || g_applied == 0) {
      std::printf("the dialog did not run\n");
      return 1;
    }
    open.push_back((g_opened - g_start) / 1000);
    ok.push_back((g_applied - g_pressed) / 1000);
  }
  RemoveWindowSubclass(form.Panel1->hwnd(), &PanelHook, 1);

  // The phases of one opening, one by one.
  std::vector<double> create, fill, paint, apply;
  for (int i = 0; i < kRounds; ++i) {
    double t0 = bench::NowUs();
    quillorb::TForm_Config dialog(form.hwnd(), quillorb::TForm_Config::Resources{});
    double t1 = bench::NowUs();
    dialog.FillPages();
    double t2 = bench::NowUs();
    ShowWindow(dialog.hwnd(), SW_SHOWNOACTIVATE);
    RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    double t3 = bench::NowUs();
    dialog.ApplyPages();
    double t4 = bench::NowUs();
    create.push_back((t1 - t0) / 1000);
    fill.push_back((t2 - t1) / 1000);
    paint.push_back((t3 - t2) / 1000);
    apply.push_back((t4 - t3) / 1000);
  }
  for (auto [name, series] : {std::pair{"  create + FormCreate", &create},
                              {"  FillPages", &fill},
                              {"  show and paint", &paint},
                              {"  ApplyPages", &apply}}) {
    const auto st = bench::Summarize(*series);
    std::printf("%-36s median %6.1f ms (min %.1f, max %.1f)\n", name, st.median, st.min, st.max);
  }
  const auto o = bench::Summarize(open);
  const auto k = bench::Summarize(ok);
  std::printf(
      "open (create, copy in, fill, paint): median %6.1f ms (min %.1f, max %.1f)  "
      "target < 100 ms: %s\n",
      o.median, o.min, o.max, bench::Verdict(o.median < 100));
  std::printf(
      "OK (apply, copy back, rebuild):      median %6.1f ms (min %.1f, max %.1f)  "
      "target < 20 ms: %s\n",
      k.median, k.min, k.max, bench::Verdict(k.median < 20));
  return 0;
}

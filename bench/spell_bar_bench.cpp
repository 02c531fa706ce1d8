// The spell bar's costs, in-process under Wine: BuildSpellBar (the page shown is composed, the
// others when first shown), a page switch (one 320 x 40 copy; the first showing of a page composes
// it too), and a slot click that books a cast without any client
// (inscription mode), counters and casts-left labels included.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/form_main.h"
#include "bench/bench_util.h"
#include "bench/bench_win.h"

int main() {
  using bench::NowUs;
  quillorb::TForm_Main form;
  form.Create();
  form.Show(SW_SHOWNOACTIVATE);
  bench::Drain();
  for (auto& spell : form.Spells) spell.Reagent = {1, 1, 0, 0, 1, 0, 1, 0};
  form.BackpackReagent = {999, 999, 999, 999, 999, 999, 999, 999};
  form.WriteCounters();
  form.Spells[9].InSpellBook = false;

  constexpr int kRounds = 200;
  std::vector<double> build, page, click;
  for (int i = 0; i < kRounds; ++i) {
    double t0 = NowUs();
    form.BuildSpellBar();
    GdiFlush();
    build.push_back(NowUs() - t0);
  }
  for (int i = 0; i < kRounds; ++i) {
    form.TabSet1->SetTabIndex(i % 12);
    double t0 = NowUs();
    form.PaintBox1->Repaint();
    UpdateWindow(form.hwnd());
    GdiFlush();
    page.push_back(NowUs() - t0);
  }
  form.TabSet1->SetTabIndex(4);
  form.SpeedButton_Inscription->SetDown(true);
  for (int i = 0; i < kRounds; ++i) {
    double t0 = NowUs();
    form.CastSlot(i % 8);
    click.push_back(NowUs() - t0);
    if (form.BackpackReagent[0] < 10) {
      form.BackpackReagent.fill(999);
      form.WriteCounters();
    }
  }
  const auto b = bench::Summarize(build);
  const auto p = bench::Summarize(page);
  const auto c = bench::Summarize(click);
  std::printf(
      "BuildSpellBar:           median %7.1f us (min %.1f, max %.1f)  target < 1000 us: %s\n",
      b.median, b.min, b.max, bench::Verdict(b.median < 1000));
  std::printf("page switch (one blit):  median %7.1f us (min %.1f, max %.1f)\n", p.median, p.min,
              p.max);
  std::printf(
      "slot click, mode 1:      median %7.1f us (min %.1f, max %.1f)  target < 2000 us: %s\n",
      c.median, c.min, c.max, bench::Verdict(c.median < 2000));
  return 0;
}
